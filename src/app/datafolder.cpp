#include "datafolder.h"

#include "workspace/ioerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace app {

namespace {

constexpr QFile::Permissions FileMode =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions FolderMode =
    FileMode | QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;

// Anything of that name, a dangling link included.
bool present(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

workspace::IoError cannotMakeFolder(const QString &path)
{
    return workspace::IoError(u"Le dossier « %1 » ne peut pas être créé."_s.arg(QDir::toNativeSeparators(path)), path);
}

// Copies a file to a new name; a failure to write is told as one of the
// folder "shown", the name the teacher knows. The copy belongs to the
// teacher, whatever the rights of the installed data.
void copyFile(const QString &source, const QString &target, const QString &shown)
{
    QFile file(source);
    if (!file.copy(target)) {
        const bool unread = file.error() == QFileDevice::OpenError || file.error() == QFileDevice::ReadError;
        throw unread ? workspace::IoError::cannotRead(source)
                     : shown.isEmpty() ? workspace::IoError::cannotWrite(target) : cannotMakeFolder(shown);
    }
    QFile::setPermissions(target, FileMode);
}

// Copies what the source folder holds into the existing target folder. Links
// inside are left out: the data holds none, and one could make a loop.
void copyContents(const QString &source, const QString &target, const QString &shown)
{
    const QFileInfoList entries =
        QDir(source).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString copy = target + u'/' + entry.fileName();
        if (entry.isDir()) {
            if (!QDir().mkdir(copy))
                throw cannotMakeFolder(shown);
            QFile::setPermissions(copy, FolderMode);
            copyContents(entry.filePath(), copy, shown);
        } else {
            copyFile(entry.filePath(), copy, shown);
        }
    }
}

// The folder is filled beside its place and then renamed into it, so that
// an interrupted copy leaves no half folder under the real name.
void copyFolder(const QString &source, const QString &target)
{
    const QFileInfo place(target);
    QTemporaryDir staging(place.absolutePath() + u"/."_s + place.fileName() + u"-XXXXXX"_s);
    if (!staging.isValid())
        throw cannotMakeFolder(target);
    copyContents(source, staging.path(), target);
    QFile::setPermissions(staging.path(), FolderMode);
    // A rename that would replace something is refused.
    if (!QDir().rename(staging.path(), target))
        throw cannotMakeFolder(target);
    staging.setAutoRemove(false);
}

} // namespace

QString dataFolder(const QString &executableFolder)
{
    return QDir::cleanPath(executableFolder + u"/../share/tessavo"_s);
}

QString chooseWorkingFolder(const QString &given, const QString &currentFolder, const QString &homeFolder)
{
    const QDir current(currentFolder);
    if (!given.isEmpty())
        return QDir::cleanPath(current.absoluteFilePath(given));
    if (QFileInfo(current.filePath(u"reserve"_s)).isDir())
        return QDir::cleanPath(current.absolutePath());
    return QDir::cleanPath(QDir(homeFolder).absoluteFilePath(u"Tessavo"_s));
}

QStringList prepareWorkingFolder(const QString &dataFolder, const QString &workingFolder)
{
    if (!QDir().mkpath(workingFolder))
        throw cannotMakeFolder(workingFolder);
    QStringList written;
    for (const QLatin1StringView name : DataEntries) {
        const QString target = workingFolder + u'/' + name;
        if (present(target))
            continue;
        const QFileInfo source(dataFolder + u'/' + name);
        if (!source.exists())
            throw workspace::IoError(u"Les fichiers de Tessavo sont incomplets : « %1 » est introuvable. "
                                     u"Installez Tessavo à nouveau."_s.arg(QDir::toNativeSeparators(source.filePath())),
                                     source.filePath());
        if (source.isDir())
            copyFolder(source.filePath(), target);
        else
            copyFile(source.filePath(), target, {});
        written.append(name);
    }
    return written;
}

} // namespace app
