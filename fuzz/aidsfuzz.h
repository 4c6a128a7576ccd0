#pragma once

// What the fuzz targets of the word aids take out of an aid's output to find
// the teacher's text again: the colour texts and the mark-up that keeps a
// dashed word whole (plain removals: a regular expression would refuse a
// text with a lone surrogate).

#include "readingaids/colours.h"
#include "readingaids/linescanner.h"

#include <QString>

namespace fuzzing {

inline QString withoutColours(const QString &text)
{
    QString out = text;
    for (const char16_t *colour : {u"<FONT color=\"red\">", u"<FONT color=\"green\">", u"<FONT color=\"blue\">",
                                   u"<FONT color=\"black\">", u"<FONT color=\"orange\">"})
        out.remove(QString::fromUtf16(colour));
    out.remove(readingaids::closing.toString());
    return out;
}

inline QString withoutWholeWords(const QString &text)
{
    QString out = text;
    out.remove(readingaids::wholeWordOpening.toString());
    out.remove(readingaids::wholeWordClosing.toString());
    return out;
}

} // namespace fuzzing
