#pragma once

#include <QString>
#include <QStringView>

namespace readingaids {

// Every occurrence of src in s replaced by dest, with the result of searching
// again from the start of the text after each replacement (so a replacement
// may take part in a later occurrence). An empty src leaves s as it is.
// When a replacement could bring new occurrences without ever shrinking the
// text (dest containing src, say "a" by "ba"), searching again could go on
// for ever: each occurrence of the original s is then replaced once, in one
// pass. ("le chat", "a", "A") -> "le chAt"
QString AnsiReplaceStr(QStringView s, QStringView src, QStringView dest);

// As AnsiReplaceStr, the replacements taking the five texts in turn: the
// 1st, 6th, 11th... occurrence becomes dest1, the 2nd, 7th... dest2, and so on.
// ("a-b-c", "-", "1", "2", "3", "4", "5") -> "a1b2c"
QString AnsiReplaceStrPaire(QStringView s, QStringView src, QStringView dest1, QStringView dest2,
                            QStringView dest3, QStringView dest4, QStringView dest5);

} // namespace readingaids
