#include "son.h"

#include "markup.h"
#include "trim.h"

namespace readingaids {

namespace {

constexpr QStringView markOpening = u"<FONT color=\"red\"><B>";
constexpr QStringView markClosing = u"</B></FONT>";

// Appends the text with every occurrence of the sound marked.
void markSound(QStringView text, QStringView sound, LineBuffer &out)
{
    qsizetype from = 0;
    for (qsizetype found = text.indexOf(sound); found >= 0; found = text.indexOf(sound, from)) {
        out.append(text.sliced(from, found - from));
        out.append(markOpening);
        out.append(sound);
        out.append(markClosing);
        from = found + sound.size();
    }
    out.append(text.sliced(from));
}

} // namespace

void sonLine(QStringView line, QStringView sound, LineBuffer &out)
{
    const QStringView text = trimLine(line);
    if (sound.isEmpty()) {
        out.append(text);
        return;
    }
    qsizetype runStart = 0; // where the text since the last tag begins
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype markup = text[i] == u'<' || text[i] == u'&' ? markupLength(text, i) : 0;
        if (markup == 0) {
            ++i;
            continue;
        }
        markSound(text.sliced(runStart, i - runStart), sound, out);
        if (markup < 0)
            markup = text.size() - i;
        out.append(text.sliced(i, markup));
        i += markup;
        runStart = i;
    }
    markSound(text.sliced(runStart, i - runStart), sound, out);
}

QString sonLine(QStringView line, QStringView sound)
{
    // Made in room kept from one line to the next, then copied out at its
    // exact size.
    thread_local LineBuffer out;
    out.clear();
    sonLine(line, sound, out);
    return out.toString();
}

} // namespace readingaids
