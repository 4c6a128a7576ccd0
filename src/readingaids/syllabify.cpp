#include "syllabify.h"

#include <array>
#include <cstdint>

namespace readingaids {

namespace {

enum Class : std::uint8_t {
    Consonant = 1,
    Vowel = 2,
    StrongVowel = 4,
    JoinsRorL = 8,  // b c d f g k p t v before r or l: "ta|ble"
    JoinsH = 16,    // c p s before h: "é|lé|phant"
};

constexpr std::array<std::uint8_t, 256> makeClasses()
{
    std::array<std::uint8_t, 256> classes{};
    auto add = [&classes](const char16_t *members, std::uint8_t cls) {
        for (; *members; ++members)
            classes[*members] |= cls;
    };
    add(u"BCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz\u00D1\u00E7\u00F1", Consonant);
    add(u"AEIOUYaeiouy\u00C1\u00C9\u00CD\u00D4\u00DA\u00DC\u00E1\u00E8\u00E9\u00EA\u00ED\u00F4\u00FA\u00FC", Vowel);
    add(u"AEOaeo\u00C1\u00C9\u00CD\u00D4\u00DA\u00E1\u00E8\u00E9\u00EA\u00ED\u00F4\u00FA", StrongVowel);
    add(u"BCDFGKPTVbcdfgkptv", JoinsRorL);
    add(u"CPScps", JoinsH);
    return classes;
}

constexpr std::array<std::uint8_t, 256> classes = makeClasses();

// The word seen with a character of no class before and after it.
struct Letters
{
    QStringView word;

    char16_t at(qsizetype i) const { return i >= 0 && i < word.size() ? word[i].unicode() : u'\0'; }
    bool is(qsizetype i, std::uint8_t cls) const
    {
        const char16_t c = at(i);
        return c < 256 && (classes[c] & cls);
    }
};

enum class Cut { None, Before, After };

bool isEither(char16_t c, char16_t upper, char16_t lower)
{
    return c == upper || c == lower;
}

// The cut around a consonant at i, which the letter before and after decide.
Cut cutAtConsonant(const Letters &t, qsizetype i, Cut cut)
{
    const char16_t c = t.at(i);
    const char16_t next = t.at(i + 1);
    if (t.is(i + 1, Vowel))
        return t.is(i - 1, Vowel) ? Cut::Before : cut;
    if (isEither(c, u'S', u's') && isEither(t.at(i - 1), u'N', u'n') && t.is(i + 1, Consonant))
        return Cut::After;
    if (!t.is(i + 1, Consonant) || !t.is(i - 1, Vowel))
        return cut;
    if (isEither(next, u'R', u'r') || isEither(next, u'L', u'l'))
        return t.is(i, JoinsRorL) ? Cut::Before : Cut::After;
    if (isEither(next, u'H', u'h'))
        return t.is(i, JoinsH) ? Cut::Before : Cut::After;
    return Cut::After;
}

bool isSign(char16_t c, Signs signs)
{
    return c == u'+' || (c == u'-' && signs == Signs::HyphenAndPlus);
}

} // namespace

void cutSyllables(QStringView word, Signs signs, Syllables &syllables)
{
    syllables.clear();
    const Letters t{word};
    const qsizetype last = word.size() - 1;
    qsizetype j = 0; // where the syllable being built begins
    for (qsizetype i = 0; i <= last; ++i) {
        Cut cut = Cut::None;
        if (t.is(i, Consonant)) {
            if (t.at(i + 1) == t.at(i))
                cut = Cut::After;
            cut = cutAtConsonant(t, i, cut);
        } else if (t.is(i, StrongVowel) && t.is(i - 1, StrongVowel)) {
            cut = Cut::Before;
        } else if (isSign(t.at(i), signs)) {
            // The sign makes a syllable of its own; the character after it
            // is not looked at.
            syllables.append({j, i, false});
            syllables.append({i, i + 1, true});
            j = ++i;
        }
        if (cut == Cut::Before) {
            syllables.append({j, i, false});
            j = i;
        } else if (cut == Cut::After) {
            ++i;
            syllables.append({j, i, false});
            j = i;
        }
    }
    // A lone final consonant joins the syllable before it: "en|fant".
    if (j == last && !syllables.isEmpty() && t.is(last, Consonant))
        syllables.last().end = word.size();
    else
        syllables.append({j, word.size(), false});
}

QStringList Syllabify(QStringView s)
{
    Syllables pieces;
    cutSyllables(s, Signs::HyphenAndPlus, pieces);
    QStringList syllables;
    syllables.reserve(pieces.size());
    for (const Syllable &piece : pieces) {
        QString text = s.sliced(piece.begin, piece.end - piece.begin).toString();
        if (piece.startsWithSign)
            text[0] = u'-';
        syllables.append(text);
    }
    return syllables;
}

void cutTextWord(QStringView word, Syllables &syllables)
{
    cutSyllables(word, Signs::PlusOnly, syllables);
    // Only the first and the last syllable can be empty.
    if (syllables.size() > 1 && syllables.last().begin == syllables.last().end)
        syllables.removeLast();
    if (syllables.size() > 1 && syllables.first().begin == syllables.first().end)
        syllables.remove(0);
}

} // namespace readingaids
