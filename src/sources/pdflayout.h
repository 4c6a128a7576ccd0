#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

// Lines of a PDF page put back into paragraphs.
namespace sources {

// One line of words as the page shows it, in reading order.
struct PdfLine
{
    QString text;
    QRectF box;                 // the line's words, in points, y downwards
    qreal firstWordWidth = 0;
};

// A paragraph of a page: the texts of its lines, and whether a gap wider
// than the page's usual one parts it from the paragraph before (a stanza of
// a poem, a paragraph set apart), which the text keeps as an empty line.
struct PdfParagraph
{
    QStringList lines;
    bool apart = false;
    bool operator==(const PdfParagraph &) const = default;
};

// The page's paragraphs. A line starts a new paragraph when
// - it stands above the one before (a new column or frame);
// - the gap from the line before is clearly wider than the page's usual one;
// - its type is clearly larger or smaller (a title);
// - it is indented past the line before by more than its height;
// - its first word would have fitted at the end of the line before, which
//   then ended short by the author's will (a verse, a title, a paragraph's
//   last line), unless that line ends with a word cut by a hyphen;
// - it is a verse: three lines or more between two breaks of space (a new
//   column, a wider gap, another size of type) all start with a capital.
// A line that stands above the one before it starts a new paragraph only
// when the line before ends a sentence or this one does not start in lower
// case: a paragraph goes on from the foot of a column to the next one.
QList<PdfParagraph> pageParagraphs(const QList<PdfLine> &lines);

// Leaves out the running lines of a document of several pages: the top-most
// and the bottom-most line of a page when it is a page number ("-1-", "3",
// "Page 3 / 10") or when its text, digits aside, stands at that place on more
// than half of the pages (a running header or footer).
void leaveOutRunningLines(QList<QList<PdfLine>> &pages);

// Whether a paragraph's text ends a sentence: its last sign, closing quotes
// and brackets aside, is . ! ? … : or ;. "Il dit :" -> true, "Il part" -> false
bool endsSentence(QStringView text);

// Joins each page's paragraphs into the document's: the last paragraph of a
// page goes on into the first of the next when it ends no sentence and that
// one starts in lower case, or it ends with a word cut by a hyphen.
QList<PdfParagraph> documentParagraphs(const QList<QList<PdfParagraph>> &pages);

} // namespace sources
