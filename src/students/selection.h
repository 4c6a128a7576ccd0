#pragma once

#include "students/identity.h"
#include "students/studentlist.h"

#include <QString>

// The current selection: the student the student screen has chosen in the
// list or registered, which the import screen, the layout screen and a
// publication take from it. The student screen alone makes it, and shows it
// in its controls.
namespace students {

struct Selection
{
    // The student folder, ending with the separator; before a student is
    // chosen, the students folder of the class in use (empty without one).
    QString studentFolder;
    // The student folder's name, "Dupont_Jean_jean@ecole.fr"; empty until a
    // student is chosen or registered.
    QString student;
    // The class field as it stands.
    QString schoolClass;
    // CheminFTP, the remote student folder: "../Orvane_A_B_C/Dupont_Jean_x/".
    QString remoteFolder;
    // The current reading document's full path, once one is saved.
    QString document;

    bool operator==(const Selection &) const = default;
};

// What the screens show of the student: "ELEVE ACTUEL : " and the folder's
// name. "Dupont_Jean_x" -> "ELEVE ACTUEL : Dupont_Jean_x"; nothing chosen ->
// "ELEVE ACTUEL : ".
QString eleveActuel(const QString &student);

// CheminFTP, one rule for the two ways a student becomes the current one:
// the remote class folder of the class fields, then the student's part.
// Registered: the class fields upper-cased and folded, the student fields as
// typed; the part is the folded form of (folded surname + "_" + folded first
// name + "_" + mail).
QString remoteStudentFolder(const Identity &registered);
// Chosen in the list: the class fields as they stand, and the folder name's
// three parts joined again by "_" (the same name, unless it holds fewer than
// two "_").
QString remoteStudentFolder(const Identity &classFields, const StudentIdentity &listed);

} // namespace students
