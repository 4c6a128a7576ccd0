#include "host.h"

#include "workspace/ioerror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

constexpr int FirstPort = 20000;
constexpr int LastPort = 32767;

[[noreturn]] void refuse(const QString &workingFolder, const QString &why)
{
    const QString path = QDir::toNativeSeparators(QDir(workingFolder).filePath(PublicationIni));
    throw SettingsError(u"Le fichier %1 ne convient pas au serveur de publication local : %2."_s.arg(path, why), why, path);
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

bool namesThisComputer(const QString &host)
{
    return host == u"127.0.0.1"_s || host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0;
}

LocalHost localHostOf(const QString &workingFolder, const PublicationSettings &settings)
{
    Q_ASSERT(namesThisComputer(settings.host));
    if (settings.tls)
        refuse(workingFolder, u"le serveur local ne parle pas FTPS ; mettez tls=non (il n'écoute que sur cet ordinateur)"_s);
    LocalHost host;
    host.workingFolder = workingFolder;
    host.servedFolder = workingFolder + u"-publication"_s;
    host.ftpPort = settings.port;
    // The local web server speaks plain http.
    const QString root = webRoot(settings.adresse_web);
    const QString http = u"http://"_s;
    host.webPort = root.startsWith(http) ? webPortOf(root.mid(http.size())) : 0;
    host.user = settings.user;
    host.password = settings.password;
    if (host.webPort == 0)
        refuse(workingFolder, u"la clé adresse_web vaut « %1 » au lieu de 127.0.0.1 ou localhost suivi de « : » et d'un port"_s
                                  .arg(settings.adresse_web));
    if (host.webPort == host.ftpPort)
        refuse(workingFolder, u"les clés port et adresse_web donnent le même port, %1, au serveur FTP et au serveur web"_s.arg(
                                  host.ftpPort));
    return host;
}

QByteArray freshPublicationIni(int ftpPort, int webPort, const QString &password)
{
    return "[publication]\r\nhote=127.0.0.1\r\nport=" + QByteArray::number(ftpPort)
           + "\r\nutilisateur=tessavo\r\nmot_de_passe=" + password.toLatin1() + "\r\nadresse_web=127.0.0.1:"
           + QByteArray::number(webPort) + "\r\ntls=non\r\ndelai=20\r\n";
}

QString randomPassword()
{
    return QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
}

bool writeFreshPublicationIni(const QString &workingFolder, const QByteArray &content)
{
    const QString path = QDir(workingFolder).filePath(PublicationIni);
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
    QRandomGenerator *random = QRandomGenerator::global();
    for (int attempt = 0; attempt < 500 && chosen.size() < 2; ++attempt) {
        const int port = random->bounded(FirstPort, LastPort + 1);
        if (!taken.contains(port) && !chosen.contains(port) && isFree(port))
            chosen.append(port);
    }
    if (chosen.size() < 2) {
        const QString why = u"aucun port libre n'a été trouvé entre %1 et %2"_s.arg(FirstPort).arg(LastPort);
        throw SettingsError(u"Aucun port libre n'a été trouvé entre %1 et %2 pour le serveur de publication local."_s
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
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    HostRecord record;
    record.workingFolder = json.value(u"dossier"_s).toString();
    record.servedFolder = json.value(u"dossier_publie"_s).toString();
    record.pid = json.value(u"processus"_s).toInteger();
    record.startTime = json.value(u"debut"_s).toInteger();
    record.ftpPort = json.value(u"port_ftp"_s).toInt();
    record.webPort = json.value(u"port_web"_s).toInt();
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
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(json).toJson()) < 0 || !file.commit())
        throw workspace::IoError::cannotWrite(path);
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

} // namespace publishing
