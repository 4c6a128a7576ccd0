#include "diffusion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

// Replaces the copy whole or leaves the earlier one; a failure says nothing.
void copySilently(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return;
    QSaveFile copy(to);
    if (!copy.open(QIODevice::WriteOnly))
        return;
    if (copy.write(source.readAll()) == source.size())
        copy.commit();
    else
        copy.cancelWriting();
}

void uploadOne(platform::FtpClient &client, const QString &localPath, const QString &remotePath,
               const QString &name)
{
    try {
        client.put(localPath, remotePath);
    } catch (const platform::FtpError &error) {
        // A lost connection does not say which of many files it stopped.
        if (error.message().contains(name))
            throw;
        throw platform::FtpError(u"Le fichier « %1 » n'a pas pu être publié : %2"_s.arg(name, error.message()));
    }
}

} // namespace

QStringList sourceFiles(const QString &sourceFolder)
{
    const QDir folder(sourceFolder);
    return folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
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
    return webAddress + target.mid(2) + u"_Tablematieres.html"_s;
}

UploadResult uploadFiles(platform::FtpClient &client, const Diffusion &diffusion, const QStringList &files,
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
        // Deleted since the listing: there is nothing left to publish.
        if (!local.isFile()) {
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
