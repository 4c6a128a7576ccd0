#pragma once

#include "workspace/result.h"

#include <QString>
#include <QStringList>

#include <utility>

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
// document, "ListeImages" the picture list, "fond" the border picture, a
// working copy of the aids; "style" would pass for the style sheet.
// Compared without case, as the teacher's file system does.
bool isReservedName(const DocumentNames &names);

// The names of those files: "entete.html", "style.css", "TexteAlire2.html"…
QStringList studentFolderOwnFiles();

// Refuses a name chosen in the save dialog that cannot be a document's title:
// the name of a file of Tessavo (isReservedName); a character that would cut
// the document's link or its logo on the tablet ("?", "#", "%"); one
// that a file name cannot hold on the students' computers (< > : " | * \ or a
// control character); one that Windows-1252 cannot hold, which the table of
// contents would show as "?"; ".html" anywhere but at its end; or a title
// too long for the names of the document's files.
// "Où est le chat ?" -> "Le titre « Où est le chat ? » contient « ? », ..."
workspace::Result<void> checkTitle(const DocumentNames &names);

// Refuses a text that cannot be saved as it stands: the characters that
// the student's files cannot hold, even by a typographic equivalent (a
// non-breaking hyphen is written "-"), each with the lines of the text box
// where it stands. Nothing is replaced by "?" without the teacher knowing.
// {"Łódź"} -> "Le texte contient des caractères ... « Ł » (U+0141) à la ligne 1 ..."
workspace::Result<void> checkWritableText(const QStringList &typedLines);

// The lines of the text that the document keeps, with the typographic
// equivalents of the characters that the code page cannot hold. The blank
// lines (empty or of exactly one blank) between two paragraphs become one
// empty line, so that the title and the paragraphs stay apart; those before
// the first line of text and after the last are left out.
// {"Titre", "", " ", "Il était"} -> {"Titre", "", "Il était"}
QStringList textLines(const QStringList &typedLines);

// <img src="conte.jpg"  width="70" height= "70">
QString pictureLine(const QString &pictureName);

// The lines of the text box twice: as the teacher sees them, which the text
// copy keeps, and as the document carries them, where what was brought in
// from a file is escaped already, so that it stays text. One line per line of
// the box in both. A text all typed carries itself.
struct BoxLines
{
    BoxLines(QStringList typed = {})
        : text(typed)
        , markup(std::move(typed))
    {
    }
    BoxLines(QStringList shown, QStringList carried)
        : text(std::move(shown))
        , markup(std::move(carried))
    {
    }

    QStringList text;
    QStringList markup;
};

// A kept line as the document's body carries it: the plain formatting that
// the teacher typed stays mark-up ("<b>mot</b>"), everything else is shown as
// typed (readingaids::keepPlainFormatting), then "<br>".
QString bodyLine(const QString &markupLine);

// The header, the picture line, each kept text line as a body line (an empty
// line between paragraphs is "<br>" alone), and the trailer.
QStringList documentLines(const QStringList &header, const QString &pictureName, const QStringList &markupLines,
                          const QStringList &trailer);

// Copies into the student folder each template that it lacks (the head and
// tail of the documents, the style sheet, the border picture, the font files
// that its style sheet names); an existing copy is never replaced. Both
// folders end with the separator.
void completeStudentFolder(const QString &studentFolder, const QString &templateFolder);

// Writes the text copy, completes the student folder and writes the reading
// document, each file whole or not at all. The head and tail come from the
// student folder.
void writeDocument(const DocumentNames &names, const BoxLines &typedLines, const QString &studentFolder,
                   const QString &templateFolder);

} // namespace import
