#include "syllablesbyear.h"

#include "phonemes.h"

#include <vector>

namespace readingaids {

namespace {

bool isVowelPhoneme(QChar p)
{
    return QStringView(u"aeiouyɛɔəøœɑ\uE000\uE001\uE002\uE003").contains(p);
}

bool isGlide(QChar p)
{
    return p == u'j' || p == u'w' || p == u'ɥ';
}

bool isLiquid(QChar p)
{
    return p == u'l' || p == u'ʁ';
}

// Consonants that may stand before l or r in one syllable: "arbre", "table".
bool isObstruent(QChar p)
{
    return QStringView(u"bkdfɡptv").contains(p);
}

// What a grapheme is for the cut into syllables.
enum class Kind {
    Nucleus,    // it says a vowel: one syllable each
    Consonant,  // it says consonants only, or is a consonant left silent
    Glide,      // it says [j], [w] or [ɥ] alone: "pied", "ouest", "tuyau"
    Apostrophe, // the end of an elided word
    Trailing,   // a letter not said that goes with the syllable before it
};

// One piece of the word for the cut: a grapheme, or a part of one ("ill"
// after a consonant says [ij]: its i is the vowel, its ll the [j]).
struct Piece
{
    qsizetype start;
    qsizetype length;
    Kind kind;
    QChar sound;       // its phoneme, for a consonant of one phoneme; 0 otherwise
    bool doubleLetter; // a doubled consonant of one sound: "mm", "rr", "ss"
};

bool isDoubleConsonant(QStringView letters)
{
    return letters.size() == 2 && letters[0] == letters[1] && !QStringView(u"aeiouy").contains(letters[0]);
}

// The said piece of a grapheme that says phonemes.
Piece saidPiece(const Grapheme &g, QStringView letters)
{
    const bool vowel = std::any_of(g.phonemes.cbegin(), g.phonemes.cend(), isVowelPhoneme);
    if (vowel)
        return {g.start, g.length, Kind::Nucleus, QChar(), false};
    if (g.phonemes.size() == 1 && isGlide(g.phonemes[0]))
        return {g.start, g.length, Kind::Glide, g.phonemes[0], false};
    const QChar sound = g.phonemes.size() == 1 ? g.phonemes[0] : QChar();
    return {g.start, g.length, Kind::Consonant, sound, isDoubleConsonant(letters)};
}

// A u said [y] right before an i said as a vowel is the glide of "lui",
// "nuit", "juin" (espeak-ng writes [ɥ] as [y]).
bool isGlideU(const QList<Grapheme> &graphemes, qsizetype k, QStringView word)
{
    const Grapheme &g = graphemes[k];
    if (g.phonemes != u"y" || k + 1 >= graphemes.size() || word[g.start].toLower() != u'u')
        return false;
    const Grapheme &next = graphemes[k + 1];
    const QChar letter = word[next.start].toLower();
    return (letter == u'i' || letter == u'î')
        && std::any_of(next.phonemes.cbegin(), next.phonemes.cend(), isVowelPhoneme);
}

// An "ou" said [w] after a consonant and before a vowel other than i is the
// vowel ou a school reads: "jou|er", "jou|et", "a|lou|et|te" (not "oui",
// "ouest", "pin|gouin", "ré|jouir").
bool isVowelOuAfterConsonant(QStringView word, const QList<Grapheme> &graphemes, qsizetype k,
                             const std::vector<Piece> &pieces)
{
    const Grapheme &g = graphemes[k];
    if (g.silence != Silence::Said || g.phonemes != u"w" || g.length != 2
        || word.sliced(g.start, 2).compare(u"ou", Qt::CaseInsensitive) != 0)
        return false;
    if (pieces.empty() || pieces.back().kind != Kind::Consonant || k + 1 >= graphemes.size())
        return false;
    const QChar next = word[graphemes[k + 1].start].toLower();
    return next != u'i' && next != u'î' && next != u'ï';
}

std::vector<Piece> piecesOf(QStringView word, const QList<Grapheme> &graphemes)
{
    std::vector<Piece> pieces;
    for (qsizetype k = 0; k < graphemes.size(); ++k) {
        const Grapheme &g = graphemes[k];
        const QStringView letters = word.sliced(g.start, g.length);
        if (isGlideU(graphemes, k, word)) {
            pieces.push_back({g.start, g.length, Kind::Glide, QChar(u'ɥ'), false});
            continue;
        }
        if (g.silence == Silence::Said && g.length == 3 && g.phonemes.size() == 2 && isVowelPhoneme(g.phonemes[0])
            && isGlide(g.phonemes[1])) {
            // "fille": i|ll, the ll not cut
            pieces.push_back({g.start, 1, Kind::Nucleus, QChar(), false});
            pieces.push_back({g.start + 1, g.length - 1, Kind::Glide, g.phonemes[1], false});
            continue;
        }
        if (k > 0 && g.silence == Silence::Said && g.phonemes == u"j"
            && letters.compare(u"ill", Qt::CaseInsensitive) == 0 && !pieces.empty()
            && pieces.back().kind == Kind::Nucleus && graphemes[k - 1].length == 1
            && word[graphemes[k - 1].start].toLower() == u'e') {
            // An e alone would be read [ə]: its i stays with it, the ll is
            // the [j] of the next syllable ("a|bei|lle", "ré|vei|ller").
            pieces.push_back({g.start, 1, Kind::Trailing, QChar(), false});
            pieces.push_back({g.start + 1, g.length - 1, Kind::Glide, QChar(u'j'), false});
            continue;
        }
        if (isVowelOuAfterConsonant(word, graphemes, k, pieces)) {
            pieces.push_back({g.start, g.length, Kind::Nucleus, QChar(), false});
            continue;
        }
        switch (g.silence) {
        case Silence::Said:
            pieces.push_back(saidPiece(g, letters));
            break;
        case Silence::Vowel: {
            // An e not said after a consonant is written as a syllable:
            // "pe|ti|te", "sa|me|di", "chan|tent"; after a vowel it goes with
            // it: "jour|née".
            const bool afterConsonant = !pieces.empty()
                && (pieces.back().kind == Kind::Consonant || pieces.back().kind == Kind::Glide);
            pieces.push_back({g.start, g.length, afterConsonant ? Kind::Nucleus : Kind::Trailing, QChar(), false});
            break;
        }
        case Silence::Mute:
            pieces.push_back({g.start, g.length, letters == u"'" ? Kind::Apostrophe : Kind::Consonant, QChar(), false});
            break;
        case Silence::Consonant:
            pieces.push_back({g.start, g.length, Kind::Consonant, QChar(), false});
            break;
        }
    }
    return pieces;
}

bool isConsonantLike(const Piece &p)
{
    return p.kind == Kind::Consonant || p.kind == Kind::Glide;
}

// Where the syllable of the nucleus `next` begins, given the pieces from the
// one after the previous nucleus (`from`) up to it: a letter of the word.
qsizetype syllableStart(const std::vector<Piece> &pieces, std::size_t from, std::size_t next)
{
    if (from == next)
        return pieces[next].start; // two vowel sounds in a row: "thé|â|tre"
    for (std::size_t k = next; k-- > from;) {
        if (pieces[k].kind == Kind::Apostrophe) // "aujour|d'hui", "jus|qu'à"
            return pieces[k > from ? k - 1 : k].start;
    }
    std::size_t onset = next - 1;
    const auto consonantBefore = [&](std::size_t k) { return k > from && isConsonantLike(pieces[k - 1]); };
    if (pieces[onset].kind == Kind::Glide && consonantBefore(onset) && pieces[onset - 1].kind != Kind::Glide)
        --onset; // "na|tion", "ca|hier"
    const bool liquidAfterObstruent = consonantBefore(onset) && isLiquid(pieces[onset].sound)
        && isObstruent(pieces[onset - 1].sound);
    if (liquidAfterObstruent)
        --onset; // "ar|bre", "ta|ble"
    const Piece &first = pieces[onset];
    if (first.doubleLetter)
        return first.start + 1; // "pom|me", "ter|re"
    return first.start;
}

} // namespace

void cutByEar(QStringView word, const QList<Grapheme> &graphemes, Syllables &syllables)
{
    syllables.clear();
    const std::vector<Piece> pieces = piecesOf(word, graphemes);
    std::vector<std::size_t> nuclei;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        if (pieces[k].kind == Kind::Nucleus)
            nuclei.push_back(k);
    }
    qsizetype begin = 0;
    for (std::size_t n = 1; n < nuclei.size(); ++n) {
        const qsizetype start = syllableStart(pieces, nuclei[n - 1] + 1, nuclei[n]);
        if (start > begin) {
            syllables.append({begin, start, false});
            begin = start;
        }
    }
    syllables.append({begin, word.size(), false});
}

QStringList syllablesByEar(QStringView word, const QList<Grapheme> &graphemes)
{
    Syllables syllables;
    cutByEar(word, graphemes, syllables);
    QStringList texts;
    for (const Syllable &s : syllables)
        texts.append(word.sliced(s.begin, s.end - s.begin).toString());
    return texts;
}

} // namespace readingaids
