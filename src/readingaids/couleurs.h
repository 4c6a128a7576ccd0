#pragma once

#include "corrections.h"
#include "linescanner.h"

#include <QString>
#include <QStringView>

// Syllables in colours: each word syllable by syllable in red, green, blue,
// black and orange, starting again with red at every word.
namespace readingaids::couleurs {

// The word treatment: appends the coloured word to out. "chat" ->
// <FONT color="red">chat</FONT>; "dort." -> <FONT color="red">dor</FONT><FONT color="green">t.</FONT>
void demontage(QStringView word, const WordContext &context, LineBuffer &out);

inline constexpr ScannedAid aid{Marks::InWord, demontage};

} // namespace readingaids::couleurs

namespace readingaids {

// The output line of a body line for the syllables in colours, the words
// the teacher corrected cut as corrected.
QString couleursLine(QStringView line, const Corrections &corrections = {});

// The same in the colours asked for: InARow, red and green in turn along the
// line. " Le chat dort." -> red Le, green chat, red dor, green t.
QString couleursLine(QStringView line, const Corrections &corrections, SyllableColours colours);

} // namespace readingaids
