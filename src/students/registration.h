#pragma once

#include "students/identity.h"
#include "workspace/paths.h"
#include "workspace/result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// The rules of "Enregistrer cet élève": the checks of the identity fields in
// their order (what a field may hold: identity.h), and the names and lines
// that a registration writes (the registration itself: registerstudent.h).
namespace students {

// The placeholder texts still in a field, in the order of the checks:
// "Classe", "Ville", "Ecole", "Nom", "Prénom". Empty fields pass.
workspace::Result<void> checkPlaceholders(const Identity &fields);

// A new class needs a city, a school and a class, checked in that order.
workspace::Result<void> checkNewClass(const QString &city, const QString &school, const QString &schoolClass);

// "@" or nothing: no student can be registered, nor a text imported for one.
bool isMissingMail(const QString &mail);
inline const QString MissingMailMessage = QStringLiteral("Il faut mettre un nom d'email valide");

// Upper-cased (a to z only), folded, upper-cased again: "évry" -> "EVRY".
QString classFieldName(const QString &field);

// Whether the typed class is another than the one in use (none in use: no):
// a change of city, school or class, each compared upper-cased and folded,
// so that "6ème" typed again is still the class 6EME.
bool isClassChange(const Identity &typed, const workspace::SchoolClass &inUse);

// The register line: surname;first name;class;mail, the names folded, the
// class field upper-cased and folded already.
// "Hélène", "Zoé", "CM1", "h@x.fr" -> "Helene;Zoe;CM1;h@x.fr"
QString registerLine(const Identity &fields);

// What a registration writes, undone when it stops half-way: each file kept
// comes back as it was (or goes, when there was none), and each folder that
// did not exist when it was kept is removed with what it holds. Undoing
// raises nothing: it runs while the failure that stopped the registration is
// on its way to the teacher.
class RegistrationUndo
{
public:
    void keepFile(const QString &path);
    void keepFolder(const QString &path);
    void undo() const noexcept;

private:
    QList<std::pair<QString, std::optional<QByteArray>>> m_files;
    QStringList m_newFolders;
};

} // namespace students
