#include "couleurs.h"

#include "colours.h"
#include "linescanner.h"
#include "syllabify.h"
#include "writtenbyear.h"

namespace readingaids::couleurs {

void demontage(QStringView word, const WordContext &context, LineBuffer &out)
{
    if (WrittenWord corrected; writtenWithCorrections(word, context.corrections, corrected)) {
        appendColoured(word, corrected.syllables, context, out);
        return;
    }
    Syllables syllables;
    cutTextWord(word, syllables);
    appendColoured(word, syllables, context, out);
}

} // namespace readingaids::couleurs

namespace readingaids {

QString couleursLine(QStringView line, const Corrections &corrections)
{
    return couleursLine(line, corrections, SyllableColours::EachWord);
}

QString couleursLine(QStringView line, const Corrections &corrections, SyllableColours colours)
{
    qsizetype inARow = 0;
    return MiseCouleur(line, couleurs::aid.marks, couleurs::aid.demontage,
                       WordContext{corrections, nullptr, nullptr,
                                   colours == SyllableColours::InARow ? &inARow : nullptr});
}

} // namespace readingaids
