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

// The page's paragraphs, each the texts of its lines. A line starts a new
// paragraph when
// - it stands above the one before (a new column or frame);
// - the gap from the line before is clearly wider than the page's usual one;
// - its type is clearly larger or smaller (a title);
// - it is indented past the line before by more than its height;
// - its first word would have fitted at the end of the line before, which
//   then ended short by the author's will (a verse, a title, a paragraph's
//   last line), unless that line ends with a word cut by a hyphen.
QList<QStringList> pageParagraphs(const QList<PdfLine> &lines);

} // namespace sources
