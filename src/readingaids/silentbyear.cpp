#include "silentbyear.h"

#include "corrections.h"

namespace readingaids {

namespace {

// Whether only silent graphemes follow the one at k.
bool endsTheWord(const QList<Grapheme> &graphemes, qsizetype k)
{
    for (qsizetype next = k + 1; next < graphemes.size(); ++next) {
        if (graphemes[next].silence == Silence::Said)
            return false;
    }
    return true;
}

// A final er, ez, et, es said as a vowel: "manger", "nez", "poulet", "les".
bool saysAVowelWithAConsonant(QStringView letters)
{
    return letters.size() == 2 && letters[0] == u'e' && QStringView(u"rzts").contains(letters[1]);
}

// An "oi" said [o] keeps an old spelling ("oignon"): its i is not said.
bool saysOAlone(QStringView letters, QStringView phonemes)
{
    return letters == u"oi" && (phonemes == u"o" || phonemes == u"ɔ");
}

} // namespace

QList<bool> silentByEar(QStringView word, const QList<Grapheme> &graphemes)
{
    QList<bool> silent(word.size(), false);
    for (qsizetype k = 0; k < graphemes.size(); ++k) {
        const Grapheme &g = graphemes[k];
        const QString letters = word.sliced(g.start, g.length).toString().toLower();
        bool marked = false;
        switch (g.silence) {
        case Silence::Said:
            if (saysAVowelWithAConsonant(letters) && endsTheWord(graphemes, k))
                silent[g.start + 1] = true;
            if (saysOAlone(letters, g.phonemes))
                silent[g.start + 1] = true;
            break;
        case Silence::Vowel:
            marked = endsTheWord(graphemes, k);
            break;
        case Silence::Mute:
            marked = letters != u"'";
            break;
        case Silence::Consonant:
            marked = true;
            break;
        }
        for (qsizetype i = 0; marked && i < g.length; ++i)
            silent[g.start + i] = true;
    }
    return silent;
}

QString bracketSilent(QStringView word, const QList<bool> &silent)
{
    // The notation of a cut with no syllable break.
    return notationOf(word, WordCut{{}, silent});
}

} // namespace readingaids
