#pragma once

#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

namespace readingaids {

// The written syllables of a word, cut between letters only.
// "papa" -> {"pa", "pa"}, "arbre" -> {"ar", "bre"}, "enfant" -> {"en", "fant"}.
// A "-" or "+" becomes a syllable "-" of its own ("a+b" -> {"a", "-b"}); the
// character after it is not looked at. An empty word gives one empty syllable.
QStringList Syllabify(QStringView s);

// One syllable as a stretch [begin, end) of the word. When it begins with a
// sign, Syllabify writes "-" in place of that sign.
struct Syllable
{
    qsizetype begin;
    qsizetype end;
    bool startsWithSign;
};

using Syllables = QVarLengthArray<Syllable, 16>;

// Which characters cut a word as signs. The reading aids keep the text's own
// hyphens inside the syllables, so only "+" is a sign for them.
enum class Signs { HyphenAndPlus, PlusOnly };

// The syllables of Syllabify as stretches of the word; syllables is emptied first.
void cutSyllables(QStringView word, Signs signs, Syllables &syllables);

// The syllables of a word of the text as the syllable aids write them: only
// "+" is a sign, and the empty syllable that a "+" at either end of the word
// leaves is dropped. "te-monnaie" -> "te-mon", "naie"
void cutTextWord(QStringView word, Syllables &syllables);

} // namespace readingaids
