#pragma once

#include "import/readingdocument.h"
#include "layout/reapply.h"
#include "workspace/result.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Reopening one of the student's reading documents to correct it, and saving
// it again in its place.
namespace import {

// The student's reading document that the chosen file is: an .html of the
// student folder (ending with the separator) that carries the document
// markers, or the text copy (.txt) beside such a document. Nothing for any
// other file: a document of another folder, one without markers, the files
// of Tessavo (entete.html, _Tablematieres.html, the working copies), the
// backups. A document of the folder that is a link or no regular file is
// not read here (a named pipe would never answer): it is the student's, and
// reopenDocument refuses it.
std::optional<DocumentNames> studentDocument(const QString &chosenPath, const QString &studentFolder);

// What the import screen shows of a reopened document.
struct ReopenedDocument
{
    DocumentNames names; // documentPath, documentName (its title), pictureName (NomImage)...
    QStringList text;    // the text the teacher typed: its text copy
    // For each line of text, whether the document shows it as brought in from
    // a file (its "<" and "&" as text): a correction keeps it so.
    QList<bool> broughtIn;
};

// The document's text from its text copy, never from the document, which may
// carry an aid. A text copy that an editor saved again in UTF-8 is read as
// UTF-8. A document whose text copy is gone gives the body of its
// untransformed form; one that carries an aid whose backup is gone too is
// refused (workspace::IoError). Refused, with the reason in French: a title
// that a document saved by Tessavo could not have (renamed outside it:
// "Exercice #2", "Łódź"), a document or text copy that is a link or no
// regular file, a text holding a word of over 1,000 characters (as a file
// brought in is).
workspace::Result<ReopenedDocument> reopenDocument(const DocumentNames &names);

// The lines of a text copy: valid UTF-8 (with or without its mark) as UTF-8,
// anything else as Windows-1252. Raises workspace::IoError.
QStringList readTextCopy(const QString &path);

// What saving a correction kept besides the corrected document.
struct SavedAgain
{
    // The document as it was before the correction, when it no longer was
    // what Tessavo had made of its text copy (changed outside Tessavo since
    // its last save): its full path. Nothing when the document was Tessavo's.
    std::optional<QString> keptCopy;
    // The body aid the document carried, put on the corrected text again.
    std::optional<layout::CarriedAid> aid;
    // The document carried an aid that could not be told: it is saved
    // without it.
    bool aidLost = false;
};

// The message that tells the teacher where that version was kept.
QString keptCopyMessage(const DocumentNames &names, const QString &keptCopy);

// The message that tells the teacher the aid could not be put back.
QString aidLostMessage(const DocumentNames &names);

// Saves the corrected text over a reopened document, under the same title and
// with the same logo: the text copy and the document are rewritten; the
// document keeps its own head and tail, so its highlight and borders stay,
// and the body aid it carried is put on the corrected text again, as the
// layout screen puts it on (layout::putAidOn: the same output, backups and
// flag lines), with the teacher's corrections of the working folder and the
// sound, by its letters or by ear. The student folder is completed from the
// templates of the working folder; the document's entry keeps its place in
// the table of contents. A document changed outside Tessavo since its last
// save is first kept beside it, as "<document>.hors-tessavo.bak".
// Raises workspace::IoError.
SavedAgain saveAgain(const DocumentNames &names, const BoxLines &typedLines, const QString &studentFolder,
                     const QString &workingFolder);

// One document of the student's table of contents.
struct StudentDocument
{
    QString title;        // "conte.html": the name the table shows
    QString documentPath; // full path
    QString picturePath;  // its logo, full path
};

// The student's documents, newest first, from _Tablematieres.txt: a document
// listed twice shows once, at its newest place; one whose file is gone, or
// that lies in another folder ("../autre/x.html"), is left out. A student
// folder without a table has none.
QList<StudentDocument> studentDocuments(const QString &studentFolder);

} // namespace import
