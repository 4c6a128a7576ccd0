#include "diffusion.h"

#include "publishing/changedfiles.h"
#include "publishing/remotefolders.h"
#include "publishing/settings.h"
#include "publishing/uploadplan.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Refused: a link on the way to the copy kept beside the working folder,
// which another user of a shared parent folder may have planted.
[[noreturn]] void refuseLinkBeside(const QString &path, bool folder)
{
    throw workspace::IoError(
        u"« %1 » est un lien vers un autre %2 : Tessavo n'écrit pas à travers un lien, qui pourrait mener aux fichiers "
        u"d'un autre élève. Rien n'a été publié. Supprimez ce lien, puis recommencez."_s
            .arg(QDir::toNativeSeparators(path), folder ? u"dossier"_s : u"fichier"_s),
        path);
}

// A file descriptor closed with its owner.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The folder beside the working folder that keeps a copy of what went up
// (the remote student folder taken as a local path relative to the working
// folder), reached level by level without following a link: every write goes
// through the folder so opened, never through a name looked up again.
class CopyFolder
{
public:
    // Nothing when a level does not exist or is no folder (the copy is then
    // not kept, silently); a level that is a link raises IoError naming it.
    static CopyFolder open(const Diffusion &diffusion)
    {
        CopyFolder copies;
        QString path = QDir::cleanPath(QDir::fromNativeSeparators(diffusion.workingFolder));
        // The working folder is the teacher's own, wherever a link of theirs leads.
        Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (fd.get() < 0)
            return copies;
        for (const QString &part : diffusion.target.split(u'/', Qt::SkipEmptyParts)) {
            if (part == u"."_s)
                continue;
            path = part == u".."_s ? QDir::cleanPath(path + u"/.."_s) : path + u'/' + part;
            const QByteArray name = QFile::encodeName(part);
            struct stat status;
            if (part != u".."_s) {
                if (::fstatat(fd.get(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
                    return copies;
                if (S_ISLNK(status.st_mode))
                    refuseLinkBeside(path, true);
                if (!S_ISDIR(status.st_mode))
                    return copies;
            }
            Descriptor next(::openat(fd.get(), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (next.get() < 0 && errno == ELOOP)
                refuseLinkBeside(path, true);
            if (next.get() < 0)
                return copies;
            fd = std::move(next);
        }
        copies.m_fd = std::move(fd);
        copies.m_path = path;
        return copies;
    }

    // Raises IoError naming the first of the files whose copy is a link.
    void refuseLinks(const QStringList &names) const
    {
        for (const QString &name : names)
            refuseLink(name);
    }

    // The copy's bytes, when it is a regular file.
    std::optional<QByteArray> read(const QString &name) const
    {
        if (m_fd.get() < 0)
            return std::nullopt;
        QFile file;
        const int fd = ::openat(m_fd.get(), QFile::encodeName(name).constData(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        struct stat status;
        if (fd < 0)
            return std::nullopt;
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
            || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            return std::nullopt;
        }
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        return bytes;
    }

    // Replaces the copy whole (written beside it, then put in its place), or
    // leaves the earlier one: a failure says nothing. A link in its place
    // raises IoError.
    void write(const QString &name, const QByteArray &bytes) const
    {
        if (m_fd.get() < 0)
            return;
        refuseLink(name);
        static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 10; ++attempt) {
            QByteArray temporary = QFile::encodeName(name) + '.';
            for (int i = 0; i < 6; ++i)
                temporary += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
            const int fd = ::openat(m_fd.get(), temporary.constData(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            if (fd < 0 && errno == EEXIST)
                continue;
            if (fd < 0)
                return;
            bool written = true;
            for (qsizetype done = 0; written && done < bytes.size();) {
                const ssize_t count = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
                if (count < 0 && errno == EINTR)
                    continue;
                written = count > 0;
                done += written ? count : 0;
            }
            written = ::close(fd) == 0 && written;
            if (!written || ::renameat(m_fd.get(), temporary.constData(), m_fd.get(), QFile::encodeName(name).constData()) != 0)
                ::unlinkat(m_fd.get(), temporary.constData(), 0);
            return;
        }
    }

private:
    void refuseLink(const QString &name) const
    {
        struct stat status;
        if (m_fd.get() >= 0 && ::fstatat(m_fd.get(), QFile::encodeName(name).constData(), &status, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISLNK(status.st_mode))
            refuseLinkBeside(m_path + u'/' + name, false);
    }

    Descriptor m_fd;
    QString m_path;
};

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

namespace {

// Larger than any style sheet the layout screen writes; a bigger one names
// nothing more.
constexpr qint64 StyleSheetLimit = 1024 * 1024;

bool endsWithAny(const QString &name, std::initializer_list<QStringView> endings)
{
    return std::any_of(endings.begin(), endings.end(),
                       [&name](QStringView ending) { return name.endsWith(ending, Qt::CaseInsensitive); });
}

bool isOneOf(const QString &name, std::initializer_list<QStringView> names)
{
    return std::any_of(names.begin(), names.end(),
                       [&name](QStringView other) { return name.compare(other, Qt::CaseInsensitive) == 0; });
}

// Tessavo's own backups, settings and working files.
bool settingOrWorkingFile(const QString &name)
{
    static const QRegularExpression sentRecord(u"^publication-envois-.*\\.txt$"_s, QRegularExpression::CaseInsensitiveOption);
    return endsWithAny(name, {u".bak", u".ini"})
           || isOneOf(name, {u"adresse.txt", u"TexteAlire.html", u"TexteAlire2.html", u"TexteAlire_copie.html",
                             u"corrections-mots.txt", u"ListeLecteurs.txt", u"ecole.txt"})
           || sentRecord.match(name).hasMatch();
}

// Files that stay on the teacher's computer whatever names them: those, the
// printed pages and the hidden files.
bool neverPublished(const QString &name)
{
    return name.startsWith(u'.') || name.endsWith(u".pdf"_s, Qt::CaseInsensitive) || settingOrWorkingFile(name);
}

} // namespace

bool readerOpens(const QString &name, const QStringList &folderNames, const QStringList &namedByStyle)
{
    if (neverPublished(name))
        return false;
    // The reading aloud's script, which the documents name while it is sent.
    if (namedByStyle.contains(name) || name == u"style.css"_s || name == u"lecture.js"_s)
        return true;
    if (endsWithAny(name, {u".html", u".htm", u".jpg", u".jpeg", u".png", u".gif", u".webp", u".svg", u".bmp"}))
        return true;
    if (isOneOf(name, {u"_Tablematieres.txt", u"ListeImages.txt"}))
        return true;
    // A document's companions: its text copy "conte.txt", and the audio and
    // word times of its reading aloud, "conte.mp3" and "conte.vtt", beside
    // "conte.html".
    if (!endsWithAny(name, {u".txt", u".mp3", u".vtt"}))
        return false;
    const QString base = name.chopped(4);
    return folderNames.contains(base + u".html"_s) || folderNames.contains(base + u".htm"_s);
}

QStringList namedByStyleSheet(const QByteArray &css)
{
    // url(fond.jpg), url("fond.jpg"), url( 'fond.jpg' )
    static const QRegularExpression url(uR"(url\(\s*(["']?)([^"'()\s]+)\1\s*\))"_s,
                                        QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    const QString text = QString::fromLatin1(css);
    for (auto match = url.globalMatch(text); match.hasNext();) {
        const QString name = match.next().captured(2);
        if (name.contains(u'/') || name.contains(u'\\') || name.contains(u':') || name == u".."_s || name == u"."_s)
            continue;
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

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
    // Only what a reader opens goes up; the rest stays here.
    QStringList namedByStyle;
    if (found.files.contains(u"style.css"_s) && QFileInfo(sourceFolder + u"style.css"_s).size() <= StyleSheetLimit) {
        QFile styleSheet(sourceFolder + u"style.css"_s);
        if (styleSheet.open(QIODevice::ReadOnly))
            namedByStyle = namedByStyleSheet(styleSheet.read(StyleSheetLimit));
    }
    const QStringList candidates = found.files;
    found.files.clear();
    for (const QString &name : candidates)
        (readerOpens(name, candidates, namedByStyle) ? found.files : found.kept).append(name);
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

QString tableOfContentsAddress(const QString &webAddress, const QString &target)
{
    return webRoot(webAddress) + target.mid(2) + u"_Tablematieres.html"_s;
}

namespace {

// The copy beside the working folder of a file left out: replaced, as a
// publication replaces it, unless it already holds the same bytes.
void keepCopy(const Diffusion &diffusion, const CopyFolder &copies, const QString &name)
{
    const std::optional<QByteArray> copy = copies.read(name);
    const std::optional<QByteArray> local = workspace::readBytesIfAny(diffusion.sourceFolder + name);
    if (!local || copy == local)
        return;
    copies.write(name, *local);
}

// What the record keeps of a local file as it is now: its size, its bytes'
// SHA-256 and its signature, taken before it is read so that a write
// meanwhile shows next time. Nothing when it cannot be read.
std::optional<SentFile> lineNow(const QString &localPath, const SentFile *recorded, const std::function<void()> &reading)
{
    const QString signature = localSignature(localPath);
    const qint64 size = QFileInfo(localPath).size();
    const std::optional<QByteArray> sha256 =
        currentSha256(recorded, signature, [&] { return fileSha256(localPath, reading); });
    if (!sha256)
        return std::nullopt;
    return SentFile{size, *sha256, QString(), signature};
}

QList<LocalFile> localFiles(const QString &sourceFolder, const QStringList &names)
{
    QList<LocalFile> files;
    for (const QString &name : names)
        files.append({name, QFileInfo(sourceFolder + name).size(), localSignature(sourceFolder + name)});
    return files;
}

// The record of what went up to a remote folder, written again when the
// upload ends, however it ends: its lines are those of the files known to be
// on the host as recorded, the unchanged ones, then each file once it is up.
class SentRecordKeeper
{
public:
    SentRecordKeeper(FtpClient &client, const Diffusion &diffusion, const QString &identity, SentFiles record,
                     const QHash<QString, SentFile> &unchangedLines)
        : m_client(client)
        , m_diffusion(diffusion)
        , m_identity(identity)
        , m_path(sentRecordPath(diffusion.workingFolder, identity))
        , m_record(std::move(record))
        , m_before(m_record.value(diffusion.target))
    {
        m_record[diffusion.target] = unchangedLines;
    }
    SentRecordKeeper(const SentRecordKeeper &) = delete;
    SentRecordKeeper &operator=(const SentRecordKeeper &) = delete;

    ~SentRecordKeeper()
    {
        learnStamps();
        write();
    }

    // Before a file goes up: what it is now, read while the window shows it.
    void sending(const QString &name, const UploadWatch &watch)
    {
        const QString localPath = m_diffusion.sourceFolder + name;
        const qint64 size = QFileInfo(localPath).size();
        const auto found = m_before.constFind(name);
        m_sending = lineNow(localPath, found == m_before.constEnd() ? nullptr : &*found, [&watch, size] {
            if (watch.bytesSent)
                watch.bytesSent(0, size);
        });
    }

    // Once it is up.
    void sent(const QString &name)
    {
        m_sent.append(name);
        if (m_sending)
            lines().insert(name, *m_sending);
        m_sending.reset();
    }

private:
    QHash<QString, SentFile> &lines() { return m_record[m_diffusion.target]; }

    // The stamps the host gave the files just sent, to tell next time
    // whether another program wrote them since. A file the host does not
    // show as sent is dropped from the record; without a listing, a file
    // keeps no stamp, and goes again next time where the host gives one.
    void learnStamps()
    {
        if (m_sent.isEmpty() || !m_client.connected())
            return;
        std::optional<QList<RemoteFile>> written;
        try {
            written = m_client.list(m_diffusion.target);
        } catch (const FtpError &) {
            return;
        }
        if (!written)
            return;
        QHash<QString, SentFile> &after = lines();
        for (const QString &name : std::as_const(m_sent)) {
            const RemoteFile *listed = listedFile(*written, name);
            if (listed && after.contains(name) && listed->size == after.value(name).size)
                after[name].stamp = listed->stamp;
            else
                after.remove(name);
        }
    }

    void write()
    {
        if (lines().isEmpty())
            m_record.remove(m_diffusion.target);
        try {
            writeSentRecord(m_path, m_identity, m_record);
        } catch (const workspace::IoError &) {
            // Without its record the next publication sends everything.
            QFile::remove(m_path);
        }
    }

    FtpClient &m_client;
    const Diffusion &m_diffusion;
    const QString m_identity;
    const QString m_path;
    SentFiles m_record;
    const QHash<QString, SentFile> m_before;
    std::optional<SentFile> m_sending;
    QStringList m_sent;
};

// Sends the files in their order; the record, when kept, is told of each
// file before it goes up (the window shows it already) and once it is up.
UploadResult sendFiles(FtpClient &client, const Diffusion &diffusion, const CopyFolder &copies,
                       const QStringList &files, const UploadWatch &watch, SentRecordKeeper *record = nullptr)
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
        if (record)
            record->sending(name, watch);
        if (const std::optional<QByteArray> bytes = workspace::readBytesIfAny(localPath))
            copies.write(name, *bytes);
        uploadOne(client, localPath, diffusion.target + name, name);
        ++result.published;
        if (record)
            record->sent(name);
        if (watch.bytesSent)
            watch.bytesSent(local.size(), local.size());
    }
    return result;
}

} // namespace

namespace {

// Whatever list a caller gives, settings, backups and working files stay here.
QStringList withoutPrivateFiles(const QStringList &files)
{
    QStringList kept;
    for (const QString &name : files) {
        if (!neverPublished(name))
            kept.append(name);
    }
    return kept;
}

// Before the files go up: no link on the host is written through, and what
// an earlier version published of the backups, settings and working files
// is taken down (a refusal of the host leaves it, and the publication goes
// on). Hidden files (a host's .htaccess) and pages printed are left as they are.
void prepareRemoteFolder(FtpClient &client, const QString &target, const QStringList &files)
{
    const std::optional<QList<RemoteEntry>> others = guardRemoteFolder(client, target, files);
    if (!others)
        return;
    for (const RemoteEntry &entry : *others) {
        if (entry.kind == RemoteEntry::Kind::Folder || !settingOrWorkingFile(entry.name))
            continue;
        try {
            client.deleteFile(target + entry.name);
        } catch (const FtpError &) {
            if (!client.connected())
                throw;
        }
    }
}

} // namespace

UploadResult uploadFiles(FtpClient &client, const Diffusion &diffusion, const QStringList &files,
                         const UploadWatch &watch)
{
    const QStringList sent = withoutPrivateFiles(files);
    const CopyFolder copies = CopyFolder::open(diffusion);
    copies.refuseLinks(sent);
    prepareRemoteFolder(client, diffusion.target, sent);
    return sendFiles(client, diffusion, copies, sent, watch);
}

UploadResult uploadChangedFiles(FtpClient &client, const Diffusion &diffusion, const QStringList &allFiles,
                                const QString &identity, bool everything, const UploadWatch &watch)
{
    const QStringList files = withoutPrivateFiles(allFiles);
    const CopyFolder copies = CopyFolder::open(diffusion);
    copies.refuseLinks(files);
    prepareRemoteFolder(client, diffusion.target, files);
    SentFiles record = readSentRecord(sentRecordPath(diffusion.workingFolder, identity), identity).value_or(SentFiles());
    const QHash<QString, SentFile> before = record.value(diffusion.target);
    // Only what the host shows is believed: the listing comes first, and
    // without a record there is nothing to compare it with.
    std::optional<QList<RemoteFile>> listing;
    if (!everything && !before.isEmpty())
        listing = client.list(diffusion.target);
    const UploadPlan plan =
        planUpload(before, listing, localFiles(diffusion.sourceFolder, files), [&](const LocalFile &file) {
            // Keeps the window painted while files are read.
            return fileSha256(diffusion.sourceFolder + file.name, [&watch] {
                if (watch.bytesSent)
                    watch.bytesSent(0, 0);
            });
        });
    if (watch.unchangedFound)
        watch.unchangedFound(int(plan.unchanged.size()));
    for (const QString &name : plan.unchanged)
        keepCopy(diffusion, copies, name);

    SentRecordKeeper keeper(client, diffusion, identity, std::move(record), plan.unchangedLines);
    UploadResult result = sendFiles(client, diffusion, copies, plan.toSend, watch, &keeper);
    result.unchanged = int(plan.unchanged.size());
    return result;
}

} // namespace publishing
