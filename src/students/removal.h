#pragma once

#include <QString>
#include <QStringList>

// A pupil removed at the end of the year, or when leaving the class: what
// stays on the teacher's computer, and where.
namespace students {

// Where a removed pupil's folder is kept: archives/ of the working folder,
// under the class folder's name, then the student folder's name, a number
// added when that name is taken.
// ("/w", "EVRY_JAURES_CM1", "Le_Boeuf_Zoe_x") -> "/w/archives/EVRY_JAURES_CM1/Le_Boeuf_Zoe_x"
QString archivePath(const QString &workingFolder, const QString &className, const QString &studentFolderName);

// Moves the student folder (ending with the separator or not) to its
// archive; raises workspace::IoError when it cannot, the folder then where
// it was.
QString archiveStudentFolder(const QString &workingFolder, const QString &className, const QString &studentFolder);

// Deletes the student folder with everything in it; raises workspace::IoError
// when something is left. A link in its place is removed, never followed.
void deleteStudentFolder(const QString &studentFolder);

// Removes the pupil's lines from the class register (ListeLecteurs.txt of
// the students folder): those whose folded names and mail make the folder's
// name. Every other line stays byte for byte.
void removeFromRegister(const QString &studentsFolder, const QString &studentFolderName);

// The listed names without the removed pupil's.
QStringList withoutStudent(const QStringList &listed, const QString &studentFolderName);

} // namespace students
