#pragma once

#include "publishing/ftpclient.h"

#include <QString>
#include <QStringList>

#include <functional>

// Publishing a student's documents: every file of the student folder goes up
// to the remote student folder, then the published table of contents opens.
namespace publishing {

// What a student folder holds, as a publication sees it. Only the student's
// own files that a reader opens are sent (readerOpens): regular files
// standing directly in the folder, in the order in which the file system
// gives them. Sub-folders, pipes and devices are neither listed nor entered.
struct StudentFiles
{
    QStringList files;       // sent
    QStringList kept;        // settings, working files, backups, printed pages: kept here, never sent
    QStringList links;       // symbolic links and files with more than one name (hard links): never sent
    QStringList unreadable;  // names that are not UTF-8 (shown with U+FFFD): not sent
    QStringList leftovers;   // files of an interrupted save: not sent
};

StudentFiles listStudentFiles(const QString &sourceFolder);

// The files that listStudentFiles sends.
QStringList sourceFiles(const QString &sourceFolder);

// Whether a reader (the reader app, a browser) opens the file of this name
// in a student folder, and so whether a publication sends it. folderNames:
// every file of the folder (a text copy goes with its document);
// namedByStyle: what style.css names (namedByStyleSheet).
// Sent: the documents (.html, .htm), the pictures, style.css and the files
// it names, the table of contents, the picture list and the text copies of
// the documents. Never sent, whatever else names them: backups ("*.bak",
// "conte.html.hors-tessavo.bak"...), settings ("*.ini", "adresse.txt"), the
// program's working files ("TexteAlire2.html", "TexteAlire_copie.html", the
// record of what was sent, the corrections, the register), printed pages
// (.pdf), hidden files, and any other kind of file.
bool readerOpens(const QString &name, const QStringList &folderNames, const QStringList &namedByStyle);

// The files of the folder that a style sheet names by url(...): a plain name
// ("fond.jpg"), quoted or not; a path, an address or data is no file of the
// folder.
QStringList namedByStyleSheet(const QByteArray &css);

// Whether the folder (ending with the separator or not) is itself a symbolic
// link: its files could be anyone's, and it is not published.
bool isLinkedFolder(const QString &folder);

// Whether the name is that of the file a whole-file save writes beside its
// target before it takes its place, left behind when the save was cut short:
// the target's name, a dot and six letters ("conte.html.qWeRtY"). Tessavo's
// own files end with one of its extensions before those six letters.
bool isInterruptedSave(const QString &name);

// Removes those files from the folder (ending with the separator).
void removeLeftovers(const QString &folder, const QStringList &leftovers);

// The web address of a student's table of contents: the root of adresse_web
// (webRoot), the remote student folder without its leading "..", then
// "_Tablematieres.html". ("host", "../Orvane_A_B_C/Dupont_Jean_x/") ->
// "http://host/Orvane_A_B_C/Dupont_Jean_x/_Tablematieres.html"
QString tableOfContentsAddress(const QString &webAddress, const QString &target);

struct Diffusion
{
    QString sourceFolder;   // the local student folder, ending with the separator
    QString target;         // the remote student folder, ending with "/"
    QString workingFolder;  // no trailing separator
};

// One file about to go up: the index-th of count (from 1).
struct UploadStep
{
    int index = 0;
    int count = 0;
    QString name;
    qint64 size = 0;
};

// What the upload loop tells its caller while it runs; every member may be
// left empty.
struct UploadWatch
{
    std::function<void(const UploadStep &)> fileStarted;
    std::function<void(qint64 sent, qint64 total)> bytesSent;
    // Looked at before each file: true stops there.
    std::function<bool()> cancelRequested;
    // Told once, before the first file, how many files are left out as
    // unchanged on the host.
    std::function<void(int unchanged)> unchangedFound;
};

struct UploadResult
{
    int published = 0;      // files that went up
    int count = 0;          // files to send
    int unchanged = 0;      // files left out, the host holding them as they are
    bool cancelled = false;
    QStringList vanished;   // listed, then gone before their turn: not sent
};

// Uploads the files (names from sourceFiles) one after the other on the
// connected client, each replacing the published copy, and keeps a copy
// beside the working folder where that folder exists (silently otherwise):
// the remote path taken as a local path relative to the working folder,
// "../Orvane_A_B_C/Dupont_Jean_x/conte.html" beside "/w" being
// "/Orvane_A_B_C/Dupont_Jean_x/conte.html".
// Nothing goes up when a level of the way to that copy is a link, nor when
// one of the remote folder is (workspace::IoError, FtpError, naming it); a
// remote link in place of a file is removed and the file written instead
// (guardRemoteFolder). Settings, backups and working files never go up,
// whatever the list holds, and those an earlier version published there are
// removed from the remote folder.
// An upload that fails raises FtpError naming the file and the host's reply;
// what went up before stays.
UploadResult uploadFiles(FtpClient &client, const Diffusion &diffusion, const QStringList &files,
                         const UploadWatch &watch = {});

// The same, leaving out the files that this working folder already sent to
// the host (identity: hostIdentity of the login) and remote folder, byte for
// byte, and that the host's listing of the folder still shows at the size
// (and with the stamp) they had. The record of what was sent, beside the
// working folder, says which; without it (missing, unreadable), with
// everything, or with a client that cannot list, every file is sent. The host
// ends holding what a full publication leaves, and the copy beside the
// working folder too. The record is written again whatever happens: what
// went up before a failure or "Annuler" is in it.
UploadResult uploadChangedFiles(FtpClient &client, const Diffusion &diffusion, const QStringList &files,
                                const QString &identity, bool everything, const UploadWatch &watch = {});

} // namespace publishing
