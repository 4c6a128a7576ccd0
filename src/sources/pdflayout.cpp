#include "pdflayout.h"

#include "hyphens.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

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
    // The lower middle: a poem of couplets has as many gaps as pitches.
    const qsizetype middle = (pitches.size() - 1) / 2;
    std::nth_element(pitches.begin(), pitches.begin() + middle, pitches.end());
    return pitches[middle];
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

// Whether a line is further below the one before than the page's usual
// distance: a blank line between them.
bool wideGap(const PdfLine &before, const PdfLine &line, qreal pitch)
{
    const qreal height = std::max<qreal>(before.box.height(), 1);
    const qreal distance = centre(line) - centre(before);
    return pitch > 0 ? distance > 1.35 * pitch : distance > 2.2 * height;
}

// A break that the page's space shows: a new column or frame, a wider gap,
// another size of type. The foot of a column going on at the top of the
// next one is none.
bool spaceBreak(const PdfLine &before, const PdfLine &line, qreal pitch)
{
    const qreal height = std::max<qreal>(before.box.height(), 1);
    const qreal distance = centre(line) - centre(before);
    const bool goesUp = distance < -height / 2;
    const bool otherType = std::abs(line.box.height() - height) > 0.25 * std::max(line.box.height(), height);
    const bool goesOn = goesUp && !endsSentence(before.text) && startsWithLetter(line.text);
    return !goesOn && (goesUp || wideGap(before, line, pitch) || otherType);
}

bool startsParagraph(const PdfLine &before, const PdfLine &line, qreal pitch, qreal columnRight)
{
    const qreal height = std::max<qreal>(before.box.height(), 1);
    const qreal distance = centre(line) - centre(before);
    const bool goesUp = distance < -height / 2;
    const bool indented = line.box.left() > before.box.left() + height;
    const bool cut = endsWithCut(before.text) && startsWithLetter(line.text, false);
    const qreal blank = 0.3 * height;
    const bool wordWouldFit = before.box.right() + blank + line.firstWordWidth < columnRight - 0.2 * height;
    const bool goesOn = goesUp && !endsSentence(before.text) && startsWithLetter(line.text);
    if (goesOn)
        return false;
    return spaceBreak(before, line, pitch) || (!cut && (indented || wordWouldFit));
}

// Whether the line's first letter, quotes and dashes aside, is a capital.
bool startsWithCapital(QStringView text)
{
    for (const QChar c : text) {
        if (c.isLetter())
            return c.isUpper();
        if (!c.isSpace() && !QStringView(u"«\"'\u201C\u2018\u2014\u2013-").contains(c))
            return false;
    }
    return false;
}

bool isPageNumber(const QString &text)
{
    static const QRegularExpression number(
        uR"(^[\s\-\x{2013}\x{2014}(\[]*(page|p\.)?\s*\d{1,4}(\s*(/|sur)\s*\d{1,4})?[\s\-\x{2013}\x{2014})\]]*$)"_s,
        QRegularExpression::CaseInsensitiveOption);
    return number.match(text).hasMatch();
}

// A running line's text with its digits (a page number, a date) left aside.
QString runningKey(const QString &text)
{
    QString key;
    for (const QChar c : text) {
        if (!c.isDigit() && !c.isSpace())
            key += c.toLower();
    }
    return key;
}

// The top-most and the bottom-most line of a page.
std::pair<qsizetype, qsizetype> edges(const QList<PdfLine> &lines)
{
    qsizetype top = 0;
    qsizetype bottom = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (centre(lines[i]) < centre(lines[top]))
            top = i;
        if (centre(lines[i]) > centre(lines[bottom]))
            bottom = i;
    }
    return {top, bottom};
}

} // namespace

QList<PdfParagraph> pageParagraphs(const QList<PdfLine> &lines)
{
    const qreal pitch = usualPitch(lines);
    const QList<qreal> rights = columnRights(lines);
    QList<bool> starts(lines.size(), true);
    for (qsizetype i = 1; i < lines.size(); ++i)
        starts[i] = startsParagraph(lines[i - 1], lines[i], pitch, rights[i - 1]);
    // Verses: three lines or more between two breaks of space, each starting
    // with a capital, are a line each even where a verse's first word would
    // not have fitted at the end of the one before.
    qsizetype block = 0;
    for (qsizetype i = 1; i <= lines.size(); ++i) {
        if (i < lines.size() && !spaceBreak(lines[i - 1], lines[i], pitch))
            continue;
        const bool verses = i - block >= 3
            && std::all_of(lines.begin() + block, lines.begin() + i,
                           [](const PdfLine &line) { return startsWithCapital(line.text); });
        if (verses)
            std::fill(starts.begin() + block, starts.begin() + i, true);
        block = i;
    }
    QList<PdfParagraph> paragraphs;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (starts[i])
            paragraphs.append(PdfParagraph{{}, i > 0 && wideGap(lines[i - 1], lines[i], pitch)});
        paragraphs.last().lines.append(lines[i].text);
    }
    return paragraphs;
}

void leaveOutRunningLines(QList<QList<PdfLine>> &pages)
{
    if (pages.size() < 2)
        return;
    // How many pages show each text at their top, and at their foot.
    QHash<QString, int> tops;
    QHash<QString, int> bottoms;
    for (const QList<PdfLine> &lines : std::as_const(pages)) {
        if (lines.isEmpty())
            continue;
        const auto [top, bottom] = edges(lines);
        ++tops[runningKey(lines[top].text)];
        if (bottom != top)
            ++bottoms[runningKey(lines[bottom].text)];
    }
    const auto running = [&pages](const QHash<QString, int> &counts, const QString &text) {
        const QString key = runningKey(text);
        return isPageNumber(text) || (!key.isEmpty() && counts.value(key) >= 2 && 2 * counts.value(key) > pages.size());
    };
    for (QList<PdfLine> &lines : pages) {
        if (lines.isEmpty())
            continue;
        const auto [top, bottom] = edges(lines);
        const bool dropBottom = bottom != top && running(bottoms, lines[bottom].text);
        const bool dropTop = running(tops, lines[top].text);
        // The later index first, so that the other stays where it is.
        if (dropBottom && bottom > top)
            lines.removeAt(bottom);
        if (dropTop)
            lines.removeAt(top);
        if (dropBottom && bottom < top)
            lines.removeAt(bottom);
    }
}

bool endsSentence(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1].isSpace() || QStringView(u"»\"')]\u201D\u2019").contains(text[end - 1])))
        --end;
    return end > 0 && QStringView(u".!?\u2026:;").contains(text[end - 1]);
}

QList<PdfParagraph> documentParagraphs(const QList<QList<PdfParagraph>> &pages)
{
    QList<PdfParagraph> paragraphs;
    for (const QList<PdfParagraph> &page : pages) {
        for (qsizetype i = 0; i < page.size(); ++i) {
            const QStringList &lines = page[i].lines;
            const bool first = i == 0 && !paragraphs.isEmpty() && !lines.isEmpty()
                && !paragraphs.last().lines.isEmpty();
            const QString before = first ? paragraphs.last().lines.last() : QString();
            const bool goesOn =
                first && ((!endsSentence(before) && startsWithLetter(lines.first())) || endsWithCut(before));
            if (goesOn)
                paragraphs.last().lines.append(lines);
            else
                paragraphs.append(page[i]);
        }
    }
    return paragraphs;
}

} // namespace sources
