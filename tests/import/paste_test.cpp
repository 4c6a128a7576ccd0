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

// A clipboard holding only HTML keeps the page's shape: its paragraphs
// parted by an empty line, its list items as "• " lines one after the other.
TEST(Paste, AnHtmlOnlyClipboardKeepsItsParagraphsAndListItems)
{
    struct Case { const char *name; QString plain; QString html; QString expected; };
    const Case cases[] = {
        {"Paragraphs", {}, u"<p>Le loup&nbsp;!</p><p>Fin</p>"_s, u"Le loup\u00A0!\n\nFin"_s},
        {"AListBetweenParagraphs", {},
         u"<html><body><p>Il faut :</p><ul><li>du <b>pain</b></li>\n<li>du sel</li></ul><p>Merci.</p></body></html>"_s,
         u"Il faut :\n\n• du pain\n• du sel\n\nMerci."_s},
        {"TwoListsApart", {}, u"<ol><li>un</li></ol><p>et</p><ol><li>deux</li><li>trois</li></ol>"_s,
         u"• un\n\net\n\n• deux\n• trois"_s},
        {"AnItemsSecondLineIsAParagraph", {}, u"<ul><li>un<br>suite</li><li>deux</li></ul>"_s,
         u"• un\n\nsuite\n\n• deux"_s},
        {"PlainTextWins", u"un\r\ndeux"_s, u"<ul><li>un</li></ul>"_s, u"un\ndeux"_s},
        {"NothingVisible", {}, u"<ul><li> </li></ul><p>&#8203;</p>"_s, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(import::pastedText(c.plain, c.html), c.expected);
    }
}

} // namespace
