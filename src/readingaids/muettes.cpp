#include "muettes.h"

#include "consonnf.h"
#include "linescanner.h"
#include "writtenbyear.h"

namespace readingaids::muettes {

namespace {

// The dashes that set the last letter of the word apart.
QStringView dashesBeforeLastLetter(QStringView word)
{
    if (word.isEmpty())
        return {};
    const QChar last = word.back();
    if (consonneFinale(word))
        return u"--";
    if (last == u's' || consonneFinale2(last))
        return u"-";
    return {};
}

} // namespace

void demontage(QStringView word, const WordContext &context, LineBuffer &out)
{
    // A corrected word has a dash before each run of its silent letters.
    if (WrittenWord corrected; writtenWithCorrections(word, context.corrections, corrected)) {
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (corrected.silent.value(i) && (i == 0 || !corrected.silent.value(i - 1)))
                out.append(u'-');
            out.append(word[i].unicode());
        }
        return;
    }
    const QStringView dashes = dashesBeforeLastLetter(word);
    if (dashes.isEmpty()) {
        out.append(word);
        return;
    }
    out.append(word.chopped(1));
    out.append(dashes);
    out.append(word.back().unicode());
}

} // namespace readingaids::muettes

namespace readingaids {

QString muettesLine(QStringView line, const Corrections &corrections)
{
    return MiseCouleur(line, muettes::aid.marks, muettes::aid.demontage, WordContext{corrections});
}

} // namespace readingaids
