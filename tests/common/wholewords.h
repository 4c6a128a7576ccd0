#pragma once

#include <QString>

// An aid's output as the tests write it: a word in braces stands for the word
// between the mark-up that keeps it whole on its line.
// " Le {cho-co-lat}<br>" -> " Le <span style="white-space:nowrap">cho-co-lat</span><br>"
inline QString keptWhole(QString text)
{
    using namespace Qt::StringLiterals;
    return text.replace(u'{', uR"(<span style="white-space:nowrap">)"_s).replace(u'}', u"</span>"_s);
}
