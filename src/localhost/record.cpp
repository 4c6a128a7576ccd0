#include "record.h"

#include "workspace/textfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace localhost {

namespace {

QString recordBase(const QString &stateFolder, const QString &workingFolder)
{
    const QByteArray hash = QCryptographicHash::hash(workingFolder.toUtf8(), QCryptographicHash::Sha256).toHex();
    return stateFolder + u"/hote-"_s + QString::fromLatin1(hash.left(16));
}

} // namespace

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

} // namespace localhost
