#pragma once

#include "publishing/settings.h"

#include <QByteArray>
#include <QString>

// The server's proof, on each connection, that it is the working folder's own.
namespace localhost {

// The proof that the server on a port is the working folder's own, given in
// its greeting, before the client sends anything: the client connects from
// an address of 127.0.0.0/8 drawn at random for each login, and the server's
// greeting ends with the line "220 <proof>", the HMAC-SHA256, in
// hexadecimal, of "tessavo-hote <port> <client address> <client port>" keyed
// with the account's password, which only the owner of publication.ini and
// the server it started know. A program that took the port can neither make
// it nor reuse one it saw for another connection.
QByteArray ownHostProof(const QString &password, int port, const QString &clientAddress, int clientPort);

// An address of 127.0.0.0/8 other than 127.0.0.1, drawn from the system's random source.
QString randomLoopbackAddress();

// Why the greeting's last line, on a connection from clientAddress and
// clientPort to the port of settings, does not prove the server to be the
// folder's own: what the teacher is told (nothing was sent to it); nothing
// when it does.
QString ownHostGreetingRefused(const publishing::PublicationSettings &settings, const QByteArray &greeting,
                               const QString &clientAddress, int clientPort);

// The login to use for the host of publication.ini: for a file of the
// program's own that names this computer, its connection proves, before the
// account is sent, that the server is this folder's own.
publishing::FtpLogin loginFor(const QString &workingFolder, const publishing::PublicationSettings &settings);
// The same for publication.ini known to be the program's own.
publishing::FtpLogin ownHostLogin(const publishing::PublicationSettings &settings);

} // namespace localhost
