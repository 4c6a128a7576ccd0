#pragma once

#include "import/readingdocument.h"

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
// backups.
std::optional<DocumentNames> studentDocument(const QString &chosenPath, const QString &studentFolder);

// What the import screen shows of a reopened document.
struct ReopenedDocument
{
    DocumentNames names; // documentPath, documentName (its title), pictureName (NomImage)...
    QStringList text;    // the text the teacher typed: its text copy
};

// The document's text from its text copy, never from the document, which may
// carry an aid. A document whose text copy is gone gives the body of its
// untransformed form; one that carries an aid whose backup is gone too is
// refused. Raises workspace::IoError.
ReopenedDocument reopenDocument(const DocumentNames &names);

// Saves the corrected text over a reopened document, under the same title and
// with the same logo: the text copy and the document are rewritten (the
// document keeps its own head and tail, so its highlight and borders stay, and
// carries no aid any more, its backups following: layout::replaceText); the
// student folder is completed from the templates; the document's entry keeps
// its place in the table of contents. Raises workspace::IoError.
void saveAgain(const DocumentNames &names, const QStringList &typedLines, const QString &studentFolder,
               const QString &templateFolder);

// One document of the student's table of contents.
struct StudentDocument
{
    QString title;        // "conte.html": the name the table shows
    QString documentPath; // full path
    QString picturePath;  // its logo, full path
};

// The student's documents, newest first, from _Tablematieres.txt: a document
// listed twice shows once, at its newest place; one whose file is gone is left
// out. A student folder without a table has none.
QList<StudentDocument> studentDocuments(const QString &studentFolder);

} // namespace import
