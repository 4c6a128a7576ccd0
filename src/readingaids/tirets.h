#pragma once

#include "linescanner.h"

#include <QString>
#include <QStringView>

// Syllables with dashes: the syllables of each word joined by "-".
namespace readingaids::tirets {

// The word treatment: appends the word with its syllables joined by "-" to
// out. "chocolat" -> "cho-co-lat"
void demontage(QStringView word, LineBuffer &out);

inline constexpr ScannedAid aid{Marks::InWord, demontage};

} // namespace readingaids::tirets

namespace readingaids {

// The output line of a body line for the syllables with dashes.
// "Le chocolat est bon.<br>" -> " Le cho-co-lat est bon.<br>"
QString tiretsLine(QStringView line);

} // namespace readingaids
