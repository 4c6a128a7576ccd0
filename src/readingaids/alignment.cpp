#include "alignment.h"

#include "phonemes.h"

#include <QHash>

#include <array>
#include <limits>
#include <vector>

namespace readingaids {

namespace {

// What a correspondence costs in the cut: the alignment takes the cut of
// least cost, so a grapheme is read with its usual value before a rarer one,
// and double letters and digraphs are taken whole before a letter is left
// silent.
constexpr int usual = 1;  // the grapheme's common value
constexpr int rarer = 2;  // a value it takes in fewer words
constexpr int odd = 4;    // a value of a handful of words (said in a comment)
constexpr int mute = 1;   // a letter as often silent as not: e, h
constexpr int silent = 2; // a consonant left silent at the end of the word...
constexpr int silentInside = 3; // ...and inside it: French leaves final letters silent,
                                // so "places" [plas] is c|e|s, not c silent

using C = Context;
using S = Silence;

// One row per correspondence of French spelling; the phonemes are those that
// espeak-ng's French voice gives (it writes [ɥ] as [y], and [ɲ] before a vowel
// as [nj]).
constexpr Correspondence table[] = {
    // a
    {u"a", u"a", usual},
    {u"a", u"ɛ", rarer, C::BeforeY},  // "crayon", "pays": y stands for two i, the first one read with the a
    {u"a", u"e", rarer, C::BeforeY},
    {u"ay", u"ɛ", rarer},             // "tramway", "play"
    {u"à", u"a", usual},
    {u"â", u"a", usual},
    {u"ai", u"ɛ", usual},
    {u"ai", u"e", usual},
    {u"ai", u"ə", odd},               // "faisons", "faisan"
    {u"aî", u"ɛ", usual},
    {u"aim", u"ɛ̃", usual},
    {u"ain", u"ɛ̃", usual},
    {u"am", u"ɑ̃", usual},
    {u"an", u"ɑ̃", usual},
    {u"aen", u"ɑ̃", odd},              // "Caen"
    {u"aon", u"ɑ̃", rarer},            // "paon", "faon"
    {u"aou", u"u", odd},              // "saoul"
    {u"aoû", u"u", odd},              // "août"
    {u"au", u"o", usual},
    {u"au", u"ɔ", usual},
    {u"æ", u"e", rarer},
    // e
    {u"e", u"ə", usual},
    {u"e", u"ɛ", usual},
    {u"e", u"e", usual},
    {u"e", u"", mute, C::Anywhere, S::Vowel},
    {u"e", u"a", odd},                // "femme", "solennel", the adverbs in -emment
    {u"e", u"œ", odd},                // "leader", "cracker"
    {u"é", u"e", usual},
    {u"é", u"ɛ", rarer},              // "événement", "céderai"
    {u"è", u"ɛ", usual},
    {u"ê", u"ɛ", usual},
    {u"ê", u"e", rarer},
    {u"ë", u"ɛ", usual},
    {u"ë", u"", rarer, C::Anywhere, S::Vowel},               // "ambiguë"
    {u"eau", u"o", usual},
    {u"ei", u"ɛ", usual},
    {u"ei", u"e", usual},
    {u"eî", u"ɛ", usual},
    {u"eim", u"ɛ̃", rarer},            // "Reims"
    {u"ein", u"ɛ̃", usual},
    {u"em", u"ɑ̃", usual},
    {u"em", u"ɛ̃", rarer},
    {u"en", u"ɑ̃", usual},
    {u"en", u"ɛ̃", usual},             // "chien", "examen"
    {u"en", u"ɑ̃n", odd},              // "enivrer", "enhardir": the n is said again before the vowel
    {u"ent", u"", mute, C::WordEnd, S::Vowel},  // "ils parlent"
    {u"er", u"e", usual},             // "manger", "premier"
    {u"es", u"e", usual},             // "les", "mes"
    {u"es", u"ɛ", usual},             // "tu es", "est"
    {u"et", u"ɛ", usual},             // "poulet"
    {u"et", u"e", usual},             // "et"
    {u"eu", u"ø", usual},
    {u"eu", u"œ", usual},
    {u"eu", u"y", rarer},             // "j'ai eu", "gageure"
    {u"eû", u"ø", usual},
    {u"eû", u"y", rarer},             // "qu'il eût"
    {u"ey", u"ɛ", usual},             // "jockey"
    {u"ez", u"e", usual},             // "nez", "chantez"
    // i, y
    {u"i", u"i", usual},
    {u"i", u"j", usual},              // "pied", "nation"
    {u"i", u"aj", odd},               // "iceberg", "drive"
    {u"i", u"œ", odd},                // "flirt"
    {u"î", u"i", usual},
    {u"ï", u"i", usual},
    {u"ï", u"j", usual},              // "aïeul"
    {u"în", u"ɛ̃", usual},             // "qu'il vînt"
    {u"ïn", u"ɛ̃", rarer},             // "coïncider"
    {u"il", u"j", usual},             // "travail", "soleil", "œil"
    {u"ill", u"j", usual},            // after a vowel: "paille", "feuille"
    {u"ill", u"ij", usual},           // after a consonant: "fille", "famille"
    {u"im", u"ɛ̃", usual},
    {u"in", u"ɛ̃", usual},
    {u"y", u"i", usual},
    {u"y", u"j", usual},
    {u"y", u"ij", rarer},             // "tuyau", "essuyer": y stands for two i
    {u"ym", u"ɛ̃", usual},
    {u"yn", u"ɛ̃", usual},
    // o
    {u"o", u"o", usual},
    {u"o", u"ɔ", usual},
    {u"o", u"wa", rarer, C::BeforeY}, // "voyage", "royal": y stands for two i, the first one read with the o
    {u"ô", u"o", usual},
    {u"oe", u"wa", odd},              // "moelle"
    {u"oê", u"wa", odd},              // "poêle"
    {u"œ", u"œ", usual},
    {u"œ", u"e", rarer},              // "œsophage"
    {u"œ", u"ø", rarer},
    {u"œu", u"ø", usual},
    {u"œu", u"œ", usual},
    {u"oe", u"œ", rarer},             // œ written as two letters: "oeil", "coeur"
    {u"oe", u"e", rarer},             // "oesophage"
    {u"oe", u"ø", rarer},             // "oedème", "oenologie"
    {u"oeu", u"ø", rarer},            // "voeu"
    {u"oeu", u"œ", rarer},            // "coeur", "manoeuvre"
    {u"oi", u"wa", usual},
    {u"oî", u"wa", usual},
    {u"oi", u"o", odd},               // "oignon" keeps an old spelling
    {u"oin", u"wɛ̃", usual},
    {u"om", u"ɔ̃", usual},
    {u"on", u"ɔ̃", usual},
    {u"on", u"ə", odd},               // "monsieur"
    {u"oo", u"u", rarer},             // "football"
    {u"oo", u"o", rarer},             // "zoo"
    {u"oo", u"ɔ", rarer},             // "alcool"
    {u"ou", u"u", usual},
    {u"ou", u"w", usual},             // "oui", "ouest"
    {u"où", u"u", usual},
    {u"oû", u"u", usual},
    // u
    {u"u", u"y", usual},
    {u"u", u"ɥ", usual},
    {u"u", u"ɔ", odd},                // the Latin -um: "album", "aquarium"
    {u"u", u"w", rarer},              // "aquarium", "équateur": qu says [kw]
    {u"u", u"u", rarer},
    {u"u", u"œ", odd},                // "bluff", "surf", "club"
    {u"û", u"y", usual},
    {u"ü", u"y", usual},
    {u"ue", u"œ", rarer},             // after c and g: "cueillir", "orgueil"
    {u"um", u"œ̃", usual},
    {u"um", u"ɛ̃", usual},
    {u"un", u"œ̃", usual},
    {u"un", u"ɛ̃", usual},
    // b
    {u"b", u"b", usual},
    {u"b", u"p", rarer},              // "absent", "obtenir"
    {u"b", u"", silent, C::Anywhere, S::Consonant},              // "plomb"
    {u"bb", u"b", usual},
    // c
    {u"c", u"k", usual},
    {u"c", u"s", usual},
    {u"c", u"ɡ", odd},                // "second"
    {u"c", u"", silent, C::Anywhere, S::Consonant},              // "blanc", "tabac"
    {u"cc", u"k", usual},             // "accord"; "accent" is c|c, [k] then [s]
    {u"ç", u"s", usual},
    {u"ch", u"ʃ", usual},
    {u"ch", u"k", usual},             // "chœur", "orchestre"
    {u"ch", u"tʃ", rarer},
    {u"cch", u"k", rarer},            // "bacchanale"
    {u"ck", u"k", usual},
    {u"cqu", u"k", usual},            // "acquérir"
    // d
    {u"d", u"d", usual},
    {u"d", u"", silent, C::Anywhere, S::Consonant},              // "froid", "pied"
    {u"dd", u"d", usual},
    // f
    {u"f", u"f", usual},
    {u"f", u"", silent, C::Anywhere, S::Consonant},              // "clef", "œufs"
    {u"ff", u"f", usual},
    // g
    {u"g", u"ɡ", usual},
    {u"g", u"ʒ", usual},
    {u"g", u"", silent, C::Anywhere, S::Consonant},              // "long", "doigt"
    {u"gg", u"ɡ", usual},             // "agglomérer"; "suggérer" is g|g, [ɡ] then [ʒ]
    {u"ge", u"ʒ", usual, C::BeforeBackVowel}, // "mangeons", "pigeon"
    {u"gu", u"ɡ", usual},             // "guerre", "langue"
    {u"gn", u"ɲ", usual},
    {u"gn", u"nj", usual},            // espeak-ng's [ɲ] before a vowel: "agneau"
    {u"gni", u"ɲ", rarer},            // "craignions": the [j] is heard in the [ɲ]
    // h
    {u"h", u"", mute, C::Anywhere, S::Mute},
    // j, k
    {u"j", u"ʒ", usual},
    {u"j", u"dʒ", rarer},             // "jazz", "jean"
    {u"k", u"k", usual},
    // l
    {u"l", u"l", usual},
    {u"l", u"", silent, C::Anywhere, S::Consonant},              // "gentil", "outil"
    {u"l", u"j", odd},                // "gentilhomme"
    {u"ll", u"l", usual},
    // m
    {u"m", u"m", usual},
    {u"m", u"", silent, C::Anywhere, S::Consonant},              // "automne", "condamner"
    {u"mm", u"m", usual},
    // n
    {u"n", u"n", usual},
    {u"nn", u"n", usual},
    {u"ñ", u"ɲ", rarer},              // "cañon"
    {u"ñ", u"nj", rarer},
    // p
    {u"p", u"p", usual},
    {u"p", u"", silent, C::Anywhere, S::Consonant},              // "trop", "compter", "sept"
    {u"pp", u"p", usual},
    {u"ph", u"f", usual},
    // q
    {u"q", u"k", usual},              // "coq", and "aquarium" with u saying [w]
    {u"qu", u"k", usual},
    // r
    {u"r", u"ʁ", usual},
    {u"r", u"", silent, C::Anywhere, S::Consonant},              // "monsieur"
    {u"rr", u"ʁ", usual},
    {u"rh", u"ʁ", usual},             // "rhume"
    // s
    {u"s", u"s", usual},
    {u"s", u"z", usual},              // between vowels: "maison"
    {u"s", u"", silent, C::Anywhere, S::Consonant},
    {u"ss", u"s", usual},
    {u"sc", u"s", usual},             // "piscine"
    {u"sch", u"ʃ", usual},            // "schéma"
    {u"sh", u"ʃ", rarer},
    // t
    {u"t", u"t", usual},
    {u"t", u"s", usual},              // "nation", "patient"
    {u"t", u"", silent, C::Anywhere, S::Consonant},
    {u"tt", u"t", usual},
    {u"th", u"t", usual},             // "théâtre"
    // v, w
    {u"v", u"v", usual},
    {u"w", u"w", usual},              // "kiwi"
    {u"w", u"v", usual},              // "wagon"
    // x
    {u"x", u"ks", usual},             // "taxi"
    {u"x", u"ɡz", usual},             // "examen"
    {u"x", u"s", rarer},              // "six", "dix"
    {u"x", u"z", rarer},              // "deuxième"
    {u"x", u"", silent, C::Anywhere, S::Consonant},              // "deux", "chevaux"; and the c after x is silent: "excéder"
    // z
    {u"z", u"z", usual},
    {u"z", u"s", rarer},              // "quartz"
    {u"z", u"", silent, C::Anywhere, S::Consonant},              // "riz"
    {u"zz", u"z", usual},
    {u"zz", u"dz", rarer},            // "pizza"
    // the apostrophe of an elided word: "l'école"
    {u"'", u"", 0, C::Anywhere, S::Mute},
};

// A row with its phonemes as a phoneme string.
struct Row
{
    QString spelling;
    QString phonemes;
    int cost;
    Context context;
    Silence silence;
};

// The rows by the first letter of their grapheme.
struct Rows
{
    std::vector<Row> rows;
    QHash<char16_t, std::vector<qsizetype>> byFirstLetter;

