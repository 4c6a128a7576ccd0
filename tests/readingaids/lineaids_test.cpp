#include "readingaids/bodyaids.h"
#include "readingaids/couleurs.h"
#include "readingaids/muettes.h"
#include "readingaids/tirets.h"

#include "visible.h"
#include "wholewords.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

struct LineCase
{
    const char *name;
    QString line;
    QString expected;
};

// The expected lines write a word kept whole on its line in braces.
void expectLines(QString (*treatment)(QStringView, const Corrections &), std::initializer_list<LineCase> cases)
{
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(treatment(c.line, {}), keptWhole(c.expected)) << "line " << visible(c.line);
    }
}

// The coloured text of one word, from its syllables: red, green, blue...
QString coloured(const QStringList &syllables)
{
    static const QString colours[] = {u"red"_s, u"green"_s, u"blue"_s, u"black"_s, u"orange"_s};
    QString text;
    for (qsizetype k = 0; k < syllables.size(); ++k) {
        if (k > 0)
            text += u"</FONT>"_s;
        text += u"<FONT color=\"%1\">"_s.arg(colours[k % 5]) + syllables[k];
    }
    return text + u"</FONT>"_s;
}

TEST(SyllablesInColours, ColourEachWordFromRed)
{
    expectLines(couleursLine, {
        {"the final t stays out of the syllable before a full stop", u"Le chat dort.<br>"_s,
         uR"( <FONT color="red">Le</FONT> <FONT color="red">chat</FONT> <FONT color="red">dor</FONT><FONT color="green">t.</FONT><br>)"_s},
        {"a hyphen stays inside its syllable", u"Le porte-monnaie est vide.<br>"_s,
         uR"( <FONT color="red">Le</FONT> <FONT color="red">por</FONT><FONT color="green">te-mon</FONT><FONT color="blue">naie</FONT> <FONT color="red">est</FONT> <FONT color="red">vi</FONT><FONT color="green">de.</FONT><br>)"_s},
        {"four syllables in four colours", u"Un grand éléphant.<br>"_s,
         u" "_s + coloured({u"Un"_s}) + u" "_s + coloured({u"grand"_s}) + u" "_s
             + coloured({u"é"_s, u"lé"_s, u"phan"_s, u"t."_s}) + u"<br>"_s},
        {"the sixth syllable is red again", u"papapapapapa"_s,
         u" "_s + coloured({u"pa"_s, u"pa"_s, u"pa"_s, u"pa"_s, u"pa"_s, u"pa"_s})},
        {"a line of only <br>", u"<br>"_s, u"<br>"_s},
        {"blanks collapse and the ends are dropped", u"  le   lit  <br>"_s,
         u" "_s + coloured({u"le"_s}) + u" "_s + coloured({u"lit"_s}) + u"<br>"_s},
        {"a word before a tag is written before it", u"<b>mot</b><i>x</i><br>"_s,
         u"<b> "_s + coloured({u"mot"_s}) + u"</b><i> "_s + coloured({u"x"_s}) + u"</i><br>"_s},
        {"a plus sign keeps its place in its syllable", u"a+b<br>"_s,
         u" "_s + coloured({u"a"_s, u"+b"_s}) + u"<br>"_s},
        {"a word ending in a plus sign", u"ab+<br>"_s, u" "_s + coloured({u"ab"_s, u"+"_s}) + u"<br>"_s},
    });
}

