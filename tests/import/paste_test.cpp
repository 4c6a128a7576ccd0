#include "import/paste.h"
#include "sources/refusals.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// What a paste or a keystroke makes of the words it touches: a word of
// over 1,000 characters is refused, as a file bringing one in is.
TEST(Paste, AnInsertionMakingAWordOfOverAThousandCharactersIsTold)
{
    const qsizetype most = sources::MaxWordCharacters;
    const QString half(most / 2, u'a');
    struct Case { const char *name; QString before; QString inserted; QString after; bool refused; };
    const Case cases[] = {
        {"AWordOfTheLongestLength", u"Le "_s, QString(most, u'a'), u" fin"_s, false},
        {"AWordOneLonger", u"Le "_s, QString(most + 1, u'a'), u" fin"_s, true},
        {"TwoMegabytesOfOneWord", {}, QString(2'000'000, u'a'), {}, true},
        {"ALetterTypedAtTheEndOfTheLongest", QString(most, u'a'), u"a"_s, {}, true},
        {"ALetterTypedInsideTheLongest", QString(most / 2, u'a'), u"a"_s, QString(most - most / 2, u'a'), true},
        {"ABlankTypedInsideTheLongest", QString(most, u'a'), u" "_s, QString(most, u'a'), false},
        {"APasteJoiningTwoHalves", half + u'b', half, u"c "_s + half, true},
        {"APasteEndingAWordBeforeALineEnd", half, half + u'\n' + half, half, false},
        {"ManyWordsOfTheLongestLength", {}, (QString(most, u'a') + u' ').repeated(1000), {}, false},
        {"LettersOutsideTheBasicPlaneCountOnce", {}, u"\U0001D49C"_s.repeated(most), {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(import::makesLongWord(c.before, c.inserted, c.after), c.refused);
    }
}

} // namespace
