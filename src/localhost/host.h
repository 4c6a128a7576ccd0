#pragma once

#include "publishing/settings.h"
#include "workspace/result.h"

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

// Whether text is a pupil's code as the classroom host serves it: 20 to 64
// letters and digits that are not taken one for another (no 0, O, 1, I, L).
bool isPupilCode(const QString &text);

// The interface of the default route in the text of /proc/net/route; empty
// when there is none.
QString defaultRouteInterface(const QByteArray &procNetRoute);

// This computer's IPv4 address on the local network: the one of the
// interface of the default route, or else of the first interface that is up
// and not loopback; empty when it has none.
QString localNetworkAddress();

// The address a tablet opens for a pupil, through the classroom host: the
// computer's network address and web port, and the remote student folder
// without its leading "..". Empty without a network address.
// ("192.168.1.20", 24118, "../Orvane_A_B_C/K7M2.../") ->
// "http://192.168.1.20:24118/Orvane_A_B_C/K7M2.../_Tablematieres.html"
QString tabletAddress(const QString &networkAddress, int webPort, const QString &remoteStudentFolder);

// The same for the working folder as it is now: nothing unless its
// publication.ini is the program's own, for this computer, with
// reseau_classe=oui, and the computer has a network address. Raises
// publishing::SettingsError when publication.ini cannot be read.
std::optional<QString> tabletAddressOf(const QString &workingFolder, const QString &remoteStudentFolder);

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

// What the state folder keeps of the server started for a working folder.
struct HostRecord
{
    QString workingFolder;
    QString servedFolder;
    qint64 pid = 0;
    qint64 startTime = 0;  // the process's start, in clock ticks after boot
    int ftpPort = 0;
    int webPort = 0;
    bool classroom = false;  // the web server answers on the local network too
};

// $XDG_STATE_HOME/tessavo, or ~/.local/state/tessavo.
QString stateFolder();
// stateFolder/hote-<16 hex digits of the folder's SHA-256>.json, and its .log.
QString recordPath(const QString &stateFolder, const QString &workingFolder);
QString logPath(const QString &stateFolder, const QString &workingFolder);

// Nothing when the file is missing or is not a record, or when it may not be
// trusted: a link, another user's file, or one that others can write.
std::optional<HostRecord> readRecord(const QString &path);
// Raises workspace::IoError when it cannot be written.
void writeRecord(const QString &path, const HostRecord &record);

// Whether a place of the local host (the state folder, the published folder,
// the record) may be used: missing, or a folder (file) of the user's own,
// not a link and not writable by others. The refusal names it and says why,
// as the end of a sentence: what ("le dossier publié") starts it.
workspace::Result<void> checkOwnPlace(const QString &path, const QString &what);

// Makes the folder for its user alone (mode 700) unless it is there, never
// through a link, then checks it as checkOwnPlace does.
workspace::Result<void> makeOwnFolder(const QString &path, const QString &what);

// Whether the record names a live server of this launcher's for the working
// folder: the user's own process, started when the record says, the
// launcher's server program run by Python, over the record's published
// folder. A process that merely mentions the folder is not it.
bool isOurServer(const HostRecord &record, const QString &workingFolder);

// What the launcher does for a working folder, from what it found.
struct HostFacts
{
    bool ownFile = false;            // publication.ini is the program's own, or is about to be written
    bool namesThisComputer = false;  // its host is 127.0.0.1 or localhost
    bool ourServerRuns = false;      // the record names a live server of ours for this folder
    bool sameSettings = false;       // that server is on the ports and folder publication.ini gives now
    bool takesTheAccount = false;    // and it logs in with publication.ini's account
};

enum class HostAction {
    LeaveAlone,  // not the program's own host: nothing is started, nothing stopped
    Keep,        // the running server is this folder's: kept
    Replace,     // ours, but publication.ini changed: stopped, and a new one started
    Start,       // none runs: one is started
};

HostAction hostAction(const HostFacts &facts);

// The one line the server program says as it starts.
struct ServerReply
{
    enum Kind { Ready, PortTaken, ModuleMissing, Failed, Unknown };
    Kind kind = Unknown;
    qint64 pid = 0;      // Ready
    int port = 0;        // PortTaken
    QString text;        // ModuleMissing: the module; Failed: the error; Unknown: the line
};

// "PRET 4242", "PORT_PRIS 2121", "MODULE_ABSENT pyftpdlib", "ERREUR text";
// anything else, a number that is not one included, is Unknown.
ServerReply parseServerReply(const QString &line);

// Whether the program may log in to the host of publication.ini. A file of
// the program's own names its local host: the password goes there only when
// the server on its port is this folder's own, as its record says. Anything
// else (another host, a file a person wrote) is used as it is.
struct OwnHostFacts
{
    bool ownFile = false;
    bool namesThisComputer = false;
    bool serverIsOurs = false;  // the record names our live server, listening on the file's ports
    bool portHeld = false;      // something listens on the file's FTP port
    int port = 0;
};

workspace::Result<void> ownHostVerdict(const OwnHostFacts &facts);

// The verdict for the working folder as it is now.
workspace::Result<void> mayLogIn(const QString &workingFolder, const publishing::PublicationSettings &settings);

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
// The ports of the records of every other working folder.
QList<int> portsOfOtherFolders(const QString &stateFolder, const QString &workingFolder);

} // namespace localhost