// "À la suite": red and green in turn along the line, from red again at
// each line, by letters, by ear and as corrected.
TEST(SyllablesInColours, InARowAlternateRedAndGreenAlongTheLine)
{
    const QString red = u"<FONT color=\"red\">"_s, green = u"<FONT color=\"green\">"_s, end = u"</FONT>"_s;
    const QString line = u"Le petit chat dort.<br>"_s;
    const QString inARow = u" "_s + red + u"Le"_s + end + u" "_s + green + u"pe"_s + end + red + u"tit"_s + end
                           + u" "_s + green + u"chat"_s + end + u" "_s + red + u"dor"_s + end + green + u"t."_s + end
                           + u"<br>"_s;
    EXPECT_EQ(couleursLine(line, {}, SyllableColours::InARow), inARow);
    EXPECT_EQ(couleursLine(line, {}, SyllableColours::EachWord), couleursLine(line));
    // Every line starts again in red, in a document as on one line.
    const QStringList document = {u"<!--DEBUT-->"_s, u"logo"_s, line, line, u"<!--FIN-->"_s};
    const QStringList written = writeBodyAid(document, BodyAid::Couleurs, {}, {}, SyllableColours::InARow);
    EXPECT_EQ(written.mid(2, 2), (QStringList{inARow, inARow}));
    // A corrected word takes its colours from the syllables before it.
    const Corrections corrections = Corrections::fromBytes("cho|colat\n");
    EXPECT_EQ(couleursLine(u"un chocolat dort<br>"_s, corrections, SyllableColours::InARow),
              u" "_s + red + u"un"_s + end + u" "_s + green + u"cho"_s + end + red + u"colat"_s + end + u" "_s + green
                  + u"dort"_s + end + u"<br>"_s);
    // By ear, the same turns: a line of one-syllable words is red, green, red.
    EXPECT_EQ(treatBodyLine(BodyAid::CouleursEntendu, u"le chat dort<br>"_s, {}, {}, SyllableColours::InARow),
              u" "_s + red + u"le"_s + end + u" "_s + green + u"chat"_s + end + u" "_s + red + u"dort"_s + end
                  + u"<br>"_s);
}

TEST(SyllablesWithDashes, JoinTheSyllablesWithDashes)
{
    expectLines(tiretsLine, {
        {"syllables of a long word", u"Le chocolat est bon.<br>"_s, u" Le {cho-co-lat} est bon.<br>"_s},
        {"the full stop keeps the final t apart", u"Le chat dort.<br>"_s, u" Le chat {dor-t.}<br>"_s},
        {"the word's own hyphen looks like a dash", u"Le porte-monnaie est vide.<br>"_s,
         u" Le {por-te-mon-naie} est {vi-de.}<br>"_s},
        {"a word of one syllable is unchanged", u"Un chat<br>"_s, u" Un chat<br>"_s},
        {"a plus sign is kept after its dash", u"a+b<br>"_s, u" {a-+b}<br>"_s},
        {"a sign after a sign", u"a++b<br>"_s, u" {a-+-+b}<br>"_s},
        {"a tab inside a word is kept", u"a \tb<br>"_s, u" a \tb<br>"_s},
        {"no-break spaces are not trimmed and stay where they stood", u"\u00A0oui\u00A0?\u00A0<br>"_s,
         u"\u00A0oui\u00A0?\u00A0<br>"_s},
    });
}

TEST(SilentLetters, SetTheLastLetterApart)
{
    expectLines(muettesLine, {
        {"words of the list and final letters", u"Le vent souffle, il fait froid.<br>"_s,
         u" Le {ven--t} souffle, {i-l} {fai--t} {froi--d}.<br>"_s},
        {"a plural not in the list", u"Les chats dorment.<br>"_s, u" {Le-s} {chat-s} dorment.<br>"_s},
        {"the list is case-sensitive", u"Nez et nez.<br>"_s, u" {Ne--z} et {ne-z}.<br>"_s},
        {"a hyphen splits the word for the treatment", u"Le porte-monnaie.<br>"_s, u" Le porte-monnaie.<br>"_s},
        {"an ellipsis", u"Fin...<br>"_s, u" Fin...<br>"_s},
        {"a capital S is not set apart", u"CAS<br>"_s, u" CAS<br>"_s},
        {"a one-letter word", u"s<br>"_s, u" {-s}<br>"_s},
        {"a word after a hyphen", u"a-b<br>"_s, u" a{--b}<br>"_s},
        {"a blank before a colon stays", u"Voici : la rue<br>"_s, u" Voici : la rue<br>"_s},
        {"a mark at the start of the line", u"-bonjour<br>"_s, u"-bonjour<br>"_s},
    });
}

