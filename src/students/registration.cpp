#include "registration.h"

#include "workspace/folding.h"
#include "workspace/paths.h"

using namespace Qt::StringLiterals;

namespace students {

workspace::Result<void> checkPlaceholders(const Identity &fields)
{
    if (fields.schoolClass == u"Classe"_s)
        return workspace::refuse(u"Entrez une Classe valide"_s);
    if (fields.city == u"Ville"_s)
        return workspace::refuse(u"Entrez une Ville valide"_s);
    if (fields.school == u"Ecole"_s)
        return workspace::refuse(u"Entrez une Ecole valide"_s);
    if (fields.surname == u"Nom"_s)
        return workspace::refuse(u"Entrez un Nom valide"_s);
    if (fields.firstName == u"Prénom"_s)
        return workspace::refuse(u"Entrez un Prénom valide"_s);
    return {};
}

workspace::Result<void> checkNewClass(const QString &city, const QString &school, const QString &schoolClass)
{
    if (city.isEmpty())
        return workspace::refuse(u"Il faut mettre un nom de ville valide"_s);
    if (school.isEmpty())
        return workspace::refuse(u"Il faut mettre un nom d'école valide"_s);
    if (schoolClass.isEmpty())
        return workspace::refuse(u"Il faut mettre un nom de classe valide"_s);
    return {};
}

bool isMissingMail(const QString &mail)
{
    return mail == u"@"_s || mail.isEmpty();
}

QString classFieldName(const QString &field)
{
    // Upper-cased again after the folding, so that the field, whose change
    // handler upper-cases it, keeps naming the same folder: "évry" gives
    // "EVRY", never "eVRY" beside a field showing "EVRY".
    return workspace::upperCaseClassField(
        workspace::EnleveAccentsCaseOfDoubles(workspace::upperCaseClassField(field)));
}

bool isClassChange(const Identity &typed, const workspace::SchoolClass &inUse)
{
    if (inUse.schoolClass.isEmpty())
        return false;
    return classFieldName(typed.city) != classFieldName(inUse.city)
        || classFieldName(typed.school) != classFieldName(inUse.school)
        || classFieldName(typed.schoolClass) != classFieldName(inUse.schoolClass);
}

QString registerLine(const Identity &fields)
{
    return workspace::EnleveAccentsCaseOfDoubles(fields.surname) + u';'
           + workspace::EnleveAccentsCaseOfDoubles(fields.firstName) + u';' + fields.schoolClass + u';' + fields.mail;
}

} // namespace students
