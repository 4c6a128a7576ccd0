#include "diffusion.h"

#include "publishing/settings.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <filesystem>
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

UploadResult uploadFiles(FtpClient &client, const Diffusion &diffusion, const QStringList &files,
                         const UploadWatch &watch)
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
        const QString copyPath = localCopyPath(diffusion.workingFolder, diffusion.target, name);
        if (!copyPath.isEmpty())
            copySilently(localPath, copyPath);
        uploadOne(client, localPath, diffusion.target + name, name);
        ++result.published;
        if (watch.bytesSent)
            watch.bytesSent(local.size(), local.size());
    }
    return result;
}

} // namespace publishing
