#include "visible.h"
#include "workspace/folding.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using workspace::EnleveAccentsCaseOfDoubles;

namespace {

struct FoldCase
{
    const char *name;
    QString input;
    QString folded;
};

const FoldCase kFoldCases[] = {
    {"LigatureAndAccents", u"Bœuf Éloïse"_s, u"Boeuf_Eloise"_s},
    {"CapitalLigatureOE", u"Œil"_s, u"OEil"_s},
    {"CapitalLigatureAE", u"Æsa"_s, u"AEsa"_s},
    {"LigatureThenAccent", u"Cœur brisé"_s, u"Coeur_brise"_s},
    {"ApostropheKept", u"l'été"_s, u"l'ete"_s},
    {"SharpSKept", u"Straße"_s, u"Straße"_s},
    {"CapitalZCaronKept", u"Žofia"_s, u"Žofia"_s},
    {"EveryCharacterAfterALigature", u"æéæœÿ"_s, u"aeeaeoey"_s},
    {"CapitalRanges", u"ÀÁÂÃÄÅ ÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝŸ"_s, u"AAAAAA_CEEEEIIIIDNOOOOOOUUUUYY"_s},
    {"SmallRanges", u"àáâãäåçèéêëìíîïðñòóôõöøùúûüýÿ"_s, u"aaaaaaceeeeiiiidnoooooouuuuyy"_s},
    {"CaronLetters", u"Šš ž"_s, u"Ss_z"_s},
    {"UnfoldedSigns", u"×Þß÷þŽ"_s, u"×Þß÷þŽ"_s},
    {"PunctuationDigitsAndAt", u"jean-luc.dupont_2@école.fr"_s, u"jean-luc.dupont_2@ecole.fr"_s},
    {"EveryBlank", u"  a  b "_s, u"__a__b_"_s},
    {"TabAndNoBreakSpaceStay", u"a\tb\u00A0c"_s, u"a\tb\u00A0c"_s},
    {"SurrogatePairUnitsStay", u"a😀b"_s, u"a😀b"_s},
    {"Empty", QString(), QString()},
};

void PrintTo(const FoldCase &c, std::ostream *out)
{
    *out << c.name;
}

class Folding : public testing::TestWithParam<FoldCase>
{
};

TEST_P(Folding, FoldsEachCharacterOnceAndIsIdempotent)
{
    const FoldCase &c = GetParam();
    const QString folded = EnleveAccentsCaseOfDoubles(c.input);
    EXPECT_EQ(folded, c.folded);
    EXPECT_EQ(EnleveAccentsCaseOfDoubles(folded), folded);
}

INSTANTIATE_TEST_SUITE_P(Names, Folding, testing::ValuesIn(kFoldCases),
                         [](const testing::TestParamInfo<FoldCase> &info) { return info.param.name; });

// Every 16-bit unit: the folded form has only characters that fold to
// themselves, and only the listed units change.
TEST(FoldingTable, ChangesOnlyTheListedUnitsAndReachesAFixedPoint)
{
    int changed = 0;
    for (char16_t unit = 1; unit != 0; ++unit) {
        const QString one(QChar{unit});
        const QString folded = EnleveAccentsCaseOfDoubles(one);
        if (folded != one)
            ++changed;
        EXPECT_EQ(EnleveAccentsCaseOfDoubles(folded), folded) << "unit " << int(unit);
    }
    // The blank, 30 capitals (Ÿ among them), 30 small letters (ÿ among them), Œ œ, Š š and ž.
    EXPECT_EQ(changed, 1 + 30 + 30 + 2 + 2 + 1);
}

TEST(UpperCasingOfClassFields, ChangesOnlyTheLettersAToZ)
{
    EXPECT_EQ(workspace::upperCaseClassField(u"évry"_s), u"éVRY"_s);
    EXPECT_EQ(workspace::upperCaseClassField(u"cm1-b ça"_s), u"CM1-B çA"_s);
    EXPECT_EQ(EnleveAccentsCaseOfDoubles(workspace::upperCaseClassField(u"évry"_s)), u"eVRY"_s);
}

} // namespace
