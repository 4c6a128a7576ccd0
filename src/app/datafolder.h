#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

// The program's own data (the templates, the page shown while work is in
// progress, the help page) and the working folder that is made from it.
namespace app {

using namespace Qt::Literals::StringLiterals;

inline constexpr QLatin1StringView HelpPage = "A_lire_une_Fois.htm"_L1;

// What a working folder gets from the data when it lacks it.
inline constexpr QLatin1StringView DataEntries[] = {"reserve"_L1, "travaux.html"_L1, HelpPage};

// The data folder of a program whose executable lies in executableFolder: the
// tree is the same wherever it was unpacked, so the data is found from the
// executable alone. "/opt/t/usr/bin" -> "/opt/t/usr/share/tessavo"
QString dataFolder(const QString &executableFolder);

// The working folder to use, as an absolute path without a trailing
// separator: the folder given on the command line (read from the current
// folder when relative); else the current folder when it is a working folder
// already (it holds "reserve"); else the folder "Tessavo" of the home folder,
// which is where a start from the desktop's menu lands.
QString chooseWorkingFolder(const QString &given, const QString &currentFolder, const QString &homeFolder);

// Makes the working folder when it is missing and writes into it each data
// entry it lacks, copied from the data folder; returns the names written. What the working folder holds
// already is never changed: "reserve" is copied whole or not at all, since
// its pictures leave "Cartes" as they are used and must not come back. An
// entry appears complete or not at all. Throws workspace::IoError when the
// data cannot be read or the working folder cannot be written.
QStringList prepareWorkingFolder(const QString &dataFolder, const QString &workingFolder);

} // namespace app
