#pragma once

#include "publishing/settings.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <utility>

// The local publishing host of a working folder: an FTP server and a web
// server on loopback, both over <working folder>-publication, started by
// tessavo-publication-host. Each working folder has its own, on ports chosen
// when its publication.ini is first written, and known as its own by a record
// in the state folder.
namespace localhost {

struct LocalHost
{
    QString workingFolder;  // absolute, no trailing separator
    QString servedFolder;   // workingFolder + "-publication"
    int ftpPort = 0;
    int webPort = 0;
    QString user;
    QString password;
    bool classroom = false;  // reseau_classe=oui: the web server answers on the local network too
};

// What is said when a working folder's local host could not be started: that
// it was not, why, and what to do, in one paragraph.
// ("le port 24117 … est déjà pris par un autre programme", "Arrêtez ce programme.") ->
// "Le serveur de publication local de ce dossier de travail n'a pas pu être démarré : le port 24117 … est déjà
// pris par un autre programme. Arrêtez ce programme."
QString hostNotStarted(const QString &cause, const QString &remedy = {});
// The same when it could not be stopped.
QString hostNotStopped(const QString &cause, const QString &remedy = {});

// What the local host publishes and under which address, in French, for
// the line its launcher prints once it runs. networkAddress: the computer's
// address on the local network, for a classroom host.
QString whatIsPublished(const LocalHost &host, const QString &networkAddress = {});

// "127.0.0.1" and "localhost" name this computer; anything else is a real host.
bool namesThisComputer(const QString &host);

// Whether publication.ini was written by the program for its own local host:
// it says so (serveur_local=oui), or it is a file exactly as earlier versions
// wrote it. A file that a person wrote is used as it is, even when it names
// this computer. False when there is none, or it cannot be read.
bool isProgramsOwnIni(const QString &workingFolder);

// The host that settings naming this computer ask for. Raises publishing::SettingsError,
// naming publication.ini and the key, when they cannot be served here: tls=oui, a web address on another host or
// without a valid port, the same port for both servers, an anonymous user
// (anonymous or ftp), which a server lets in whatever the password.
LocalHost localHostOf(const QString &workingFolder, const publishing::PublicationSettings &settings);

// A fresh publication.ini for a local host, CR LF line ends, marked as the
// program's own with a comment that says what the mark means.
QByteArray freshPublicationIni(int ftpPort, int webPort, const QString &password);

// 16 hexadecimal digits from the system's random source.
QString randomPassword();

// Writes workingFolder/publication.ini whole, readable and writable by its
// owner only from its first byte. Keeps a file that exists and returns false
// then. Raises workspace::IoError when it cannot be written.
bool writeFreshPublicationIni(const QString &workingFolder, const QByteArray &content);

// Two different ports of [20000, 32767], below the ports the system hands out
// to outgoing connections, that are not taken and that isFree accepts: the
// ports are tried in turn from a random one, so that any two that qualify are
// found. Raises publishing::SettingsError when none are found: no fresh publication.ini
// can be written then.
std::pair<int, int> choosePorts(const std::function<bool(int)> &isFree, const QList<int> &taken);

} // namespace localhost
