#include "phrases.h"

#include "colours.h"
#include "document.h"
#include "markup.h"
#include "trim.h"

namespace readingaids {

namespace {

// How many characters the sentence mark at pos takes ("..." is one mark);
// 0 when there is none there. A mark is written as typed, in the colour of
// the run it begins: the child reads the guillemets and the ellipsis that the
// teacher typed.
qsizetype sentenceMarkAt(QStringView line, qsizetype pos)
{
    switch (line[pos].unicode()) {
    case u'\u00AB': // «
    case u'\u00BB': // »
    case u'!':
    case u'?':
    case u':':
    case u'\u2026': // …
        return 1;
    case u'.':
        return line.sliced(pos).startsWith(u"...") ? 3 : 1;
    default:
        return 0;
    }
}

struct Colouring
{
    QString out;
    qsizetype switches = 0;

    void colourLine(QStringView line);
};

void Colouring::colourLine(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size()) {
        if (qsizetype markup = markupLength(line, i)) {
            markup = markup < 0 ? line.size() - i : markup;
            out += line.sliced(i, markup);
            i += markup;
        } else if (const qsizetype mark = sentenceMarkAt(line, i); mark > 0) {
            out += colourSwitch(switches++);
            out += line.sliced(i, mark);
            i += mark;
        } else {
            out += line[i++];
        }
    }
}

} // namespace

QString colourSentences(const QStringList &bodyLines)
{
    Colouring colouring;
    colouring.out += opening;
    for (const QString &line : bodyLines)
        colouring.colourLine(line);
    colouring.out += closing;
    return colouring.out;
}

QStringList writeSentences(const QStringList &lines)
{
    const Regions regions = findRegions(lines);
    QStringList output;
    for (qsizetype i = 0; i < regions.logo; ++i)
        output.append(trimLine(lines[i]).toString());
    QString logo = trimLine(lines[regions.logo]).toString();
    logo += opening;
    output.append(logo);
    output.append(colourSentences(lines.sliced(regions.logo + 1, regions.endMarker - regions.logo - 1)));
    QString end = closing.toString();
    end += lines[regions.endMarker];
    output.append(trimLine(end).toString());
    for (qsizetype i = regions.endMarker + 1; i < lines.size(); ++i)
        output.append(trimLine(lines[i]).toString());
    return output;
}

} // namespace readingaids