// French typography from a word processor: a no-break space before ";",
// ":", "!", "?" and inside guillemets ends the word like a blank, and is
// kept in the output in place of the blank.
TEST(LineScanner, KeepsNoBreakSpacesBetweenWords)
{
    const QString nbsp = u"\u00A0"_s;
    expectLines(couleursLine, {
        {"inside guillemets", u"«\u00A0chat\u00A0»<br>"_s,
         u" "_s + coloured({u"«"_s}) + nbsp + coloured({u"chat"_s}) + nbsp + coloured({u"»"_s}) + u"<br>"_s},
        {"before a question mark", u"Tu dors\u00A0?<br>"_s,
         u" "_s + coloured({u"Tu"_s}) + u" "_s + coloured({u"dors"_s}) + nbsp + u"?<br>"_s},
        {"every one of a run, and the blanks beside them", u"a \u00A0 \u00A0b<br>"_s,
         u" "_s + coloured({u"a"_s}) + u" "_s + nbsp + u" "_s + nbsp + coloured({u"b"_s}) + u"<br>"_s},
        {"a run of blanks beside one is one blank", u"a  \u00A0b<br>"_s,
         u" "_s + coloured({u"a"_s}) + u" "_s + nbsp + coloured({u"b"_s}) + u"<br>"_s},
        {"before a tag and at the end of the line", u"oui\u00A0<b>non</b>\u00A0"_s,
         u" "_s + coloured({u"oui"_s}) + nbsp + u"<b> "_s + coloured({u"non"_s}) + u"</b>"_s + nbsp},
        {"before a reference", u"Tom\u00A0&amp; papa<br>"_s,
         u" "_s + coloured({u"Tom"_s}) + nbsp + u"&amp; "_s + coloured({u"pa"_s, u"pa"_s}) + u"<br>"_s},
    });
    expectLines(tiretsLine, {
        {"a word before a no-break space is cut alone", u"chocolat\u00A0!<br>"_s, u" {cho-co-lat}\u00A0!<br>"_s},
    });
    expectLines(muettesLine, {
        {"the last letter before a no-break space is set apart, a colon keeps its space",
         u"Le vent\u00A0: il fait froid\u00A0!<br>"_s, u" Le {ven--t}\u00A0: {i-l} {fai--t} {froi--d}\u00A0!<br>"_s},
        {"guillemets", u"«\u00A0les\u00A0»<br>"_s, u" «\u00A0{le-s}\u00A0»<br>"_s},
    });
}

// "!", ";" and "?" end the word before them and stay where they stood.
TEST(LineScanner, KeepsExclamationSemicolonAndQuestionMarks)
{
    expectLines(tiretsLine, {
        {"a mark after a blank keeps one blank", u"Tu viens ?<br>"_s, u" Tu viens ?<br>"_s},
        {"a mark right after a word", u"viens?<br>"_s, u" viens?<br>"_s},
        {"marks in a row", u"Quoi ?!  ;<br>"_s, u" Quoi ?! ;<br>"_s},
        {"a semicolon right after a word ends it", u"Il dort; il dort.<br>"_s, u" Il dort; il {dor-t.}<br>"_s},
        {"a mark at the start of the line", u"? non<br>"_s, u"? non<br>"_s},
        {"a mark after a tag", u"<b>?</b><br>"_s, u"<b>?</b><br>"_s},
        {"a mark ends a word of several syllables", u"chocolat!<br>"_s, u" {cho-co-lat}!<br>"_s},
    });
    expectLines(couleursLine, {
        {"a mark after a coloured word", u"viens?<br>"_s, u" "_s + coloured({u"viens"_s}) + u"?<br>"_s},
        {"a semicolon keeps the final t in its syllable", u"dort;<br>"_s,
         u" "_s + coloured({u"dort"_s}) + u";<br>"_s},
    });
    expectLines(muettesLine, {
        {"a mark after a silent letter", u"Les chats!<br>"_s, u" {Le-s} {chat-s}!<br>"_s},
        {"a mark after a comma", u"vent, ?<br>"_s, u" {ven--t}, ?<br>"_s},
    });
}

