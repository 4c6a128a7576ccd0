#include "registration.h"

#include "publishing/remotepaths.h"
#include "workspace/folding.h"
#include "workspace/paths.h"

using namespace Qt::StringLiterals;

namespace students {

namespace {

bool isForbidden(QChar ch)
{
    static const QString forbidden = u"/\\<>:\"|?*"_s;
    return forbidden.contains(ch) || ch.category() == QChar::Other_Control;
}

std::optional<QString> firstRefused(const QList<std::pair<QString, QString>> &fields)
{
    for (const auto &[caption, value] : fields) {
        if (std::optional<QString> message = unsafeFieldMessage(caption, value))
            return message;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> unsafeFieldMessage(const QString &caption, const QString &value)
{
    if (std::any_of(value.begin(), value.end(), isForbidden))
        return u"Le champ « %1 » contient un caractère interdit dans un nom de dossier "
               "(/ \\ < > : \" | ? * ou un retour à la ligne) : corrigez-le."_s.arg(caption);
    const QString folded = workspace::EnleveAccentsCaseOfDoubles(value);
    if (folded == u"."_s || folded == u".."_s)
        return u"Le champ « %1 » ne peut pas être « . » ni « .. » : corrigez-le."_s.arg(caption);
    return std::nullopt;
}

std::optional<QString> unsafeClassMessage(const Identity &fields)
{
    return firstRefused({{u"Ville"_s, fields.city}, {u"Ecole"_s, fields.school}, {u"Classe"_s, fields.schoolClass}});
}

std::optional<QString> unsafeStudentMessage(const Identity &fields)
{
    return firstRefused({{u"Nom"_s, fields.surname}, {u"Prénom"_s, fields.firstName}, {u"Mail"_s, fields.mail}});
}

std::optional<QString> placeholderMessage(const Identity &fields)
{
    if (fields.schoolClass == u"Classe"_s)
        return u"Entrez une Classe valide"_s;
    if (fields.city == u"Ville"_s)
        return u"Entrez une Ville valide"_s;
    if (fields.school == u"Ecole"_s)
        return u"Entrez une Ecole valide"_s;
    if (fields.surname == u"Nom"_s)
        return u"Entrez un Nom valide"_s;
    if (fields.firstName == u"Prénom"_s)
        return u"Entrez un Prénom valide"_s;
    return std::nullopt;
}

std::optional<QString> emptyClassMessage(const QString &city, const QString &school, const QString &schoolClass)
{
    if (city.isEmpty())
        return u"Il faut mettre un nom de ville valide"_s;
    if (school.isEmpty())
        return u"Il faut mettre un nom d'école valide"_s;
    if (schoolClass.isEmpty())
        return u"Il faut mettre un nom de classe valide"_s;
    return std::nullopt;
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

QString remoteStudentFolder(const Identity &fields)
{
    return publishing::remoteClassFolderPath(fields.city, fields.school, fields.schoolClass)
           + workspace::EnleveAccentsCaseOfDoubles(
               workspace::studentFolderName(fields.surname, fields.firstName, fields.mail))
           + u'/';
}

QString registerLine(const Identity &fields)
{
    return workspace::EnleveAccentsCaseOfDoubles(fields.surname) + u';'
           + workspace::EnleveAccentsCaseOfDoubles(fields.firstName) + u';' + fields.schoolClass + u';' + fields.mail;
}

} // namespace students
