#pragma once

#include <QString>
#include <QStringView>

// The mark-up that the teacher's text may carry, which every reading aid
// copies unchanged.
namespace readingaids {

// The length of the tag that begins at pos: from its "<" up to and including
// the next ">" of the line; -1 when no ">" follows. ("a<br>b", 1) -> 4
qsizetype tagLength(QStringView line, qsizetype pos);

// The length of the character reference that begins at pos ("&amp;",
// "&#233;", "&#xE9;"); 0 when the "&" there begins none. ("&amp; x", 0) -> 5
qsizetype referenceLength(QStringView line, qsizetype pos);

// The length of the tag or character reference at pos: 0 when there is none,
// -1 for a "<" that no ">" closes on the line. (Inline: the line scanner
// asks at every blank and mark.)
inline qsizetype markupLength(QStringView line, qsizetype pos)
{
    if (line[pos] == u'<')
        return tagLength(line, pos);
    if (line[pos] == u'&')
        return referenceLength(line, pos);
    return 0;
}

// Cuts text into runs of plain text, handed to onText (possibly empty, one
// before each piece of mark-up and one at the end), and pieces of mark-up,
// handed to onMarkup: tags, character references, and the rest of the text
// from a "<" that no ">" closes. "a<br>b" -> onText("a"), onMarkup("<br>"), onText("b")
template <typename OnText, typename OnMarkup>
void splitMarkup(QStringView text, OnText onText, OnMarkup onMarkup)
{
    qsizetype runStart = 0; // where the text since the last piece of mark-up begins
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype markup = text[i] == u'<' || text[i] == u'&' ? markupLength(text, i) : 0;
        if (markup == 0) {
            ++i;
            continue;
        }
        onText(text.sliced(runStart, i - runStart));
        if (markup < 0)
            markup = text.size() - i;
        onMarkup(text.sliced(i, markup));
        i += markup;
        runStart = i;
    }
    onText(text.sliced(runStart, i - runStart));
}

// Text that stays text on the page: "&", "<" and ">" become "&amp;", "&lt;"
// and "&gt;", which the aids copy as character references, never cutting
// inside them. "<script>" -> "&lt;script&gt;"
QString escapeText(QStringView text);

// A line of the teacher's own text with only plain formatting left as
// mark-up: the tags b, i, u, em, strong, font, span, p and br (opening,
// closing or empty), with attributes of presentation only. Any other tag, a
// tag with an "on…" attribute or a value that could run or fetch something
// ("javascript:", "url("), a comment, and a "<" or ">" that opens or closes
// no tag are escaped, so that the page shows them as typed. Character
// references stay. "<b>mot</b><script>" -> "<b>mot</b>&lt;script&gt;"
QString keepPlainFormatting(QStringView line);

} // namespace readingaids
