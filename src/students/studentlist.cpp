#include "studentlist.h"

#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFileInfo>

namespace students {

QStringList studentFolderNames(const QString &studentsFolder)
{
    if (studentsFolder.isEmpty())
        return {};
    return QDir(studentsFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot,
                                          QDir::Name | QDir::IgnoreCase);
}

StudentIdentity splitStudentFolderName(const QString &folderName)
{
    const qsizetype first = folderName.indexOf(u'_');
    const QString rest = folderName.mid(first + 1);
    const qsizetype second = rest.indexOf(u'_');
    return {folderName.left(std::max<qsizetype>(first, 0)), rest.left(std::max<qsizetype>(second, 0)),
            rest.mid(second + 1)};
}

StudentIdentity listedStudent(const QString &studentsFolder, const QString &folderName)
{
    const QString registerPath = studentsFolder + workspace::ListeLecteursTxt;
    if (!studentsFolder.isEmpty() && QFileInfo(registerPath).isFile()) {
        const QStringList lines = workspace::readLines(registerPath);
        for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
            // surname;first name;class;mail. The mail is the rest: a ";" in it
            // stays in it.
            const QStringList parts = line->split(u';');
            if (parts.size() < 4)
                continue;
            const QString mail = parts.mid(3).join(u';');
            if (parts[0] + u'_' + parts[1] + u'_' + mail == folderName)
                return {parts[0], parts[1], mail};
        }
    }
    return splitStudentFolderName(folderName);
}

QString shownName(const QString &folded)
{
    return QString(folded).replace(u'_', u' ');
}

} // namespace students
