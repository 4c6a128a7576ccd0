#pragma once

#include "corrections.h"
#include "wordcontext.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// The five reading aids that rewrite the body of a reading document.
namespace readingaids {

enum class BodyAid {
    Couleurs, // syllables in colours
    Tirets,   // syllables with dashes
    Muettes,  // silent letters
    Son,      // a sound in relief
    SonEntendu, // a sound in relief by ear: the graphemes that say the typed sound
    Phrases,  // sentences in colours
    CouleursEntendu, // syllables in colours by ear
    TiretsEntendu,   // syllables with dashes by ear
    MuettesEntendu,  // silent letters by ear, in grey
};

// The aid by ear of a syllable or silent-letter aid; the aid itself for the others.
BodyAid byEar(BodyAid aid);

// The output line of one body line for a line aid (every aid but Phrases,
// which colours the body as a whole); sound is the typed sound of Son and
// SonEntendu (which reads the line alone as its document); the syllable and
// silent-letter aids cut the words the teacher corrected as corrected; the
// syllables in colours (by ear or not) take their colours as colours says.
QString treatBodyLine(BodyAid aid, QStringView line, QStringView sound = {}, const Corrections &corrections = {},
                      SyllableColours colours = SyllableColours::EachWord);

// The document lines transformed by the aid, with the teacher's corrections,
// ready to be written. Raises DocumentRefused when a marker is missing.
QStringList writeBodyAid(const QStringList &lines, BodyAid aid, QStringView sound = {},
                         const Corrections &corrections = {},
                         SyllableColours colours = SyllableColours::EachWord);

// The same lines handed to sink one by one as they are made (for a long
// document written straight to its file). Raises DocumentRefused before any
// line reaches the sink when a marker is missing.
void writeBodyAid(const QStringList &lines, BodyAid aid, QStringView sound,
                  const std::function<void(QStringView line)> &sink, const Corrections &corrections = {},
                  SyllableColours colours = SyllableColours::EachWord);

} // namespace readingaids
