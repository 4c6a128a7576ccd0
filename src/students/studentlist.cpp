#include "studentlist.h"

#include <QDir>

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

} // namespace students
