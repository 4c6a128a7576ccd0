#include "couleurs.h"

#include "colours.h"
#include "linescanner.h"
#include "syllabify.h"

namespace readingaids::couleurs {

void demontage(QStringView word, QString &out)
{
    Syllables syllables;
    cutTextWord(word, syllables);
    out += opening;
    for (qsizetype k = 0; k < syllables.size(); ++k) {
        if (k > 0)
            out += colourSwitch(k - 1);
        out += word.sliced(syllables[k].begin, syllables[k].end - syllables[k].begin);
    }
    out += closing;
}

} // namespace readingaids::couleurs

namespace readingaids {

QString couleursLine(QStringView line)
{
    return MiseCouleur(line, Marks::InWord, couleurs::demontage);
}

} // namespace readingaids
