#include "changedfiles.h"

#include "workspace/textfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

constexpr QLatin1StringView Header("tessavo-envois 1");
// Far above what any student folder needs: a larger file is not a record.
constexpr qint64 MaxRecordSize = 16 * 1024 * 1024;

QString utf8(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

QList<QByteArray> lines(const QByteArray &listing)
{
    QList<QByteArray> found;
    for (QByteArray line : listing.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            found.append(line);
    }
    return found;
}

} // namespace

QList<RemoteFile> parseMlsd(const QByteArray &listing)
{
    QList<RemoteFile> files;
    for (const QByteArray &line : lines(listing)) {
        // The facts, one space, the name (which may hold spaces and ";").
        const qsizetype space = line.indexOf(' ');
        if (space <= 0)
            continue;
        RemoteFile file;
        file.name = utf8(line.mid(space + 1));
        bool isFile = false;
        bool hasSize = false;
        for (const QByteArray &fact : line.left(space).split(';')) {
            const qsizetype equals = fact.indexOf('=');
            if (equals <= 0)
                continue;
            const QByteArray key = fact.left(equals).toLower();
            const QByteArray value = fact.mid(equals + 1);
            if (key == "type")
                isFile = value.toLower() == "file";
            else if (key == "size")
                file.size = value.toLongLong(&hasSize);
            else if (key == "modify")
                file.stamp = utf8(value);
        }
        if (isFile && hasSize && !file.name.isEmpty())
            files.append(file);
    }
    return files;
}

QList<RemoteFile> parseList(const QByteArray &listing)
{
    // "-rw-r--r--    1 1000     1000         1234 Dec 11 07:25 conte.html":
    // the date is "month day hour:minute" for recent files, "month day year"
    // for older ones.
    static const QRegularExpression unix(
        uR"(^-\S*\s+\d+\s+\S+\s+\S+\s+(\d+)\s+(\S+\s+\d{1,2}\s+(?:\d{1,2}:\d{2}|\d{4}))\s(.+)$)"_s);
    // "12-11-26  07:25AM                 1234 conte.html"
    static const QRegularExpression dos(
        uR"(^(\d{2}-\d{2}-\d{2,4}\s+\d{1,2}:\d{2}(?:[AaPp][Mm])?)\s+(\d+)\s(.+)$)"_s);
    QList<RemoteFile> files;
    for (const QByteArray &line : lines(listing)) {
        const QString text = utf8(line);
        if (const QRegularExpressionMatch match = unix.match(text); match.hasMatch()) {
            files.append({match.captured(3), match.captured(1).toLongLong(), match.captured(2).simplified()});
        } else if (const QRegularExpressionMatch match = dos.match(text); match.hasMatch()) {
            // The name starts after one space; more were only alignment.
            files.append({match.captured(3).trimmed(), match.captured(2).toLongLong(), match.captured(1).simplified()});
        }
    }
    return files;
}

QList<RemoteEntry> parseEntries(const QByteArray &listing)
{
    // "lrwxrwxrwx    1 1000     1000     9 Dec 11 07:25 conte.html -> /etc/hosts"
    static const QRegularExpression unix(
        uR"(^([-dlpscbD])\S*\s+\d+\s+\S+\s+\S+\s+\d+\s+\S+\s+\d{1,2}\s+(?:\d{1,2}:\d{2}|\d{4})\s(.+)$)"_s);
    // "12-11-26  07:25AM       <DIR>          Dupont_Jean_x"
    static const QRegularExpression dos(uR"(^\d{2}-\d{2}-\d{2,4}\s+\d{1,2}:\d{2}(?:[AaPp][Mm])?\s+(\d+|<DIR>)\s(.+)$)"_s);
    QList<RemoteEntry> entries;
    for (const QByteArray &line : lines(listing)) {
        const QString text = utf8(line);
        RemoteEntry entry;
        if (const QRegularExpressionMatch match = unix.match(text); match.hasMatch()) {
            const QChar type = match.captured(1).at(0);
            entry.name = match.captured(2);
            // Pipes, sockets and devices are no file to publish or remove
            // either: taken as files, the host refuses what it must.
            entry.kind = type == u'd' ? RemoteEntry::Kind::Folder
                         : type == u'l' ? RemoteEntry::Kind::Link
                                        : RemoteEntry::Kind::File;
            if (entry.kind == RemoteEntry::Kind::Link && entry.name.contains(u" -> "_s))
                entry.name = entry.name.section(u" -> "_s, 0, 0);
        } else if (const QRegularExpressionMatch match = dos.match(text); match.hasMatch()) {
            entry.name = match.captured(2).trimmed();
            entry.kind = match.captured(1) == u"<DIR>"_s ? RemoteEntry::Kind::Folder : RemoteEntry::Kind::File;
        } else {
            continue;
        }
        if (entry.name == u"."_s || entry.name == u".."_s || entry.name.isEmpty())
            continue;
        entries.append(entry);
    }
    return entries;
}

