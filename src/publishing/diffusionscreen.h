#pragma once

#include <QString>

class QWidget;

// The part of a publication that both screens share, the layout screen's and
// the import screen's: the checks, the connection, the uploads under a
// progress window and the disconnection. The messages before and after are
// each screen's own. It is screen code of publishing, in a library of its own
// (tessavo_publishing_ui): the publishing logic itself links no toolkit.
namespace publishing {

// Shown by both screens before connecting.
QString MessageLecteur();

// MessageLecteur's box, with the check box "Tout republier" under it,
// unchecked: true when the teacher asks to send every file again, even those
// the host already holds as they are.
bool askBeforePublishing(QWidget *screen);

enum class DiffusionEnd {
    Stopped,    // nothing to send (no student folder, one that is a link, no file in it) or no
                // connection: the teacher was told
    Cancelled,  // "Annuler": the teacher was told how many files went up
    Published,  // every file went up
};

struct DiffusionOutcome
{
    DiffusionEnd end = DiffusionEnd::Stopped;
    int published = 0;
    int unchanged = 0;        // files left out, the host holding them as they are
    QString tableOfContents;  // the published table of contents' web address
};

// Before the first upload of the run: when publication.ini of the working
// folder sends in clear (plain FTP to another computer), the teacher is told
// so, once per run; the upload goes on.
void warnIfPlainFtp(QWidget *screen, const QString &workingFolder);

// True while a publication runs; a second one does not start meanwhile.
bool publicationRunning();

// Publishes the files of the student folder source (ending with the
// separator) to the remote student folder target, on a connection of its own.
// What is not the student's own is left out and the teacher told (links,
// unreadable names); the files of an interrupted save are removed. A failed
// upload raises its FtpError, which names the file.
// Only the files that changed since this working folder last published there
// go up, unless everything is asked (uploadChangedFiles); the progress window
// says how many were left out.
DiffusionOutcome publish(QWidget *screen, const QString &source, const QString &target, bool everything = false);

// Opens the published table of contents in the browser; where the desktop
// cannot, the teacher is told its address.
void openTableOfContents(QWidget *screen, const DiffusionOutcome &outcome);

} // namespace publishing