    Rows()
    {
        rows.reserve(std::size(table));
        for (const Correspondence &c : table) {
            const QStringView ipa(c.ipa.data(), qsizetype(c.ipa.size()));
            rows.push_back({QStringView(c.spelling.data(), qsizetype(c.spelling.size())).toString(),
                            phonemesFromIpa(ipa), c.cost, c.context, c.silence});
            Q_ASSERT_X(c.ipa.empty() || !rows.back().phonemes.isEmpty(), "alignment table", "a phoneme is not French");
            Q_ASSERT_X(c.ipa.empty() == (c.silence != Silence::Said), "alignment table", "a silent row says nothing");
            byFirstLetter[c.spelling.front()].push_back(qsizetype(rows.size() - 1));
        }
    }
};

const Rows &compiledRows()
{
    static const Rows rows;
    return rows;
}

bool isBackVowel(QChar c)
{
    return QStringView(u"aàâäoôöuûüù").contains(c);
}

// Whether the row's context holds for its grapheme at start of the word.
bool contextHolds(Context context, QStringView word, qsizetype end)
{
    switch (context) {
    case Context::Anywhere:
        return true;
    case Context::BeforeBackVowel:
        return end < word.size() && isBackVowel(word[end]);
    case Context::BeforeY:
        return end < word.size() && word[end] == u'y';
    case Context::WordEnd:
        return end == word.size();
    }
    return false;
}

// What a cut of some letters costs: the sum of its rows' costs, then its
// number of graphemes, compared in that order.
struct Price
{
    int cost = std::numeric_limits<int>::max();
    int graphemes = 0;

