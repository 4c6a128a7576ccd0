#include "host.h"

#include "processes.h"
#include "workspace/cp1252.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>

#include <cerrno>
#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace localhost {

namespace {

constexpr int FirstPort = 20000;
constexpr int LastPort = 32767;

[[noreturn]] void refuse(const QString &workingFolder, const QString &why)
{
    const QString path = QDir::toNativeSeparators(QDir(workingFolder).filePath(publishing::PublicationIni));
    throw publishing::SettingsError(u"Le fichier %1 ne convient pas au serveur de publication local : %2."_s.arg(path, why), why, path);
}

// "127.0.0.1:8000" -> 8000, "localhost" -> 80; 0 when the address is not
// this computer's host and a port.
int webPortOf(const QString &address)
{
    const qsizetype colon = address.lastIndexOf(u':');
    const QString host = colon < 0 ? address : address.left(colon);
    if (!namesThisComputer(host))
        return 0;
    if (colon < 0)
        return 80;
    bool ok = false;
    const int port = address.mid(colon + 1).toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? port : 0;
}

bool writeAll(int fd, const QByteArray &content)
{
    qsizetype written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + written, size_t(content.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return ::fsync(fd) == 0;
}

// Puts the finished file in place unless one is there already; false then.
bool placeWithoutReplacing(const QByteArray &temporary, const QByteArray &target, const QString &path)
{
    if (::link(temporary.constData(), target.constData()) == 0) {
        ::unlink(temporary.constData());
        return true;
    }
    const int error = errno;
    if (error == EEXIST) {
        ::unlink(temporary.constData());
        return false;
    }
    // A file system without hard links (a FAT memory stick).
    if ((error == EPERM || error == EOPNOTSUPP) && !QFileInfo::exists(path)
        && ::rename(temporary.constData(), target.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    throw workspace::IoError::cannotWrite(path);
}

QString recordBase(const QString &stateFolder, const QString &workingFolder)
{
    const QByteArray hash = QCryptographicHash::hash(workingFolder.toUtf8(), QCryptographicHash::Sha256).toHex();
    return stateFolder + u"/hote-"_s + QString::fromLatin1(hash.left(16));
}

} // namespace

namespace {

QString notDone(const QString &what, const QString &cause, const QString &remedy)
{
    const QString told = u"Le serveur de publication local de ce dossier de travail n'a pas pu être %1 : %2."_s.arg(what, cause);
    return remedy.isEmpty() ? told : told + u' ' + remedy;
}

} // namespace

QString hostNotStarted(const QString &cause, const QString &remedy)
{
    return notDone(u"démarré"_s, cause, remedy);
}

QString hostNotStopped(const QString &cause, const QString &remedy)
{
    return notDone(u"arrêté"_s, cause, remedy);
}

QString whatIsPublished(const LocalHost &host, const QString &networkAddress)
{
    const QString web = u"http://127.0.0.1:%1"_s.arg(host.webPort);
    const QString told =
        u"Y sont publiés, pour chaque élève, ses documents avec leurs images et leur feuille de style, et sa table "
        u"des matières, à l'adresse %1/Orvane_<VILLE>_<ECOLE>_<CLASSE>/<code de l'élève>/_Tablematieres.html (le code "
        u"est tiré au hasard à l'enregistrement ; avec adresses=noms dans publication.ini, c'est le nom de l'élève), "
        u"ainsi que la page de la classe, %1/Orvane_<VILLE>_<ECOLE>_<CLASSE>/index.html. "_s.arg(web);
    const QString robots = u"les moteurs de recherche sont priés de ne rien en indexer (%1/robots.txt)."_s.arg(web);
    if (!host.classroom)
        return told + u"Ces adresses ne sont joignables que depuis cet ordinateur, et "_s + robots;
    const QString network = networkAddress.isEmpty() ? u"<adresse de cet ordinateur>"_s : networkAddress;
    return told + u"Sur le réseau local (reseau_classe=oui), les tablettes lisent, sans rien pouvoir y changer, les "
                  u"seuls dossiers nommés par le code d'un élève, à l'adresse http://%1:%2/Orvane_<VILLE>_<ECOLE>_<CLASSE>/"
                  u"<code de l'élève>/_Tablematieres.html ; ni la page de la classe ni aucune liste de dossiers n'y est "
                  u"servie, et un appareil qui demande 20 adresses inconnues en une minute attend une minute. Le serveur "
                  u"FTP reste joignable depuis cet ordinateur seulement, et "_s.arg(network).arg(host.webPort)
           + robots;
}

bool isPupilCode(const QString &text)
{
    static const QRegularExpression code(u"^[2-9A-HJKMNP-Za-hjkmnp-z]{20,64}$"_s);
    return code.match(text).hasMatch();
}

QString defaultRouteInterface(const QByteArray &procNetRoute)
{
    // "Iface Destination Gateway Flags ...": the default route goes to
    // 00000000 and is up (flag 1).
    for (const QByteArray &line : procNetRoute.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool ok = false;
        if (fields.size() >= 4 && fields.at(1) == "00000000" && (fields.at(3).toUInt(&ok, 16) & 1) && ok)
            return QString::fromLatin1(fields.at(0));
    }
    return {};
}

QString localNetworkAddress()
{
    QFile route(u"/proc/net/route"_s);
    const QString preferred =
        route.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? defaultRouteInterface(route.readAll()) : QString();
    ifaddrs *interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return {};
    QString first;
    QString chosen;
    for (const ifaddrs *at = interfaces; at; at = at->ifa_next) {
        if (!at->ifa_addr || at->ifa_addr->sa_family != AF_INET || !(at->ifa_flags & IFF_UP) || (at->ifa_flags & IFF_LOOPBACK))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in *>(at->ifa_addr)->sin_addr, text, sizeof text);
        if (first.isEmpty())
            first = QString::fromLatin1(text);
        if (chosen.isEmpty() && QString::fromLocal8Bit(at->ifa_name) == preferred)
            chosen = QString::fromLatin1(text);
    }
    ::freeifaddrs(interfaces);
    return chosen.isEmpty() ? first : chosen;
}

QString tabletAddress(const QString &networkAddress, int webPort, const QString &remoteStudentFolder)
{
    if (networkAddress.isEmpty())
        return {};
    QString path = remoteStudentFolder.startsWith(u".."_s) ? remoteStudentFolder.mid(2) : remoteStudentFolder;
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    if (!path.endsWith(u'/'))
        path.append(u'/');
    return u"http://%1:%2%3_Tablematieres.html"_s.arg(networkAddress).arg(webPort).arg(path);
}

std::optional<QString> tabletAddressOf(const QString &workingFolder, const QString &remoteStudentFolder)
{
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(workingFolder);
    if (!settings.reseau_classe || !namesThisComputer(settings.host) || !isProgramsOwnIni(workingFolder))
        return std::nullopt;
    const QString address = tabletAddress(localNetworkAddress(), localHostOf(workingFolder, settings).webPort,
                                          remoteStudentFolder);
    return address.isEmpty() ? std::nullopt : std::optional<QString>(address);
}

bool namesThisComputer(const QString &host)
{
    return host == u"127.0.0.1"_s || host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0;
}

LocalHost localHostOf(const QString &workingFolder, const publishing::PublicationSettings &settings)
{
    Q_ASSERT(namesThisComputer(settings.host));
    if (settings.protocole != publishing::Protocol::Ftp)
        refuse(workingFolder, u"le serveur local ne parle pas SFTP ; mettez protocole=ftp (il n'écoute que sur cet ordinateur)"_s);
    if (settings.tls)
        refuse(workingFolder, u"le serveur local ne parle pas FTPS ; mettez tls=non (il n'écoute que sur cet ordinateur)"_s);
    LocalHost host;
    host.workingFolder = workingFolder;
    host.servedFolder = workingFolder + u"-publication"_s;
    host.ftpPort = settings.port;
    // The local web server speaks plain http.
    const QString root = publishing::webRoot(settings.adresse_web);
    const QString http = u"http://"_s;
    host.webPort = root.startsWith(http) ? webPortOf(root.mid(http.size())) : 0;
    host.user = settings.user;
    host.password = settings.password;
    host.classroom = settings.reseau_classe;
    // A server lets these names in with any password: every user of this
    // computer could then store files that the web server serves.
    for (const QLatin1StringView anonymous : {"anonymous"_L1, "ftp"_L1}) {
        if (host.user.trimmed().compare(anonymous, Qt::CaseInsensitive) == 0)
            refuse(workingFolder, u"l'utilisateur « %1 » (clé utilisateur) est anonyme : n'importe quel utilisateur de cet "
                                  u"ordinateur pourrait publier avec lui ; donnez un autre nom"_s.arg(host.user.trimmed()));
    }
    if (host.webPort == 0)
        refuse(workingFolder, u"la clé adresse_web vaut « %1 » au lieu de 127.0.0.1 ou localhost suivi de « : » et d'un port"_s
                                  .arg(settings.adresse_web));
    if (host.webPort == host.ftpPort)
        refuse(workingFolder, u"les clés port et adresse_web donnent le même port, %1, au serveur FTP et au serveur web"_s.arg(
                                  host.ftpPort));
    return host;
}

bool isProgramsOwnIni(const QString &workingFolder)
{
    const QString path = QDir(workingFolder).filePath(publishing::PublicationIni);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    // Far more than any publication.ini; a huge file is not the program's.
    const QByteArray content = file.read(64 * 1024);
    // As every earlier version wrote it, to the byte.
    static const QRegularExpression earlier(
        u"^\\[publication\\]\r\nhote=127\\.0\\.0\\.1\r\nport=\\d+\r\nutilisateur=tessavo\r\nmot_de_passe=[0-9a-f]{16}\r\n"
        u"adresse_web=127\\.0\\.0\\.1:\\d+\r\ntls=non\r\ndelai=20\r\n$"_s);
    if (earlier.match(QString::fromLatin1(content)).hasMatch())
        return true;
    QSettings settings(path, QSettings::IniFormat);
    return settings.status() == QSettings::NoError
           && settings.value(u"publication/serveur_local"_s).toString().trimmed().compare(u"oui"_s, Qt::CaseInsensitive) == 0;
}

QByteArray freshPublicationIni(int ftpPort, int webPort, const QString &password)
{
    return "[publication]\r\n"
           + workspace::toWindows1252(u"; Écrit par Tessavo pour son serveur de publication local, sur cet ordinateur. "
                                     u"Pour publier vers un autre serveur, remplacez ce fichier par le vôtre, sans la "
                                     u"ligne serveur_local."_s)
           + "\r\nserveur_local=oui\r\nhote=127.0.0.1\r\nport=" + QByteArray::number(ftpPort)
           + "\r\nutilisateur=tessavo\r\nmot_de_passe=" + password.toLatin1() + "\r\nadresse_web=127.0.0.1:"
           + QByteArray::number(webPort) + "\r\ntls=non\r\ndelai=20\r\n";
}

QString randomPassword()
{
    return QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
}

bool writeFreshPublicationIni(const QString &workingFolder, const QByteArray &content)
{
    const QString path = QDir(workingFolder).filePath(publishing::PublicationIni);
    const QByteArray target = QFile::encodeName(path);
    // mkstemp makes the file for its owner alone (0600) before any byte.
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw workspace::IoError::cannotWrite(path);
    const bool written = ::fchmod(fd, 0600) == 0 && writeAll(fd, content);
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.constData());
        throw workspace::IoError::cannotWrite(path);
    }
    return placeWithoutReplacing(temporary, target, path);
}

