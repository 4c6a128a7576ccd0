#pragma once

#include "publishing/settings.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

// The local publishing host of a working folder: an FTP server and a web
// server on loopback, both over <working folder>-publication, started by
// tessavo-publication-host. Each working folder has its own, on ports chosen
// when its publication.ini is first written, and known as its own by a record
// in the state folder.
namespace publishing {

struct LocalHost
{
    QString workingFolder;  // absolute, no trailing separator
    QString servedFolder;   // workingFolder + "-publication"
    int ftpPort = 0;
    int webPort = 0;
    QString user;
    QString password;
};

// What is said when a working folder's local host could not be started: that
// it was not, why, and what to do, in one paragraph.
// ("le port 24117 … est déjà pris par un autre programme", "Arrêtez ce programme.") ->
// "Le serveur de publication local de ce dossier de travail n'a pas pu être démarré : le port 24117 … est déjà
// pris par un autre programme. Arrêtez ce programme."
QString hostNotStarted(const QString &cause, const QString &remedy = {});
// The same when it could not be stopped.
QString hostNotStopped(const QString &cause, const QString &remedy = {});

// "127.0.0.1" and "localhost" name this computer; anything else is a real host.
bool namesThisComputer(const QString &host);

// The host that settings naming this computer ask for. Raises SettingsError,
// naming publication.ini and the key, when they cannot be served here: tls=oui, a web address on another host or
// without a valid port, the same port for both servers.
LocalHost localHostOf(const QString &workingFolder, const PublicationSettings &settings);

// A fresh publication.ini for a local host, CR LF line ends.
QByteArray freshPublicationIni(int ftpPort, int webPort, const QString &password);

// 16 hexadecimal digits from the system's random source.
QString randomPassword();

// Writes workingFolder/publication.ini whole, readable and writable by its
// owner only from its first byte. Keeps a file that exists and returns false
// then. Raises workspace::IoError when it cannot be written.
bool writeFreshPublicationIni(const QString &workingFolder, const QByteArray &content);

// Two different ports of [20000, 32767], below the ports the system hands out
// to outgoing connections, that are not taken and that isFree accepts.
// Raises SettingsError when none are found: no fresh publication.ini can be
// written then.
std::pair<int, int> choosePorts(const std::function<bool(int)> &isFree, const QList<int> &taken);

// What the state folder keeps of the server started for a working folder.
struct HostRecord
{
    QString workingFolder;
    QString servedFolder;
    qint64 pid = 0;
    qint64 startTime = 0;  // the process's start, in clock ticks after boot
    int ftpPort = 0;
    int webPort = 0;
};

// $XDG_STATE_HOME/tessavo, or ~/.local/state/tessavo.
QString stateFolder();
// stateFolder/hote-<16 hex digits of the folder's SHA-256>.json, and its .log.
QString recordPath(const QString &stateFolder, const QString &workingFolder);
QString logPath(const QString &stateFolder, const QString &workingFolder);

// Nothing when the file is missing or is not a record.
std::optional<HostRecord> readRecord(const QString &path);
// Raises workspace::IoError when it cannot be written.
void writeRecord(const QString &path, const HostRecord &record);
// The ports of the records of every other working folder.
QList<int> portsOfOtherFolders(const QString &stateFolder, const QString &workingFolder);

} // namespace publishing
