#include "selection.h"

#include "publishing/remotepaths.h"
#include "workspace/folding.h"
#include "workspace/paths.h"

using namespace Qt::StringLiterals;

namespace students {

QString eleveActuel(const QString &student)
{
    return u"ELEVE ACTUEL : "_s + student;
}

QString remoteStudentFolder(const Identity &registered)
{
    const QString folderName =
        workspace::studentFolderName(registered.surname, registered.firstName, registered.mail);
    return publishing::remoteStudentFolderPath(registered.city, registered.school, registered.schoolClass,
                                               workspace::EnleveAccentsCaseOfDoubles(folderName));
}

QString remoteStudentFolder(const Identity &classFields, const StudentIdentity &listed)
{
    return publishing::remoteStudentFolderPath(classFields.city, classFields.school, classFields.schoolClass,
                                               listed.surname + u'_' + listed.firstName + u'_' + listed.mail);
}

} // namespace students