std::pair<int, int> choosePorts(const std::function<bool(int)> &isFree, const QList<int> &taken)
{
    QList<int> chosen;
    constexpr int count = LastPort - FirstPort + 1;
    const int first = int(QRandomGenerator::global()->bounded(count));
    for (int step = 0; step < count && chosen.size() < 2; ++step) {
        const int port = FirstPort + (first + step) % count;
        if (!taken.contains(port) && isFree(port))
            chosen.append(port);
    }
    if (chosen.size() < 2) {
        const QString why = u"aucun port libre n'a été trouvé entre %1 et %2"_s.arg(FirstPort).arg(LastPort);
        throw publishing::SettingsError(u"Aucun port libre n'a été trouvé entre %1 et %2 pour le serveur de publication local."_s
                                .arg(FirstPort)
                                .arg(LastPort),
                            why);
    }
    return {chosen.at(0), chosen.at(1)};
}

QString stateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + u"/.local/state"_s;
    return QDir::cleanPath(base + u"/tessavo"_s);
}

QString recordPath(const QString &stateFolder, const QString &workingFolder)
{
    return recordBase(stateFolder, workingFolder) + u".json"_s;
}

QString logPath(const QString &stateFolder, const QString &workingFolder)
{
    return recordBase(stateFolder, workingFolder) + u".log"_s;
}

