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

std::uint8_t classOf(char16_t c)
{
    return c < 256 ? classes[c] : 0;
}

enum class Cut { None, Before, After };

bool isEither(char16_t c, char16_t upper, char16_t lower)
{
    return c == upper || c == lower;
}

// A consonant of the word and the characters on either side of it (0, a
// character of no class, beyond the ends of the word), each with its class.
struct AroundConsonant
{
    char16_t before, letter, after;
    std::uint8_t classBefore, classOfLetter, classAfter;
};

// The cut around a consonant, which the letter before and after decide.
Cut cutAtConsonant(const AroundConsonant &t, Cut cut)
{
    if (t.classAfter & Vowel)
        return (t.classBefore & Vowel) ? Cut::Before : cut;
    if (isEither(t.letter, u'S', u's') && isEither(t.before, u'N', u'n') && (t.classAfter & Consonant))
        return Cut::After;
    if (!(t.classAfter & Consonant) || !(t.classBefore & Vowel))
        return cut;
    if (isEither(t.after, u'R', u'r') || isEither(t.after, u'L', u'l'))
        return (t.classOfLetter & JoinsRorL) ? Cut::Before : Cut::After;
    if (isEither(t.after, u'H', u'h'))
        return (t.classOfLetter & JoinsH) ? Cut::Before : Cut::After;
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
    const char16_t *const s = word.utf16();
    const qsizetype last = word.size() - 1;
    qsizetype j = 0; // where the syllable being built begins
    for (qsizetype i = 0; i <= last; ++i) {
        const char16_t c = s[i];
        const std::uint8_t cls = classOf(c);
        Cut cut = Cut::None;
        if (cls & Consonant) {
            const char16_t before = i > 0 ? s[i - 1] : u'\0';
            const char16_t after = i < last ? s[i + 1] : u'\0';
            cut = cutAtConsonant({before, c, after, classOf(before), cls, classOf(after)},
                                 after == c ? Cut::After : Cut::None);
        } else if ((cls & StrongVowel) && i > 0 && (classOf(s[i - 1]) & StrongVowel)) {
            cut = Cut::Before;
        } else if (isSign(c, signs)) {
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
    if (j == last && !syllables.isEmpty() && (classOf(s[last]) & Consonant))
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
