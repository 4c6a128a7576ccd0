#pragma once

#include "corrections.h"
#include "linescanner.h"

#include <QString>
#include <QStringView>

// Syllables with dashes: the syllables of each word joined by "-".
namespace readingaids::tirets {

// The word treatment: appends the word with its syllables joined by "-" to
// out. "chocolat" -> "cho-co-lat"
void demontage(QStringView word, const WordContext &context, LineBuffer &out);

inline constexpr ScannedAid aid{Marks::InWord, demontage};

} // namespace readingaids::tirets

namespace readingaids {

// The output line of a body line for the syllables with dashes, the words
// the teacher corrected cut as corrected.
// "Le chocolat est bon.<br>" -> " Le cho-co-lat est bon.<br>"
QString tiretsLine(QStringView line, const Corrections &corrections = {});

} // namespace readingaids
