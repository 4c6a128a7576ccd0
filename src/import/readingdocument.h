#pragma once

#include "workspace/result.h"

#include <QString>
#include <QStringList>

// A text saved as a reading document: the names of its files, its lines and
// its text copy.
namespace import {

// The files of one document, from the path chosen in the save dialog.
// "…/conte" -> conte.html, conte.txt, conte.jpg; "…/conte.HTML" ->
// conte.HTML.html, since ".html" is looked for case-sensitively.
struct DocumentNames
{
    QString documentPath; // the reading document, full path
    QString documentName; // its file name: the document's title
    QString textPath;     // the text copy, full path
    QString picturePath;  // the logo under the document's name, full path
    QString pictureName;  // its file name, as the picture line refers to it
};

DocumentNames documentNames(const QString &chosenPath);

// Whether the document's files would take the place of a file of the student
// folder that is not a document: "entete" would overwrite the head of every
// document, "ListeImages" the picture list, "fond" the border picture.
// Compared without case, as the teacher's file system does.
bool isReservedName(const DocumentNames &names);

// Refuses a name chosen in the save dialog that cannot be a document's title:
// the name of a file of Tessavo (isReservedName); a character that would cut the document's link or its logo on the tablet ("?", "#", "%"); one
// that a file name cannot hold on the students' computers (< > : " | * \ or a
// control character); one that Windows-1252 cannot hold, which the table of
// contents would show as "?"; or ".html" anywhere but at its end.
// "Où est le chat ?" -> "Le titre « Où est le chat ? » contient « ? », ..."
workspace::Result<void> checkTitle(const DocumentNames &names);

// The lines of the text that the document keeps: all but the empty ones and
// those of exactly one blank.
QStringList textLines(const QStringList &typedLines);

// <img src="conte.jpg"  width="70" height= "70">
QString pictureLine(const QString &pictureName);

// The header, the picture line, each kept text line followed by "<br>" (not
// escaped: markup typed by the teacher stays markup), and the trailer.
QStringList documentLines(const QStringList &header, const QString &pictureName, const QStringList &typedLines,
                          const QStringList &trailer);

// Copies into the student folder each template that it lacks (the head and
// tail of the documents, the style sheet, the border picture); an existing
// copy is never replaced. Both folders end with the separator.
void completeStudentFolder(const QString &studentFolder, const QString &templateFolder);

// Writes the text copy, completes the student folder and writes the reading
// document, each file whole or not at all. The head and tail come from the
// student folder.
void writeDocument(const DocumentNames &names, const QStringList &typedLines, const QString &studentFolder,
                   const QString &templateFolder);

} // namespace import
