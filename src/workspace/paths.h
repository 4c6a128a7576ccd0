#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QUrl>

// The folder tree of the working folder. Local paths use the host's separator
// and a folder path ends with it. Every function takes the working folder as
// a parameter; workingFolder() reads it again at each call.
namespace workspace {

using namespace Qt::Literals::StringLiterals;

// Fixed names of the tree.
inline constexpr QLatin1StringView EcoleTxt = "ecole.txt"_L1;
inline constexpr QLatin1StringView TravauxHtml = "travaux.html"_L1;
inline constexpr QLatin1StringView Reserve = "reserve"_L1;
inline constexpr QLatin1StringView Cartes = "Cartes"_L1;
inline constexpr QLatin1StringView Lecteurs = "lecteurs"_L1;
inline constexpr QLatin1StringView ListeLecteursTxt = "ListeLecteurs.txt"_L1;
inline constexpr QLatin1StringView IndexHtml = "index.html"_L1;
inline constexpr QLatin1StringView StyleCss = "style.css"_L1;
inline constexpr QLatin1StringView EnteteHtml = "entete.html"_L1;
inline constexpr QLatin1StringView FinFichierHtml = "FinFichier.html"_L1;
inline constexpr QLatin1StringView FondJpg = "fond.jpg"_L1;
inline constexpr QLatin1StringView IndexdebTxt = "Indexdeb.txt"_L1;
inline constexpr QLatin1StringView IndexfinTxt = "Indexfin.txt"_L1;
inline constexpr QLatin1StringView ListeImagesTxt = "ListeImages.txt"_L1;
inline constexpr QLatin1StringView TablematieresTxt = "_Tablematieres.txt"_L1;
inline constexpr QLatin1StringView TablematieresHtml = "_Tablematieres.html"_L1;
inline constexpr QLatin1StringView TexteAlire2Html = "TexteAlire2.html"_L1;
inline constexpr QLatin1StringView TexteAlireCopieHtml = "TexteAlire_copie.html"_L1;

QChar separator();

// The current directory, with the host's separators and no trailing one.
QString workingFolder();

// parent + separator + name + separator; parent has no trailing separator.
QString subfolderPath(const QString &parent, const QString &name);

// RepertoireR: working folder + "reserve" + separator.
QString templateFolderPath(const QString &workingFolder);

// The folder of the logo pictures: working folder + "reserve" + "Cartes", no
// trailing separator (it is a dialog's initial folder).
QString picturesFolderPath(const QString &workingFolder);

// city + "_" + school + "_" + class, as given.
QString classFolderName(const QString &city, const QString &school, const QString &schoolClass);

// The class folder: working folder + class folder name + separator.
QString classFolderPath(const QString &workingFolder, const QString &classFolderName);

// RepertoireW: the class folder + "lecteurs" + separator.
QString studentsFolderPath(const QString &workingFolder, const QString &classFolderName);

// EleveAct: folded surname + "_" + folded first name + "_" + e-mail as typed.
QString studentFolderName(const QString &surname, const QString &firstName, const QString &mail);

// The address of the working folder's "please wait" page.
QUrl travauxAddress(const QString &workingFolder);

// The three lines of ecole.txt.
struct SchoolClass
{
    QString city;
    QString school;
    QString schoolClass;
};

// The first three lines of an ecole.txt; missing lines read as empty.
SchoolClass readEcole(const QString &path);

// Rewrites an ecole.txt with its three lines.
void writeEcole(const QString &path, const SchoolClass &schoolClass);

} // namespace workspace
