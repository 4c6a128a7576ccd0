#include "removal.h"

#include "workspace/ioerror.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace students {

namespace {

QString withoutSeparator(QString folder)
{
    while (folder.endsWith(u'/') || folder.endsWith(QDir::separator()))
        folder.chop(1);
    return folder;
}

} // namespace

QString archivePath(const QString &workingFolder, const QString &className, const QString &studentFolderName)
{
    const QString base = QDir(workingFolder).filePath(u"archives/"_s + className + u'/' + studentFolderName);
    QString path = base;
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = base + u'_' + QString::number(n);
    return path;
}

QString archiveStudentFolder(const QString &workingFolder, const QString &className, const QString &studentFolder)
{
    const QString source = withoutSeparator(studentFolder);
    const QString target = archivePath(workingFolder, className, QFileInfo(source).fileName());
    if (!QDir().mkpath(QFileInfo(target).path()) || !QDir().rename(source, target))
        throw workspace::IoError(u"Le dossier de l'élève « %1 » n'a pas pu être rangé dans « %2 » : il est resté à sa "
                                 u"place."_s.arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target)),
                                 source);
    return target;
}

void deleteStudentFolder(const QString &studentFolder)
{
    const QString folder = withoutSeparator(studentFolder);
    const QFileInfo info(folder);
    const bool removed = info.isSymLink() ? QFile::remove(folder) : QDir(folder).removeRecursively();
    if (!removed || QFileInfo::exists(folder))
        throw workspace::IoError(u"Le dossier de l'élève « %1 » n'a pas pu être supprimé en entier."_s.arg(
                                     QDir::toNativeSeparators(folder)),
                                 folder);
}

void removeFromRegister(const QString &studentsFolder, const QString &studentFolderName)
{
    const QString path = studentsFolder + workspace::ListeLecteursTxt;
    if (!QFileInfo(path).isFile())
        return;
    const QStringList lines = workspace::readLines(path);
    QStringList kept;
    for (const QString &line : lines) {
        // surname;first name;class;mail, the mail being the rest.
        const QStringList parts = line.split(u';');
        const bool names = parts.size() >= 4
            && parts[0] + u'_' + parts[1] + u'_' + parts.mid(3).join(u';') == studentFolderName;
        if (!names)
            kept << line;
    }
    if (kept.size() != lines.size())
        workspace::writeLines(path, kept);
}

QStringList withoutStudent(const QStringList &listed, const QString &studentFolderName)
{
    QStringList kept = listed;
    kept.removeAll(studentFolderName);
    return kept;
}

} // namespace students
