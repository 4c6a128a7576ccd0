#include "couleurs.h"

#include "colours.h"
#include "linescanner.h"
#include "syllabify.h"

#include <algorithm>

namespace readingaids::couleurs {

namespace {

char16_t *put(char16_t *at, QStringView text)
{
    std::copy(text.utf16(), text.utf16() + text.size(), at);
    return at + text.size();
}

} // namespace

void demontage(QStringView word, QString &out)
{
    Syllables syllables;
    cutTextWord(word, syllables);
    // The whole coloured word is sized first, then written in place.
    qsizetype size = opening.size() + word.size() + closing.size();
    for (qsizetype k = 1; k < syllables.size(); ++k)
        size += colourSwitch(k - 1).size();
    const qsizetype start = out.size();
    out.resize(start + size);
    char16_t *at = put(reinterpret_cast<char16_t *>(out.data()) + start, opening);
    for (qsizetype k = 0; k < syllables.size(); ++k) {
        if (k > 0)
            at = put(at, colourSwitch(k - 1));
        at = put(at, word.sliced(syllables[k].begin, syllables[k].end - syllables[k].begin));
    }
    at = put(at, closing);
    Q_ASSERT(at == reinterpret_cast<const char16_t *>(out.constData()) + out.size());
}

} // namespace readingaids::couleurs

namespace readingaids {

QString couleursLine(QStringView line)
{
    return MiseCouleur(line, Marks::InWord, couleurs::demontage);
}

} // namespace readingaids
