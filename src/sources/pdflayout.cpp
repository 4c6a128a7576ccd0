#include "pdflayout.h"

#include "hyphens.h"

#include <algorithm>

namespace sources {

namespace {

qreal centre(const PdfLine &line)
{
    return line.box.center().y();
}

// The usual distance from one line's middle to the next one's, below it.
qreal usualPitch(const QList<PdfLine> &lines)
{
    QList<qreal> pitches;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qreal pitch = centre(lines[i]) - centre(lines[i - 1]);
        if (pitch > 0 && pitch < 3 * lines[i - 1].box.height())
            pitches.append(pitch);
    }
    if (pitches.isEmpty())
        return 0;
    std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
    return pitches[pitches.size() / 2];
}

// Where each column (a run of lines going down the page) ends at the right.
QList<qreal> columnRights(const QList<PdfLine> &lines)
{
    QList<qreal> rights(lines.size());
    qsizetype start = 0;
    for (qsizetype i = 1; i <= lines.size(); ++i) {
        const bool newColumn = i == lines.size() || centre(lines[i]) < centre(lines[i - 1]) - lines[i - 1].box.height() / 2;
        if (!newColumn)
            continue;
        qreal right = 0;
        for (qsizetype j = start; j < i; ++j)
            right = std::max(right, lines[j].box.right());
        for (qsizetype j = start; j < i; ++j)
            rights[j] = right;
        start = i;
    }
    return rights;
}

bool startsParagraph(const PdfLine &before, const PdfLine &line, qreal pitch, qreal columnRight)
{
    const qreal height = std::max<qreal>(before.box.height(), 1);
    const qreal distance = centre(line) - centre(before);
    const bool goesUp = distance < -height / 2;
    const bool wideGap = pitch > 0 ? distance > 1.35 * pitch : distance > 2.2 * height;
    const bool otherType = std::abs(line.box.height() - height) > 0.25 * std::max(line.box.height(), height);
    const bool indented = line.box.left() > before.box.left() + height;
    const bool cut = endsWithCut(before.text) && startsWithLetter(line.text, false);
    const qreal blank = 0.3 * height;
    const bool wordWouldFit = before.box.right() + blank + line.firstWordWidth < columnRight - 0.2 * height;
    return goesUp || wideGap || otherType || (!cut && (indented || wordWouldFit));
}

} // namespace

QList<QStringList> pageParagraphs(const QList<PdfLine> &lines)
{
    QList<QStringList> paragraphs;
    const qreal pitch = usualPitch(lines);
    const QList<qreal> rights = columnRights(lines);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == 0 || startsParagraph(lines[i - 1], lines[i], pitch, rights[i - 1]))
            paragraphs.append(QStringList());
        paragraphs.last().append(lines[i].text);
    }
    return paragraphs;
}

} // namespace sources
