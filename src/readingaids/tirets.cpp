#include "tirets.h"

#include "linescanner.h"
#include "syllabify.h"
#include "writtenbyear.h"

namespace readingaids::tirets {

void demontage(QStringView word, const WordContext &context, LineBuffer &out)
{
    if (WrittenWord corrected; writtenWithCorrections(word, context.corrections, corrected)) {
        appendDashed(word, corrected.syllables, out);
        return;
    }
    Syllables syllables;
    cutTextWord(word, syllables);
    for (qsizetype k = 0; k < syllables.size(); ++k) {
        if (k > 0)
            out.append(u'-');
        out.append(word.sliced(syllables[k].begin, syllables[k].end - syllables[k].begin));
    }
}

} // namespace readingaids::tirets

namespace readingaids {

QString tiretsLine(QStringView line, const Corrections &corrections)
{
    return MiseCouleur(line, tirets::aid.marks, tirets::aid.demontage, WordContext{corrections});
}

} // namespace readingaids
