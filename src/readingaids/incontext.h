#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <span>
#include <string_view>

// Words read in their sentence: the words whose reading only the sentence
// decides ("ils couvent" and "le couvent", "le fils" and "les fils
// électriques", "tu as" and "un as"), each read as the words around it say,
// for the aids by ear.
namespace readingaids {

// What decides a row of the table of homographs.
enum class Clue {
    AfterSubject,    // a subject that makes the word a verb in -ent stands before it
    Elided,          // the word's own elided beginning is one of the words ("l'est")
    Before,          // one of the words stands before it, maybe past object pronouns and "ne"
    After,           // one of the words follows it (two words joined by "_": "de_laine")
    AfterDeterminer, // one of the words stands right before it
    NextConsonant,   // the next word, in the same clause, begins with a consonant sound
    NextVowel,       // the next word, in the same clause, begins with a vowel sound
    EndOfClause,     // a mark or the end of the line follows it
    Otherwise,       // always
};

// One row of the table: for the word (lower case), when its clue is there,
// the phonemes it says (empty: as espeak-ng says the word alone), and where
// the rule comes from. The rows of a word are tried in order; the first
// that applies decides.
struct HomographRule
{
    std::u16string_view word;
    Clue clue;
    std::u16string_view words; // the words of the clue, separated by blanks
    std::u16string_view phonemes;
    std::u16string_view source;
};

// The table (homographes.cpp).
std::span<const HomographRule> homographRules();

// A word of a line read in its sentence.
struct ReadInContext
{
    qsizetype begin = 0;  // where the word (letters and apostrophes) begins in the line
    qsizetype length = 0;
    // What the word says there (a phoneme string, phonemesFromIpa): its
    // elided beginning and the phonemes of the rule; with verbInEnt, the word
    // said alone less a final [ɑ̃] ("couvent": kuv).
    QString phonemes;
    bool verbInEnt = false;
    QString rule; // for a person: "ils + -ent : verbe", "fils : après « électriques »"...
};

// The words of a body line (trimmed; tags and character references left
// out) whose reading the sentence decides, as the sentence reads them. A
// word in -ent after a subject is a verb; the words of the table by their
// rows. ("Les poules couvent.") -> {couvent, verb}; ("le couvent") -> {}
QList<ReadInContext> readInContext(QStringView line);

// The phonemes of a word read in its sentence, from what it says alone
// (phoneme strings, as the pronouncer gives them); empty when the reading is
// the word's alone. ("couvent", verb, kuvɑ̃) -> kuv
QString phonemesInContext(const ReadInContext &read, QStringView alone);

// A word of a document that the teacher may want to check ("Mots à vérifier").
struct WordToCheck
{
    qsizetype line = 0; // the body line, from 0
    QString word;
    QString why;        // in French: the rule that read it, or that espeak-ng cannot read it
};

// The words of the body lines whose reading the sentence decides, and the
// words that espeak-ng could not read or align (with the process's
// pronouncer; none of those without it), each word and reason once, in the
// order of the text.
QList<WordToCheck> wordsToCheck(const QStringList &bodyLines);

// The words of one line read in their sentence, found by where they stand
// in it, for the word treatments of the aids by ear.
class LineReadings
{
public:
    // Reads the line (the view the scanner hands its words from).
    void read(QStringView line);
    // The reading of the word at this place of the line, or null.
    const ReadInContext *find(QStringView word) const;

private:
    const QChar *m_base = nullptr;
    qsizetype m_size = 0;
    QList<ReadInContext> m_words;
};

} // namespace readingaids
