#pragma once

#include "publishing/ftpclient.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <optional>

// A student's folder published to a real server, as the publishing tests of
// each protocol use it.
namespace fakes {

// Where the student's folder goes, from the login folder; and where it lands
// in the server's root.
inline const QString StudentTarget = QStringLiteral("../Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/");
inline const QString StudentPublished = QStringLiteral("Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/");

// Bytes that no compression or line-end rule leaves alone.
QByteArray pseudoRandom(int size, quint32 seed);

// A student's folder as saving and laying out leave it, and a sub-folder.
QString studentFolder(const QTemporaryDir &working, int pictureSize = 300 * 1024);

// Every file of a folder, name to bytes.
QMap<QString, QByteArray> contents(const QString &folder);

// The student folder went up whole into the server's folder, byte for byte,
// and only it: not its sub-folder.
void expectPublishedWhole(const QString &remoteFolder, const QMap<QString, QByteArray> &before);

// A registration's remote folders and class page, then a publication of the
// student folder, as the program makes them: the connection sequence of
// publication.ini each time, every file on one connection. The text the
// teacher would read, or nothing when all went up.
std::optional<QString> publishAll(const QString &working, const QString &source, const QString &target = StudentTarget,
                                  const publishing::FtpClient::Progress &progress = {});

} // namespace fakes
