#include "registration.h"

#include "workspace/folding.h"
#include "workspace/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

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

void RegistrationUndo::keepFile(const QString &path)
{
    std::optional<QByteArray> bytes;
    QFile file(path);
    if (QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    m_files.append({path, bytes});
}

void RegistrationUndo::keepFolder(const QString &path)
{
    if (!QFileInfo::exists(path))
        m_newFolders.append(path);
}

void RegistrationUndo::undo() const noexcept
{
    // The deepest folder first: the class folder holds the student's.
    for (auto folder = m_newFolders.crbegin(); folder != m_newFolders.crend(); ++folder) {
        if (QFileInfo(*folder).isDir() && !QFileInfo(*folder).isSymLink())
            QDir(*folder).removeRecursively();
    }
    for (const auto &kept : m_files) {
        // Named, not bound: clang 14 (the fuzz and sanitizer build) lets no
        // lambda capture a structured binding.
        const QString &path = kept.first;
        const auto &bytes = kept.second;
        const bool inRemovedFolder = std::any_of(m_newFolders.begin(), m_newFolders.end(), [&](const QString &folder) {
            return path.startsWith(folder);
        });
        if (inRemovedFolder)
            continue;
        if (!bytes) {
            QFile::remove(path);
            continue;
        }
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(*bytes) == bytes->size())
            file.commit();
    }
}

} // namespace students
