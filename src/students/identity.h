#pragma once

#include <QString>

#include <optional>

// The student's identity as the student screen's six fields hold it, and the
// one rule that says what a field may hold. The class folder, the student
// folder, the remote folders, ecole.txt, the register and the class page are
// all named from these fields, so every path that takes them (registering,
// choosing a student in the list) cleans and checks them here first.
namespace students {

struct Identity
{
    QString city;
    QString school;
    QString schoolClass;
    QString surname;
    QString firstName;
    QString mail;
};

// A field as the teacher meant it: the no-break and thin spaces of a paste
// made blanks, the zero-width characters and the soft hyphen removed, the
// non-breaking hyphens made "-", then the blanks at either end dropped.
// " Saint\u2011Denis\u00A0" -> "Saint-Denis", "CM1\u200B" -> "CM1"
QString cleanField(const QString &field);

// The six fields, each cleaned.
Identity cleanIdentity(const Identity &typed);

// Why a cleaned field cannot name a folder, a line of the class's files or a
// published link, or nothing: a character that Windows-1252 cannot hold
// ("Ł"), one that would leave the folder or break an FTP command ("/", "\",
// < > : " | *, a control character), one that would cut a link ("#", "%",
// "?"), or a name that is "." or ".." once folded. The message names the
// field and the character: "Le champ « Ville » contient « Ł » (U+0141), ...".
std::optional<QString> unsafeFieldMessage(const QString &caption, const QString &value);

// The three class fields (Ville, Ecole, Classe), then the three student
// fields (Nom, Prénom, Mail); the first refused gives the message. Then the
// folder they name together (the class folder, the student folder), when its
// name would be longer than a disk or the host lets a name be (255 bytes),
// naming the longest of its fields: checked before anything is written.
std::optional<QString> unsafeClassMessage(const Identity &fields);
std::optional<QString> unsafeStudentMessage(const Identity &fields);

// When the student folder's path in this working folder would leave no room
// for the files written into it under the longest path the system opens.
std::optional<QString> pathTooLongMessage(const QString &workingFolder, const Identity &fields);

} // namespace students
