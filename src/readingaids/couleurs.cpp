#include "couleurs.h"

#include "colours.h"
#include "linescanner.h"
#include "syllabify.h"
#include "writtenbyear.h"

namespace readingaids::couleurs {

namespace {

char16_t *put(char16_t *at, QStringView text)
{
    return std::copy_n(text.utf16(), text.size(), at);
}

} // namespace

void demontage(QStringView word, LineBuffer &out)
{
    if (WrittenWord corrected; writtenWithCorrections(word, processCorrections(), corrected)) {
        appendColoured(word, corrected.syllables, out);
        return;
    }
    Syllables syllables;
    cutTextWord(word, syllables);
    // The whole coloured word is sized first, then written in place.
    qsizetype size = opening.size() + word.size() + closing.size();
    for (qsizetype k = 1; k < syllables.size(); ++k)
        size += colourSwitch(k - 1).size();
    char16_t *at = put(out.extend(size), opening);
    for (qsizetype k = 0; k < syllables.size(); ++k) {
        if (k > 0)
            at = put(at, colourSwitch(k - 1));
        at = put(at, word.sliced(syllables[k].begin, syllables[k].end - syllables[k].begin));
    }
    put(at, closing);
}

} // namespace readingaids::couleurs

namespace readingaids {

QString couleursLine(QStringView line)
{
    return MiseCouleur(line, couleurs::aid.marks, couleurs::aid.demontage);
}

} // namespace readingaids
