#include "readingaids/bodyaids.h"
#include "readingaids/corrections.h"
#include "readingaids/entendu.h"
#include "readingaids/silentbyear.h"
#include "readingaids/syllablesbyear.h"
#include "readingaids/writtenbyear.h"

#include "visible.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// The word's syllables by ear joined by "|", and its silent letters in
// brackets; "?" when it does not align.
struct ByEar
{
    QString syllables;
    QString silent;
};

}
namespace {
ByEar byEar(const QString &word)
{
    const Pronunciation said = Pronouncer::process().pronounce(word);
    const auto graphemes = align(spelling(word), said.phonemes);
    if (said.outcome != Pronunciation::Outcome::Pronounced || !graphemes)
        return {u"?"_s, u"? "_s + said.ipa};
    return {syllablesByEar(word, *graphemes).join(u'|'), bracketSilent(word, silentByEar(word, *graphemes))};
}

class ByEarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!entenduAvailability())
            GTEST_SKIP() << "espeak-ng cannot be loaded here";
        setProcessCorrections({});
    }
    void TearDown() override { setProcessCorrections({}); }
};

using SyllablesByEar = ByEarTest;

TEST_F(SyllablesByEar, CutsTheWrittenSyllablesASchoolTeaches)
{
    const struct
    {
        QString word;
        QString expected;
    } cases[] = {
        // the letters of one sound are never cut
        {u"bateau"_s, u"ba|teau"_s}, {u"château"_s, u"châ|teau"_s}, {u"montagne"_s, u"mon|ta|gne"_s},
        {u"champignon"_s, u"cham|pi|gnon"_s}, {u"cygne"_s, u"cy|gne"_s}, {u"chocolat"_s, u"cho|co|lat"_s},
        {u"maison"_s, u"mai|son"_s}, {u"quatre"_s, u"qua|tre"_s}, {u"feuille"_s, u"feu|ille"_s},
        {u"fille"_s, u"fi|lle"_s}, {u"sculpteur"_s, u"sculp|teur"_s},
        // between two consonants, but not before l or r after a consonant
        {u"arbre"_s, u"ar|bre"_s}, {u"table"_s, u"ta|ble"_s}, {u"parti"_s, u"par|ti"_s},
        // a double consonant is cut in two
        {u"pomme"_s, u"pom|me"_s}, {u"terre"_s, u"ter|re"_s}, {u"poisson"_s, u"pois|son"_s},
        // a final e not said makes a syllable with the consonant before it
        {u"petite"_s, u"pe|ti|te"_s}, {u"journée"_s, u"jour|née"_s}, {u"lycée"_s, u"ly|cée"_s},
        {u"chantent"_s, u"chan|tent"_s}, {u"samedi"_s, u"sa|me|di"_s},
        // a silent final consonant stays in the last syllable
        {u"enfants"_s, u"en|fants"_s}, {u"parents"_s, u"pa|rents"_s},
        // hiatus
        {u"théâtre"_s, u"thé|â|tre"_s}, {u"Noël"_s, u"No|ël"_s}, {u"maïs"_s, u"ma|ïs"_s},
        // the y of two i, a glide with its consonant
        {u"crayon"_s, u"cra|yon"_s}, {u"nation"_s, u"na|tion"_s},
        // an elided word goes with the syllable after it
        {u"d'eau"_s, u"d'eau"_s}, {u"l'école"_s, u"l'é|co|le"_s}, {u"aujourd'hui"_s, u"au|jour|d'hui"_s}, {u"nuit"_s, u"nuit"_s},
        {u"cuisine"_s, u"cui|si|ne"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.word));
        EXPECT_EQ(byEar(c.word).syllables, c.expected);
    }
}

using SilentByEar = ByEarTest;

TEST_F(SilentByEar, MarksTheLettersNotSaidInTheWordSaidAlone)
{
    const struct
    {
        QString word;
        QString expected;
    } cases[] = {
        // said: nothing marked
        {u"il"_s, u"il"_s}, {u"sac"_s, u"sac"_s}, {u"avec"_s, u"avec"_s}, {u"parc"_s, u"parc"_s},
        {u"cheval"_s, u"cheval"_s}, {u"bus"_s, u"bus"_s}, {u"ours"_s, u"ours"_s}, {u"huit"_s, u"[h]uit"_s},
        {u"samedi"_s, u"samedi"_s}, {u"fil"_s, u"fil"_s},
        // final consonants, -ent of verbs, the final e, h
        {u"petit"_s, u"peti[t]"_s}, {u"chaud"_s, u"chau[d]"_s}, {u"banc"_s, u"ban[c]"_s},
        {u"temps"_s, u"tem[ps]"_s}, {u"chantent"_s, u"chant[ent]"_s}, {u"parlent"_s, u"parl[ent]"_s},
        {u"petite"_s, u"petit[e]"_s}, {u"hiver"_s, u"[h]iver"_s}, {u"est"_s, u"e[st]"_s},
        {u"prend"_s, u"pren[d]"_s}, {u"gentil"_s, u"genti[l]"_s}, {u"enfants"_s, u"enfan[ts]"_s},
        {u"manger"_s, u"mange[r]"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.word));
        EXPECT_EQ(byEar(c.word).silent, c.expected);
    }
}

} // namespace
TEST(ByEarProbe, Show)
{
    for (const QString &w : qEnvironmentVariable("PROBE").split(u' ', Qt::SkipEmptyParts)) {
        const ByEar b = byEar(w);
        std::printf("%s\t%s\t%s\t%s\n", qPrintable(w), qPrintable(b.syllables), qPrintable(b.silent),
                    qPrintable(Pronouncer::process().pronounce(w).ipa));
    }
}
