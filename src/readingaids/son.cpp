#include "son.h"

#include "markup.h"
#include "trim.h"

namespace readingaids {

namespace {

constexpr QStringView markOpening = u"<FONT color=\"red\"><B>";
constexpr QStringView markClosing = u"</B></FONT>";

// Appends the text with every occurrence of the sound marked.
void markSound(QStringView text, QStringView sound, QString &out)
{
    qsizetype from = 0;
    for (qsizetype found = text.indexOf(sound); found >= 0; found = text.indexOf(sound, from)) {
        out += text.sliced(from, found - from);
        out += markOpening;
        out += sound;
        out += markClosing;
        from = found + sound.size();
    }
    out += text.sliced(from);
}

} // namespace

QString sonLine(QStringView line, QStringView sound)
{
    const QStringView text = trimLine(line);
    if (sound.isEmpty())
        return text.toString();
    QString out;
    out.reserve(text.size() + 16);
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
        out += text.sliced(i, markup);
        i += markup;
        runStart = i;
    }
    markSound(text.sliced(runStart, i - runStart), sound, out);
    return out;
}

} // namespace readingaids
