#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

// The letters of a word matched with the phonemes that it says: the word is
// cut into graphemes, each saying zero, one or two phonemes, following a
// table of the correspondences of French spelling.
namespace readingaids {

// Where a correspondence applies, beyond its letters and phonemes.
enum class Context {
    Anywhere,
    BeforeBackVowel,  // a, o, u follows: "ge" of "mangeons"
    BeforeY,          // y follows: "o" of "voyage"
    WordEnd,          // the grapheme ends the word: "ent" of "parlent"
};

// Whether a grapheme is said, and what kind of silent letter it is when not.
enum class Silence {
    Said,      // it says its phonemes
    Vowel,     // an e that is not said: "petite", "samedi", "ils parlent"
    Mute,      // a letter that is never said: h, and the apostrophe of "l'école"
    Consonant, // a consonant left silent; dearer inside the word than at its end
};

// One row of the table: a grapheme and one of the phoneme sequences it says.
struct Correspondence
{
    std::u16string_view spelling; // lower-case letters, or "'"
    std::u16string_view ipa;      // what it says, in IPA; empty for a silent grapheme
    int cost;                     // the more usual, the lower: the alignment takes the cheapest cut
    Context context = Context::Anywhere;
    Silence silence = Silence::Said; // not Said exactly when ipa is empty
};

// The table, one row per correspondence.
std::span<const Correspondence> correspondences();

// One grapheme of an aligned word.
struct Grapheme
{
    qsizetype start = 0;  // its first letter in the word
    qsizetype length = 0; // its number of letters
    QString phonemes;     // the phonemes it says (a phoneme string), empty when silent
    qsizetype row = 0;    // the correspondence it follows, in correspondences()
    Silence silence = Silence::Said;
};

// The cheapest cut of a word (its spelling(): lower case) into graphemes
// whose phonemes, in order, are the given phoneme string; nothing when no cut
// gives them. Between cuts of the same cost, the one of fewer graphemes.
// ("bonbon", bɔ̃bɔ̃) -> b|on|b|on; ("bonne", bɔn) -> b|o|nn|e
std::optional<QList<Grapheme>> align(QStringView word, QStringView phonemes);

// Where the cut of a word that cannot be aligned stops: the most letters that
// some cut says with the table, and the fewest phonemes that it says them
// with. ("kœ", kœ) aligns; ("xyz", ɡzis) stops at 1 letter, 2 phonemes.
struct AlignmentStop
{
    qsizetype letters = 0;
    qsizetype phonemes = 0;
};
AlignmentStop alignmentStop(QStringView word, QStringView phonemes);

} // namespace readingaids