std::optional<HostRecord> readRecord(const QString &path)
{
    QFile file(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat status{};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::getuid()
        || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    const QJsonObject json = QJsonDocument::fromJson(file.read(64 * 1024)).object();
    HostRecord record;
    record.workingFolder = json.value(u"dossier"_s).toString();
    record.servedFolder = json.value(u"dossier_publie"_s).toString();
    record.pid = json.value(u"processus"_s).toInteger();
    record.startTime = json.value(u"debut"_s).toInteger();
    record.ftpPort = json.value(u"port_ftp"_s).toInt();
    record.webPort = json.value(u"port_web"_s).toInt();
    record.classroom = json.value(u"reseau_classe"_s).toBool();
    if (record.workingFolder.isEmpty() || record.servedFolder.isEmpty() || record.pid <= 0 || record.ftpPort <= 0
        || record.webPort <= 0)
        return std::nullopt;
    return record;
}

void writeRecord(const QString &path, const HostRecord &record)
{
    const QJsonObject json{
        {u"dossier"_s, record.workingFolder},
        {u"dossier_publie"_s, record.servedFolder},
        {u"processus"_s, record.pid},
        {u"debut"_s, record.startTime},
        {u"port_ftp"_s, record.ftpPort},
        {u"port_web"_s, record.webPort},
        {u"reseau_classe"_s, record.classroom},
    };
    workspace::writeBytes(path, QJsonDocument(json).toJson());
}

QList<int> portsOfOtherFolders(const QString &stateFolder, const QString &workingFolder)
{
    QList<int> ports;
    const QDir folder(stateFolder);
    for (const QString &name : folder.entryList({u"hote-*.json"_s}, QDir::Files)) {
        const std::optional<HostRecord> record = readRecord(folder.filePath(name));
        if (record && record->workingFolder != workingFolder)
            ports << record->ftpPort << record->webPort;
    }
    return ports;
}

workspace::Result<void> checkOwnPlace(const QString &path, const QString &what)
{
    const QString shown = QDir::toNativeSeparators(path);
    struct stat status{};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT ? workspace::Result<void>()
                               : workspace::refuse(u"%1 « %2 » ne peut pas être lu"_s.arg(what, shown));
    if (S_ISLNK(status.st_mode))
        return workspace::refuse(u"%1 « %2 » est un lien vers un autre endroit, que Tessavo ne suit pas"_s.arg(what, shown));
    if (status.st_uid != ::getuid())
        return workspace::refuse(u"%1 « %2 » a été créé par un autre utilisateur de cet ordinateur"_s.arg(what, shown));
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return workspace::refuse(u"%1 « %2 » peut être modifié par d'autres utilisateurs de cet ordinateur"_s.arg(what, shown));
    return {};
}

workspace::Result<void> makeOwnFolder(const QString &path, const QString &what)
{
    // mkdir makes nothing through a link at its place, and fails on one.
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
        return workspace::refuse(u"%1 « %2 » ne peut pas être créé"_s.arg(what, QDir::toNativeSeparators(path)));
    if (workspace::Result<void> own = checkOwnPlace(path, what); !own)
        return own;
    if (!QFileInfo(path).isDir())
        return workspace::refuse(u"%1 « %2 » est un fichier, pas un dossier"_s.arg(what, QDir::toNativeSeparators(path)));
    return {};
}

bool isOurServer(const HostRecord &record, const QString &workingFolder)
{
    if (record.workingFolder != workingFolder || record.pid <= 0
        || processes::startTimeOf(record.pid) != std::optional<qint64>(record.startTime)
        || processes::ownerOf(record.pid) != std::optional<uint>(::getuid()))
        return false;
    // python3 tessavo-publication-server --dossier-publie <folder> ...
    const QString executable = QFileInfo(processes::executableOf(record.pid)).fileName();
    const QStringList arguments = processes::argumentsOf(record.pid);
    const qsizetype folder = arguments.indexOf(u"--dossier-publie"_s);
    return executable.startsWith(u"python3"_s) && arguments.size() > 1
           && QFileInfo(arguments.at(1)).fileName() == u"tessavo-publication-server"_s && folder > 1
           && folder + 1 < arguments.size() && arguments.at(folder + 1) == record.servedFolder;
}

HostAction hostAction(const HostFacts &facts)
{
    if (!facts.ownFile || !facts.namesThisComputer)
        return HostAction::LeaveAlone;
    if (!facts.ourServerRuns)
        return HostAction::Start;
    return facts.sameSettings && facts.takesTheAccount ? HostAction::Keep : HostAction::Replace;
}

ServerReply parseServerReply(const QString &line)
{
    ServerReply reply;
    reply.text = line;
    const qsizetype blank = line.indexOf(u' ');
    const QString word = blank < 0 ? line : line.left(blank);
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
    bool ok = false;
    if (word == u"PRET"_s) {
        reply.pid = rest.toLongLong(&ok);
        if (ok && reply.pid > 0)
            reply.kind = ServerReply::Ready;
    } else if (word == u"PORT_PRIS"_s) {
        reply.port = rest.toInt(&ok);
        if (ok && reply.port > 0 && reply.port <= 65535)
            reply.kind = ServerReply::PortTaken;
    } else if (word == u"MODULE_ABSENT"_s && !rest.isEmpty()) {
        reply.kind = ServerReply::ModuleMissing;
    } else if (word == u"ERREUR"_s) {
        reply.kind = ServerReply::Failed;
    }
    if (reply.kind == ServerReply::ModuleMissing || reply.kind == ServerReply::Failed)
        reply.text = rest;
    return reply;
}

workspace::Result<void> ownHostVerdict(const OwnHostFacts &facts)
{
    if (!facts.ownFile || !facts.namesThisComputer || facts.serverIsOurs)
        return {};
    const QString notHere = u"Le serveur de publication local de ce dossier de travail ne tourne pas : "_s;
    if (facts.portHeld)
        return workspace::refuse(notHere + u"le port %1 de cet ordinateur (clé port de publication.ini) est tenu par un "
                                           u"autre programme, qui n'est pas ce serveur. Rien ne lui a été envoyé, ni le "
                                           u"mot de passe ni les fichiers. Arrêtez ce programme, ou choisissez un autre "
                                           u"port dans publication.ini, puis redémarrez Tessavo."_s.arg(facts.port));
    return workspace::refuse(notHere + u"rien n'écoute sur le port %1 de cet ordinateur. Redémarrez Tessavo pour le "
                                       u"démarrer."_s.arg(facts.port));
}

workspace::Result<void> mayLogIn(const QString &workingFolder, const publishing::PublicationSettings &settings)
{
    OwnHostFacts facts;
    facts.namesThisComputer = namesThisComputer(settings.host);
    facts.ownFile = facts.namesThisComputer && isProgramsOwnIni(workingFolder);
    facts.port = settings.port;
    if (!facts.ownFile)
        return {};
    const QString folder = QFileInfo(workingFolder).canonicalFilePath();
    const std::optional<HostRecord> record = readRecord(recordPath(stateFolder(), folder));
    facts.serverIsOurs = record && record->ftpPort == settings.port && isOurServer(*record, folder)
                         && processes::listensOn(record->pid, settings.port);
    facts.portHeld = !processes::portIsFree(settings.port);
    return ownHostVerdict(facts);
}

QByteArray ownHostProof(const QString &password, int port, const QString &clientAddress, int clientPort)
{
    const QString message = u"tessavo-hote %1 %2 %3"_s.arg(port).arg(clientAddress).arg(clientPort);
    return QMessageAuthenticationCode::hash(message.toLatin1(), password.toUtf8(), QCryptographicHash::Sha256).toHex();
}

QString randomLoopbackAddress()
{
    const quint32 drawn = QRandomGenerator::system()->generate();
    // 127.x.y.1 to 127.x.y.254: no network or broadcast look-alike.
    return u"127.%1.%2.%3"_s.arg(drawn & 0xff).arg((drawn >> 8) & 0xff).arg(1 + (drawn >> 16) % 254);
}

QString ownHostGreetingRefused(const publishing::PublicationSettings &settings, const QByteArray &greeting,
                               const QString &clientAddress, int clientPort)
{
    if (greeting.trimmed() == "220 " + ownHostProof(settings.password, settings.port, clientAddress, clientPort))
        return {};
    return ownHostVerdict({true, true, false, true, settings.port}).reason();
}

publishing::FtpLogin ownHostLogin(const publishing::PublicationSettings &settings)
{
    publishing::FtpLogin login = settings.login();
    login.ownHostSource = randomLoopbackAddress();
    login.ownHostGreeting = [settings](const QByteArray &greeting, const QString &address, int port) {
        return ownHostGreetingRefused(settings, greeting, address, port);
    };
    return login;
}

publishing::FtpLogin loginFor(const QString &workingFolder, const publishing::PublicationSettings &settings)
{
    if (namesThisComputer(settings.host) && settings.protocole == publishing::Protocol::Ftp && isProgramsOwnIni(workingFolder))
        return ownHostLogin(settings);
    return settings.login();
}

} // namespace localhost
