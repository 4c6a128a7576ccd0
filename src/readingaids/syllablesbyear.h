#pragma once

#include "alignment.h"
#include "syllabify.h"

#include <QList>
#include <QStringList>
#include <QStringView>

// The written syllables of a word from its pronunciation: the word's aligned
// graphemes are grouped into the syllables a French school teaches.
namespace readingaids {

// The syllables of an aligned word (letters and apostrophes, no hyphen), as
// stretches of it; syllables is emptied first. One vowel sound a syllable,
// the letters of one sound never cut, a cut between two consonants but not
// before l or r after another consonant, a double consonant cut in two, an
// e not said after a consonant making a syllable of its own, silent final
// letters kept in the last syllable, two vowel sounds in a row cut, an
// elided word ("d'", "l'") kept with the syllable after it.
// ("bateau", b|a|t|eau) -> ba|teau; ("petite", p|e|t|i|t|e) -> pe|ti|te;
// ("pomme", p|o|mm|e) -> pom|me; ("théâtre") -> thé|â|tre
void cutByEar(QStringView word, const QList<Grapheme> &graphemes, Syllables &syllables);

// The same syllables as texts. ("enfants", …) -> {"en", "fants"}
QStringList syllablesByEar(QStringView word, const QList<Grapheme> &graphemes);

} // namespace readingaids
