#pragma once

#include <QString>
#include <QStringList>

namespace students {

// The registered students of a class: the names of the sub-folders of its
// students folder, sorted by name without regard to case. A missing folder
// lists nothing; files are not students.
QStringList studentFolderNames(const QString &studentsFolder);

// The three parts of a student folder name, cut at its first two "_".
// "Dupont_Jean_x@y.fr" -> {"Dupont", "Jean", "x@y.fr"}; without "_" the
// whole name is the e-mail part.
struct StudentIdentity
{
    QString surname;
    QString firstName;
    QString mail;
};
StudentIdentity splitStudentFolderName(const QString &folderName);

// The three parts of a listed student's folder name, taken from the class
// register (ListeLecteurs.txt in the students folder): the newest line whose
// folded surname, folded first name and e-mail address, joined by "_", make
// the folder's name. A surname with a blank, "Le Goff", is folded to "Le_Goff":
// only the register says where it ends. A folder that no line names is cut
// at its first two "_", as splitStudentFolderName does.
// register "Le_Goff;Anne-Laure;CM1;al@x.fr", folder "Le_Goff_Anne-Laure_al@x.fr"
//   -> {"Le_Goff", "Anne-Laure", "al@x.fr"}
StudentIdentity listedStudent(const QString &studentsFolder, const QString &folderName);

// A folded surname or first name as the screens show it: the underscores
// that the folding made of its blanks are blanks again. A name typed with
// "_" folds to the same folder either way. "Le_Goff" -> "Le Goff"
QString shownName(const QString &folded);

} // namespace students
