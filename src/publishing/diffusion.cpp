#include "diffusion.h"

#include "publishing/changedfiles.h"
#include "publishing/settings.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <filesystem>
#include <optional>
#include <system_error>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Replaces the copy whole or leaves the earlier one; a failure says nothing.
void copySilently(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return;
    try {
        workspace::writeBytes(to, bytes);
    } catch (const workspace::IoError &) {
    }
}

void uploadOne(FtpClient &client, const QString &localPath, const QString &remotePath,
               const QString &name)
{
    try {
        client.put(localPath, remotePath);
    } catch (const FtpError &error) {
        // A lost connection does not say which of many files it stopped.
        if (error.message().contains(name))
            throw;
        throw FtpError(u"Le fichier « %1 » n'a pas pu être publié : %2"_s.arg(name, error.message()));
    }
}

} // namespace

StudentFiles listStudentFiles(const QString &sourceFolder)
{
    namespace fs = std::filesystem;
    StudentFiles found;
    std::error_code error;
    for (fs::directory_iterator entry(fsPath(sourceFolder), error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code statusError;
        const fs::file_status status = entry->symlink_status(statusError);
        if (statusError || fs::is_directory(status))
            continue;
        const std::u8string raw = entry->path().filename().u8string();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString name = utf8(QByteArrayView(reinterpret_cast<const char *>(raw.data()), qsizetype(raw.size())));
        if (utf8.hasError())
            found.unreadable.append(name);
        else if (fs::is_symlink(status))
            found.links.append(name);
        else if (!fs::is_regular_file(status))
            continue;
        // A second name of another file (publication.ini and its password,
        // another student's text): left out as a link is.
        else if (std::error_code linkError; entry->hard_link_count(linkError) != 1)
            found.links.append(name);
        else if (isInterruptedSave(name))
            found.leftovers.append(name);
        else
            found.files.append(name);
    }
    return found;
}

QStringList sourceFiles(const QString &sourceFolder)
{
    return listStudentFiles(sourceFolder).files;
}

bool isLinkedFolder(const QString &folder)
{
    std::error_code error;
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    return std::filesystem::is_symlink(std::filesystem::symlink_status(fsPath(path), error));
}

bool isInterruptedSave(const QString &name)
{
    static const QRegularExpression leftover(u"^.+\\.(html|txt|jpg|css|bak)\\.[A-Za-z0-9]{6}$"_s,
                                             QRegularExpression::CaseInsensitiveOption);
    return leftover.match(name).hasMatch();
}

void removeLeftovers(const QString &folder, const QStringList &leftovers)
{
    for (const QString &name : leftovers)
        QFile::remove(folder + name);
}

QString localCopyPath(const QString &workingFolder, const QString &target, const QString &name)
{
    const QString folder = QDir::cleanPath(QDir(workingFolder).filePath(target));
    if (!QFileInfo(folder).isDir())
        return {};
    return QDir::toNativeSeparators(folder + u'/' + name);
}

QString tableOfContentsAddress(const QString &webAddress, const QString &target)
{
    return webRoot(webAddress) + target.mid(2) + u"_Tablematieres.html"_s;
}

namespace {

// The copy beside the working folder of a file left out: replaced, as a
// publication replaces it, unless it already holds the same bytes.
void keepCopy(const Diffusion &diffusion, const QString &name)
{
    const QString copyPath = localCopyPath(diffusion.workingFolder, diffusion.target, name);
    if (copyPath.isEmpty())
        return;
    const std::optional<QByteArray> copy = workspace::readBytesIfAny(copyPath);
    if (copy && workspace::readBytesIfAny(diffusion.sourceFolder + name) == copy)
        return;
    copySilently(diffusion.sourceFolder + name, copyPath);
}

// Sends the files in their order; told of each file once it is up.
// Told of each file before it goes up (the window shows it already) and once
// it is up.
struct SendHooks
{
    std::function<void(const QString &)> before;
    std::function<void(const QString &)> sent;
};

UploadResult sendFiles(FtpClient &client, const Diffusion &diffusion, const QStringList &files,
                       const UploadWatch &watch, const SendHooks &hooks = {})
{
    UploadResult result;
    result.count = int(files.size());
    for (int i = 0; i < files.size(); ++i) {
        if (watch.cancelRequested && watch.cancelRequested()) {
            result.cancelled = true;
            break;
        }
        const QString &name = files.at(i);
        const QString localPath = diffusion.sourceFolder + name;
        const QFileInfo local(localPath);
        // Deleted since the listing (or put back as a link): there is nothing
        // of the student's left to publish.
        if (!local.isFile() || local.isSymLink()) {
            result.vanished.append(name);
            continue;
        }
        if (watch.fileStarted)
            watch.fileStarted({i + 1, result.count, name, local.size()});
        if (hooks.before)
            hooks.before(name);
        const QString copyPath = localCopyPath(diffusion.workingFolder, diffusion.target, name);
        if (!copyPath.isEmpty())
            copySilently(localPath, copyPath);
        uploadOne(client, localPath, diffusion.target + name, name);
        ++result.published;
        if (hooks.sent)
            hooks.sent(name);
        if (watch.bytesSent)
            watch.bytesSent(local.size(), local.size());
    }
    return result;
}

const RemoteFile *findListed(const QList<RemoteFile> &listing, const QString &name)
{
    for (const RemoteFile &file : listing) {
        if (file.name == name)
            return &file;
    }
    return nullptr;
}

} // namespace

UploadResult uploadFiles(FtpClient &client, const Diffusion &diffusion, const QStringList &files,
                         const UploadWatch &watch)
{
    return sendFiles(client, diffusion, files, watch);
}

UploadResult uploadChangedFiles(FtpClient &client, const Diffusion &diffusion, const QStringList &files,
                                const QString &identity, bool everything, const UploadWatch &watch)
{
    const QString recordPath = sentRecordPath(diffusion.workingFolder, identity);
    const QString &folder = diffusion.target;
    SentFiles record = readSentRecord(recordPath, identity).value_or(SentFiles());
    const QHash<QString, SentFile> before = record.value(folder);
    // Only what the host shows is believed: the listing comes first, and
    // without a record there is nothing to compare it with.
    std::optional<QList<RemoteFile>> listing;
    if (!everything && !before.isEmpty())
        listing = client.list(folder);

    // Keeps the window painted while files are read.
    const auto tick = [&watch] {
        if (watch.bytesSent)
            watch.bytesSent(0, 0);
    };
    // What each file is now, for the record: its size, its bytes' SHA-256
    // and its signature, taken before it is read so that a write meanwhile
    // shows next time.
    QHash<QString, SentFile> now;
    const auto readNow = [&](const QString &name, const SentFile *recorded,
                             const std::function<void()> &reading) -> const SentFile * {
        const QString localPath = diffusion.sourceFolder + name;
        const QString signature = localSignature(localPath);
        const qint64 size = QFileInfo(localPath).size();
        // A file that the file system shows as it was when its bytes were
        // recorded is not read again.
        const std::optional<QByteArray> sha256 = recorded && !signature.isEmpty() && recorded->local == signature
                                                     ? std::optional<QByteArray>(recorded->sha256)
                                                     : fileSha256(localPath, reading);
        if (!sha256)
            return nullptr;
        return &now.insert(name, {size, *sha256, QString(), signature}).value();
    };
    QStringList toSend;
    QStringList unchanged;
    for (const QString &name : files) {
        const auto found = before.constFind(name);
        const SentFile *recorded = found == before.constEnd() ? nullptr : &*found;
        const RemoteFile *listed = listing ? findListed(*listing, name) : nullptr;
        // Only a file the host holds as it was sent may be left out; the
        // others are read when their turn comes.
        const SentFile *current = nullptr;
        if (recorded && listed && listed->size == recorded->size && listed->stamp == recorded->stamp
            && QFileInfo(diffusion.sourceFolder + name).size() == recorded->size)
            current = readNow(name, recorded, tick);
        if (current && unchangedOnHost(recorded, current->size, current->sha256, listed)) {
            unchanged.append(name);
            now[name].stamp = recorded->stamp;
        } else {
            toSend.append(name);
        }
    }
    if (watch.unchangedFound)
        watch.unchangedFound(int(unchanged.size()));
    for (const QString &name : unchanged)
        keepCopy(diffusion, name);

    // The folder's lines are those of the files known to be on the host as
    // recorded: the unchanged ones, then each file once it is up.
    QHash<QString, SentFile> &after = record[folder];
    after.clear();
    for (const QString &name : unchanged)
        after.insert(name, now.value(name));
    const auto writeRecord = [&] {
        if (after.isEmpty())
            record.remove(folder);
        try {
            writeSentRecord(recordPath, identity, record);
        } catch (const workspace::IoError &) {
            // Without its record the next publication sends everything.
            QFile::remove(recordPath);
        }
    };
    // The stamps the host gave the files just sent, to tell next time
    // whether another program wrote them since. A file the host does not
    // show as sent is dropped from the record; without a listing, a file
    // keeps no stamp, and goes again next time where the host gives one.
    const auto learnStamps = [&](const QStringList &sent) {
        if (sent.isEmpty() || !client.connected())
            return;
        std::optional<QList<RemoteFile>> written;
        try {
            written = client.list(folder);
        } catch (const FtpError &) {
            return;
        }
        if (!written)
            return;
        for (const QString &name : sent) {
            const RemoteFile *listed = findListed(*written, name);
            if (listed && after.contains(name) && listed->size == after.value(name).size)
                after[name].stamp = listed->stamp;
            else
                after.remove(name);
        }
    };
    QStringList sent;
    UploadResult result;
    try {
        SendHooks hooks;
        hooks.before = [&](const QString &name) {
            now.remove(name);
            const QString localPath = diffusion.sourceFolder + name;
            const qint64 size = QFileInfo(localPath).size();
            const auto found = before.constFind(name);
            readNow(name, found == before.constEnd() ? nullptr : &*found, [&watch, size] {
                if (watch.bytesSent)
                    watch.bytesSent(0, size);
            });
        };
        hooks.sent = [&](const QString &name) {
            sent.append(name);
            if (now.contains(name))
                after.insert(name, now.value(name));
        };
        result = sendFiles(client, diffusion, toSend, watch, hooks);
    } catch (...) {
        // What went up before the failure is recorded, seen on the host
        // where the connection still holds.
        learnStamps(sent);
        writeRecord();
        throw;
    }
    result.unchanged = int(unchanged.size());
    learnStamps(sent);
    writeRecord();
    return result;
}

} // namespace publishing
