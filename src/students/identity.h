#pragma once

#include "workspace/result.h"

#include <QString>

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

// Refuses a cleaned field that cannot name a folder, a line of the class's
// files or a published link: a character that Windows-1252 cannot hold ("Ł"),
// one that would leave the folder or break an FTP command ("/", "\",
// < > : " | *, a control character), one that would cut a link ("#", "%",
// "?"), or a name that is "." or ".." once folded. The reason names the
// field and the character: "Le champ « Ville » contient « Ł » (U+0141), ...".
workspace::Result<void> checkField(const QString &caption, const QString &value);

// The three class fields (Ville, Ecole, Classe), then the three student
// fields (Nom, Prénom, Mail); the first refused gives the reason. Then the
// folder they name together (the class folder, the student folder), when its
// name would be longer than a disk or the host lets a name be (255 bytes),
// naming the longest of its fields: checked before anything is written.
workspace::Result<void> checkClassFields(const Identity &fields);
workspace::Result<void> checkStudentFields(const Identity &fields);

// Refuses a student folder whose path in this working folder would leave no
// room for the files written into it under the longest path the system opens.
workspace::Result<void> checkPathLength(const QString &workingFolder, const Identity &fields);

} // namespace students
