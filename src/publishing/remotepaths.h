#pragma once

#include <QString>

// Folders on the publishing host. Remote paths use "/", begin with "../" and
// end with "/" when they name a folder.
namespace publishing {

// "../Orvane_" + city + "_" + school + "_" + class + "/"
QString remoteClassFolderPath(const QString &city, const QString &school, const QString &schoolClass);

// The remote student folder: the remote class folder, then the student's
// folder name and "/". ("A", "B", "C", "Dupont_Jean_x") -> "../Orvane_A_B_C/Dupont_Jean_x/"
QString remoteStudentFolderPath(const QString &city, const QString &school, const QString &schoolClass,
                                const QString &studentFolder);

// Whether every folder the path names after its leading "../" is a plain
// name: not empty, neither "." nor "..", without "\" or a control character,
// so that the path stays inside the host's folders and in one FTP command.
bool isPlainRemotePath(const QString &remotePath);

} // namespace publishing