    bool reached() const { return cost != std::numeric_limits<int>::max(); }
    auto operator<=>(const Price &) const = default;
};

// What a row costs where its grapheme ends.
int rowCost(const Row &row, bool atWordEnd)
{
    if (row.silence == Silence::Consonant && !atWordEnd)
        return silentInside;
    return row.cost;
}

} // namespace

std::span<const Correspondence> correspondences()
{
    return table;
}

namespace {

// The table of the cut: at (i, j), the least cost of cutting the first i
// letters into graphemes that say the first j phonemes, and the row of the
// last grapheme of that cut.
struct Cuts
{
    qsizetype width;
    std::vector<Price> price;
    std::vector<qsizetype> via;

    const Price &priceAt(qsizetype i, qsizetype j) const { return price[std::size_t(i * width + j)]; }
};

Cuts cut(QStringView word, QStringView phonemes)
{
    const Rows &rows = compiledRows();
    const qsizetype n = word.size();
    const qsizetype m = phonemes.size();
    Cuts cuts{m + 1, std::vector<Price>(std::size_t((n + 1) * (m + 1))), {}};
    cuts.via.assign(cuts.price.size(), -1);
    cuts.price[0] = {0, 0};
    for (qsizetype i = 0; i < n; ++i) {
        const auto candidates = rows.byFirstLetter.constFind(word[i].unicode());
        if (candidates == rows.byFirstLetter.cend())
            break;
        for (qsizetype j = 0; j <= m; ++j) {
            const Price here = cuts.priceAt(i, j);
            if (!here.reached())
                continue;
            for (const qsizetype r : *candidates) {
                const Row &row = rows.rows[std::size_t(r)];
                const qsizetype end = i + row.spelling.size();
                if (!word.sliced(i).startsWith(row.spelling) || !phonemes.sliced(j).startsWith(row.phonemes)
                    || !contextHolds(row.context, word, end))
                    continue;
                const std::size_t to = std::size_t(end * cuts.width + j + row.phonemes.size());
                // Between cuts of the same cost, the one of fewer graphemes:
                // "eû" of "eût" whole rather than e silent and û.
                const Price there{here.cost + rowCost(row, end == n), here.graphemes + 1};
                if (there < cuts.price[to]) {
                    cuts.price[to] = there;
                    cuts.via[to] = r;
                }
            }
        }
    }
    return cuts;
}

} // namespace

std::optional<QList<Grapheme>> align(QStringView word, QStringView phonemes)
{
    const Cuts cuts = cut(word, phonemes);
    if (!cuts.price.back().reached())
        return std::nullopt;
    const std::vector<Row> &rows = compiledRows().rows;
    QList<Grapheme> graphemes;
    for (qsizetype i = word.size(), j = phonemes.size(); i > 0;) {
        const qsizetype r = cuts.via[std::size_t(i * cuts.width + j)];
        const Row &row = rows[std::size_t(r)];
        i -= row.spelling.size();
        j -= row.phonemes.size();
        graphemes.prepend({i, row.spelling.size(), row.phonemes, r, row.silence});
    }
    return graphemes;
}

AlignmentStop alignmentStop(QStringView word, QStringView phonemes)
{
    const Cuts cuts = cut(word, phonemes);
    AlignmentStop stop;
    for (qsizetype i = 0; i <= word.size(); ++i) {
        for (qsizetype j = 0; j <= phonemes.size(); ++j) {
            if (cuts.priceAt(i, j).reached() && (i > stop.letters || (i == stop.letters && j < stop.phonemes)))
                stop = {i, j};
        }
    }
    return stop;
}

} // namespace readingaids
