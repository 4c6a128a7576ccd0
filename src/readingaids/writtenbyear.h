#pragma once

#include "alignment.h"
#include "corrections.h"
#include "linebuffer.h"
#include "syllabify.h"
#include "wordcontext.h"

#include <QList>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// The syllables and the silent letters of the text by ear ("entendu"): each
// word cut and marked from its pronunciation, or as the teacher corrected it.
namespace readingaids {

class EarWords;
class LineReadings;
struct EarWord;

// How a word of the text (as the line scanner hands it: "porte-monnaie",
// "dort.") is written: its syllables and, for each character, whether it is
// a silent letter.
struct WrittenWord
{
    Syllables syllables;
    QList<bool> silent;
};

// The word by ear, each of its parts (letters and apostrophes) from the
// teacher's corrections or else from its pronunciation in words; the text
// between parts goes with the syllable before it. False when a part has
// neither: the word is then cut by its letters.
// With inContext, a part that its sentence reads otherwise than alone is
// read so ("ils couvent": couv[ent]).
bool writtenByEar(QStringView word, const EarWords *words, const Corrections &corrections, WrittenWord &out,
                  const LineReadings *inContext = nullptr);

// The word as the letter rules cut it, with its corrected parts as the
// teacher corrected them; false when no part of it is corrected.
bool writtenWithCorrections(QStringView word, const Corrections &corrections, WrittenWord &out);

// How one word (letters and apostrophes) is cut and marked now: as corrected,
// else by ear (when byEar and it can be), else by its letters (no silent
// letter). For the teacher who corrects it.
WordCut currentCut(QStringView word, bool byEar, const Corrections &corrections);

// The graphemes of a part (letters and apostrophes) of a line as its sentence
// reads it, from what it says alone; nothing when the sentence reads it as
// alone, or its reading there does not align.
std::optional<QList<Grapheme>> graphemesInContext(QStringView part, const EarWord *alone,
                                                  const LineReadings *inContext);

// Appends the word, syllable by syllable, as the syllables in colours write it.
void appendColoured(QStringView word, const Syllables &syllables, LineBuffer &out);

// The same, in the colours the context asks for: with syllablesInARow, red
// and green in turn, going on from the syllables before it on the line
// ("le chat" after one syllable: <FONT color="green">le</FONT> ...).
void appendColoured(QStringView word, const Syllables &syllables, const WordContext &context, LineBuffer &out);

// Appends the word with its syllables joined by "-" (none added after a
// syllable that ends with the word's own hyphen).
void appendDashed(QStringView word, const Syllables &syllables, LineBuffer &out);

// The mark of a silent letter by ear: a grey readable on the white page
// (3.9:1), in the markup the aids already write.
inline constexpr QStringView silentOpening = u"<FONT color=\"gray\">";
inline constexpr QStringView silentClosing = u"</FONT>";

// How many words the last document by ear had, and how many of them were cut
// by their letters for want of a pronunciation that aligns.
struct EarCount
{
    qsizetype words = 0;
    qsizetype byLetters = 0;
};

enum class WrittenAid {
    Couleurs, // syllables in colours
    Tirets,   // syllables with dashes
    Muettes,  // silent letters in grey
};

// The document lines with the aid by ear, handed to sink one by one, with the
// process's pronouncer and words, and the teacher's corrections; without
// espeak-ng each word is cut by its letters (and no silent letter is marked).
// Raises DocumentRefused before any line reaches the sink when a marker is
// missing.
EarCount writeByEar(const QStringList &lines, WrittenAid aid, const Corrections &corrections,
                    const std::function<void(QStringView line)> &sink,
                    SyllableColours colours = SyllableColours::EachWord);

// Body lines with the aid by ear, these lines making the document.
QStringList byEarBodyLines(const QStringList &bodyLines, WrittenAid aid, const Corrections &corrections,
                           EarCount *count = nullptr, SyllableColours colours = SyllableColours::EachWord);

} // namespace readingaids