TEST(LineScanner, WritesAWordStillPendingAtTheEndOfTheLine)
{
    expectLines(tiretsLine, {{"no <br> at the end", u"le chocolat"_s, u" le {cho-co-lat}"_s}});
    expectLines(couleursLine, {{"no <br> at the end", u"papa"_s, u" "_s + coloured({u"pa"_s, u"pa"_s})}});
    expectLines(muettesLine, {{"a mark word at the end", u"froid."_s, u" {froi--d}."_s}});
}

TEST(LineScanner, CopiesTheRestOfTheLineAfterAnUnclosedTag)
{
    expectLines(tiretsLine, {{"no > after the <", u"papa <b papa"_s, u" {pa-pa}<b papa"_s}});
    expectLines(muettesLine, {{"no > after the <", u"les <b. les"_s, u" {le-s}<b. les"_s}});
}

TEST(LineScanner, CopiesCharacterReferencesAsAUnit)
{
    expectLines(tiretsLine, {
        {"a reference inside a word", u"caf&eacute; chocolat<br>"_s, u" caf&eacute; {cho-co-lat}<br>"_s},
        {"a reference between blanks keeps its blank", u"Tom &amp; papa<br>"_s, u" Tom &amp; {pa-pa}<br>"_s},
        {"numeric references", u"&#171;papa&#xBB;<br>"_s, u"&#171;{pa-pa}&#xBB;<br>"_s},
        {"a reference inside a word adds no blank", u"la for&#xEA;t<br>"_s, u" la for&#xEA;t<br>"_s},
        {"hexadecimal in capitals, either x", u"c&#xF4;t&#XE9; &#XF4;<br>"_s, u" c&#xF4;t&#XE9; &#XF4;<br>"_s},
        {"hexadecimal in small letters", u"tr&#xe8;s<br>"_s, u" tr&#xe8;s<br>"_s},
        {"a reference then a blank", u"caf&#xE9; noir<br>"_s, u" caf&#xE9; noir<br>"_s},
        {"an ampersand that begins no reference is text", u"papa&-papa; &; &#; &x<br>"_s,
         u" {pa-pa&-pa-pa}; &; &#; &x<br>"_s},
    });
    expectLines(muettesLine, {
        {"the semicolon of a reference ends no word", u"les&nbsp;chats<br>"_s, u" {le-s}&nbsp;{chat-s}<br>"_s},
        {"an unknown hexadecimal digit makes no reference: its \";\" ends the word, touching the next",
         u"for&#xG4;t<br>"_s, u" for&#xG4;t<br>"_s},
        {"a word right after \"!\" or \"?\" touches it", u"Tu!va?si<br>"_s, u" Tu!va?si<br>"_s},
    });
    expectLines(couleursLine, {
        {"a reference is never coloured", u"&amp;<br>"_s, u"&amp;<br>"_s},
        {"the letters after a reference are coloured without a blank", u"for&#xEA;t<br>"_s,
         u" "_s + coloured({u"for"_s}) + u"&#xEA;"_s + coloured({u"t"_s}) + u"<br>"_s},
    });
}

// The marks never travel through the text as tokens, so a text or a tag that
// holds "#1" to "#4" keeps them.
TEST(LineScanner, KeepsHashNumbersOfTheText)
{
    expectLines(tiretsLine, {
        {"an exercise number", u"Jeu #1 : papa, #2.<br>"_s, u" Jeu #1 : {pa-pa,} #2.<br>"_s},
        {"a colour in a tag", u"<font color=\"#123456\">papa</font><br>"_s,
         u"<font color=\"#123456\"> {pa-pa}</font><br>"_s},
    });
    expectLines(muettesLine, {
        {"an exercise number", u"Exercice #1 : #3, #4<br>"_s, u" Exercice #1 : #3, #4<br>"_s},
        {"a blank and a hash in a tag", u"<a title=\"a #1 b\">papa</a><br>"_s,
         u"<a title=\"a #1 b\"> papa</a><br>"_s},
    });
    expectLines(couleursLine, {
        {"an exercise number", u"#1<br>"_s, u" "_s + coloured({u"#1"_s}) + u"<br>"_s},
    });
}

} // namespace
