#include "readingaids/consonnf.h"
#include "readingaids/syllabify.h"

#include "testfiles.h"
#include "visible.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

struct SyllableCase
{
    const char *name;
    QString word;
    QStringList syllables;
};

TEST(Syllabify, CutsWordsAsFrenchIsWritten)
{
    const SyllableCase cases[] = {
        {"consonant between vowels goes with the next vowel", u"papa"_s, {u"pa"_s, u"pa"_s}},
        {"the same twice", u"chocolat"_s, {u"cho"_s, u"co"_s, u"lat"_s}},
        {"b joins a following l, two strong vowels", u"tableau"_s, {u"ta"_s, u"ble"_s, u"au"_s}},
        {"r before b cuts after r, b is skipped", u"arbre"_s, {u"ar"_s, u"bre"_s}},
        {"double consonant", u"ville"_s, {u"vil"_s, u"le"_s}},
        {"double s", u"poisson"_s, {u"pois"_s, u"son"_s}},
        {"lone final consonant joins the syllable before", u"enfant"_s, {u"en"_s, u"fant"_s}},
        {"p joins a following h", u"éléphant"_s, {u"é"_s, u"lé"_s, u"phant"_s}},
        {"strong vowels in a row", u"aéroport"_s, {u"a"_s, u"é"_s, u"ro"_s, u"port"_s}},
        {"r before m", u"pharmacie"_s, {u"phar"_s, u"ma"_s, u"cie"_s}},
        {"y as a consonant before a vowel", u"crayon"_s, {u"cra"_s, u"yon"_s}},
        {"è is strong", u"poète"_s, {u"po"_s, u"è"_s, u"te"_s}},
        {"â is no vowel", u"théâtre"_s, {u"théâtre"_s}},
        {"ï is no vowel", u"maïs"_s, {u"maïs"_s}},
        {"î is no vowel", u"île"_s, {u"île"_s}},
        {"s after n before a consonant", u"Ernst"_s, {u"Er"_s, u"nst"_s}},
        {"apostrophe carried along", u"l'enfant"_s, {u"l'en"_s, u"fant"_s}},
        {"capitals as lower case", u"PAPA"_s, {u"PA"_s, u"PA"_s}},
        {"one letter", u"a"_s, {u"a"_s}},
        {"one consonant", u"s"_s, {u"s"_s}},
        {"empty word", u""_s, {u""_s}},
        {"hyphen becomes a syllable", u"a-b"_s, {u"a"_s, u"-b"_s}},
        {"plus becomes a dash", u"a+b"_s, {u"a"_s, u"-b"_s}},
        {"final sign leaves an empty syllable", u"ab+"_s, {u"ab"_s, u"-"_s, u""_s}},
        {"sign after a sign is not examined", u"a++b"_s, {u"a"_s, u"-"_s, u"+b"_s}},
        {"leading sign leaves an empty first syllable", u"+a"_s, {u""_s, u"-"_s, u"a"_s}},
        {"Ll is no double consonant", u"Lla"_s, {u"Lla"_s}},
        {"ll is a double consonant", u"lla"_s, {u"l"_s, u"la"_s}},
        {"token keeps the final t apart", u"dort#2"_s, {u"dor"_s, u"t#2"_s}},
        {"characters past U+00FF belong to no class", u"œuvre"_s, {u"œu"_s, u"vre"_s}},
    };
    for (const SyllableCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Syllabify(c.word), c.syllables);
    }
}

TEST(Syllabify, GivesTheWordBackExceptForThePlusSign)
{
    const QString words[] = {u"anticonstitutionnellement"_s, u"aujourd'hui"_s, u"Ñandú"_s, u"rythme"_s,
                             u"Yves"_s, u"porte-monnaie"_s, u"x"_s};
    for (const QString &word : words) {
        SCOPED_TRACE(visible(word));
        EXPECT_EQ(Syllabify(word).join(QString()), word);
    }
}

TEST(ConsonnF, HoldsTheWordsExactlyAsStored)
{
    // One word a line, in the list's order, capitals, accents and the
    // ligature as stored.
    const QStringList expected = QString::fromUtf8(bytesOf(QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/consonnf.txt")))
                                     .split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(expected.size(), 524);
    QStringList stored;
    for (QStringView word : consonnF)
        stored << word.toString();
    for (const QString &word : expected)
        EXPECT_TRUE(stored.contains(word)) << visible(word) << " is missing from the list";
    for (const QString &word : std::as_const(stored))
        EXPECT_TRUE(expected.contains(word)) << visible(word) << " is in the list, and not expected there";
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (stored.at(i) != expected.at(i)) {
            ADD_FAILURE() << "word " << i << " is " << visible(stored.at(i)) << " where " << visible(expected.at(i))
                          << " is expected";
            break;
        }
    }
}

TEST(ConsonneFinale, ComparesWholeWordsWithTheirCase)
{
    EXPECT_TRUE(consonneFinale(u"Abricot"));
    EXPECT_FALSE(consonneFinale(u"abricot"));
    EXPECT_TRUE(consonneFinale(u"chat"));
    EXPECT_FALSE(consonneFinale(u"Chat"));
    EXPECT_FALSE(consonneFinale(u"chats"));
    EXPECT_FALSE(consonneFinale(u""));
    for (QStringView word : consonnF)
        EXPECT_TRUE(consonneFinale(word)) << visible(word);
}

TEST(ConsonneFinale2, KnowsTenLowerCaseLetters)
{
    QString found;
    for (char16_t c = 0; c < 0x250; ++c) {
        if (consonneFinale2(QChar(c)))
            found += QChar(c);
    }
    EXPECT_EQ(found, u"bcfghlpwxz"_s);
}

} // namespace
