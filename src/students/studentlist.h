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

} // namespace students
