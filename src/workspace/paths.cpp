#include "paths.h"

#include "folding.h"
#include "textfile.h"

#include <QDir>

namespace workspace {

QChar separator()
{
    return QDir::separator();
}

QString workingFolder()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

QString subfolderPath(const QString &parent, const QString &name)
{
    return parent + separator() + name + separator();
}

QString templateFolderPath(const QString &workingFolder)
{
    return subfolderPath(workingFolder, Reserve);
}

QString picturesFolderPath(const QString &workingFolder)
{
    return templateFolderPath(workingFolder) + Cartes;
}

QString classFolderName(const QString &city, const QString &school, const QString &schoolClass)
{
    return city + u'_' + school + u'_' + schoolClass;
}

QString classFolderPath(const QString &workingFolder, const QString &classFolderName)
{
    return subfolderPath(workingFolder, classFolderName);
}

QString studentsFolderPath(const QString &workingFolder, const QString &classFolderName)
{
    return classFolderPath(workingFolder, classFolderName) + Lecteurs + separator();
}

QString studentFolderName(const QString &surname, const QString &firstName, const QString &mail)
{
    return EnleveAccentsCaseOfDoubles(surname) + u'_' + EnleveAccentsCaseOfDoubles(firstName) + u'_' + mail;
}

QUrl travauxAddress(const QString &workingFolder)
{
    return QUrl::fromLocalFile(QDir::fromNativeSeparators(workingFolder) + u'/' + TravauxHtml);
}

SchoolClass readEcole(const QString &path)
{
    const QStringList lines = readLines(path);
    const auto line = [&lines](int i) { return i < lines.size() ? lines[i] : QString(); };
    return {line(0), line(1), line(2)};
}

void writeEcole(const QString &path, const SchoolClass &schoolClass)
{
    writeLines(path, {schoolClass.city, schoolClass.school, schoolClass.schoolClass});
}

} // namespace workspace
