#include "tirets.h"

#include "linescanner.h"
#include "syllabify.h"
#include "writtenbyear.h"

namespace readingaids::tirets {

void demontage(QStringView word, LineBuffer &out)
{
    if (WrittenWord corrected; writtenWithCorrections(word, processCorrections(), corrected)) {
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

QString tiretsLine(QStringView line)
{
    return MiseCouleur(line, tirets::aid.marks, tirets::aid.demontage);
}

} // namespace readingaids
