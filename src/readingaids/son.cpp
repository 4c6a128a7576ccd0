#include "son.h"

#include "markup.h"
#include "trim.h"

namespace readingaids {

void markLetters(QStringView text, QStringView sound, LineBuffer &out)
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

void sonLine(QStringView line, QStringView sound, LineBuffer &out)
{
    const QStringView text = trimLine(line);
    if (sound.isEmpty()) {
        out.append(text);
        return;
    }
    splitMarkup(
        text, [&out, sound](QStringView run) { markLetters(run, sound, out); },
        [&out](QStringView markup) { out.append(markup); });
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
