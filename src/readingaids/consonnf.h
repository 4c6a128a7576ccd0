#pragma once

#include <QChar>
#include <QStringView>

#include <array>

namespace readingaids {

// The words whose last letter is not heard (and a few that begin with a
// silent h), exactly as stored: capitals, accents and the ligature included.
extern const std::array<QStringView, 524> consonnF;

// Whether the word is one of consonnF, exact and case-sensitive.
// "Abricot" -> true, "abricot" -> false
bool consonneFinale(QStringView s);

// Whether the letter is one of b c f g h l p w x z (lower case only).
bool consonneFinale2(QChar c);

} // namespace readingaids