QString hostIdentity(const FtpLogin &login)
{
    const QString scheme = login.protocol == Protocol::Sftp ? u"sftp"_s : u"ftp"_s;
    return u"%1://%2@%3:%4"_s.arg(scheme, login.user, login.host.toLower()).arg(login.port);
}

QString sentRecordPath(const QString &workingFolder, const QString &identity)
{
    const QByteArray digest = QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha256);
    return QDir(workingFolder).filePath(u"publication-envois-%1.txt"_s.arg(QString::fromLatin1(digest.toHex().left(16))));
}

std::optional<SentFiles> readSentRecord(const QString &path, const QString &identity)
{
    // Only a regular file of its own is read: never through a link.
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() > MaxRecordSize)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || !bytes.endsWith("\r\n"))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    QStringList rows = text.split(u"\r\n"_s);
    rows.removeLast(); // after the last line end
    if (rows.size() < 2 || rows.at(0) != Header || rows.at(1) != u"hote "_s + identity)
        return std::nullopt;
    SentFiles sent;
    for (qsizetype i = 2; i < rows.size(); ++i) {
        const QStringList fields = rows.at(i).split(u'\t');
        if (fields.size() != 6 || fields.at(0).isEmpty() || fields.at(1).isEmpty())
            return std::nullopt;
        bool sized = false;
        SentFile entry;
        entry.size = fields.at(2).toLongLong(&sized);
        entry.sha256 = QByteArray::fromHex(fields.at(3).toLatin1());
        entry.stamp = fields.at(4);
        entry.local = fields.at(5);
        if (!sized || entry.size < 0 || entry.sha256.size() != 32 || fields.at(3).size() != 64)
            return std::nullopt;
        sent[fields.at(0)].insert(fields.at(1), entry);
    }
    return sent;
}

void writeSentRecord(const QString &path, const QString &identity, const SentFiles &sent)
{
    QByteArray bytes = QByteArray(Header.data(), Header.size()) + "\r\nhote " + identity.toUtf8() + "\r\n";
    QStringList folders = sent.keys();
    folders.sort();
    for (const QString &folder : folders) {
        const QHash<QString, SentFile> &files = sent.value(folder);
        QStringList names = files.keys();
        names.sort();
        for (const QString &name : names) {
            // A name that would break its line is not recorded: it is sent
            // again next time.
            if (name.contains(u'\t') || name.contains(u'\r') || name.contains(u'\n') || folder.contains(u'\t')
                || folder.contains(u'\r') || folder.contains(u'\n'))
                continue;
            const SentFile &file = files.value(name);
            bytes += folder.toUtf8() + '\t' + name.toUtf8() + '\t' + QByteArray::number(file.size) + '\t'
                     + file.sha256.toHex() + '\t' + QString(file.stamp).remove(u'\t').toUtf8() + '\t'
                     + file.local.toUtf8() + "\r\n";
        }
    }
    workspace::writeBytes(path, bytes);
}

QString localSignature(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    const auto nanoseconds = [](const timespec &time) {
        return QString::number(qint64(time.tv_sec)) + QString::number(qint64(time.tv_nsec)).rightJustified(9, u'0');
    };
    return u"%1.%2.%3.%4.%5"_s.arg(qint64(status.st_size))
        .arg(nanoseconds(status.st_mtim), nanoseconds(status.st_ctim))
        .arg(quint64(status.st_dev))
        .arg(quint64(status.st_ino));
}

std::optional<QByteArray> fileSha256(const QString &path, const std::function<void()> &reading)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(chunk.data(), chunk.size());
        if (read < 0)
            return std::nullopt;
        if (read == 0)
            break;
        hash.addData(QByteArrayView(chunk.constData(), read));
        if (reading)
            reading();
    }
    return hash.result();
}

} // namespace publishing
