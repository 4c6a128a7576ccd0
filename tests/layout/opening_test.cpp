// The layout screen's opening as a function of the style sheet lines and the
// display, and what the settings save records for the next opening.
#include "layout/opening.h"

#include "visible.h"

#include <gtest/gtest.h>

#include <QList>

#include <optional>
#include <utility>

using namespace Qt::StringLiterals;
using namespace layout;

namespace {

using Lines = QList<std::pair<int, QString>>;

const QString Path = u"/eleves/Dupont_Jean_x/style.css"_s;

// The shipped template's counters, the given lines over them.
Css styleSheet(const Lines &lines)
{
    Css css;
    css[line::FontSize] = u" font-size: 100%; "_s;
    css[line::LineHeight] = u" line-height: 45px; "_s;
    css[line::WordSpacing] = u" word-spacing: 10px; "_s;
    for (const auto &[k, text] : lines)
        css[k] = text;
    return css;
}

struct SizeCase
{
    const char *name;
    Lines lines;
    QSize display;
    QSize vue;
    int largeurBarre;
    int hauteurBarre;
    QString largeur;  // the label and line 49
    QString hauteur;  // the label and line 50
};

TEST(Opening, TheWebViewOpensAtTheRecordedSizeAsTheTrackBarsTakeIt)
{
    const SizeCase cases[] = {
        {"empty lines: the designed size", {}, {1366, 1024}, {1366, 353}, 100, 34, u"1366"_s, u"353"_s},
        {"a size kept whole", {{49, u"1000"_s}, {50, u"601"_s}}, {1366, 1024}, {1000, 601}, 73, 58, u"1000"_s,
         u"601"_s},
        {"blanks around a size", {{49, u" 1000 "_s}}, {1366, 1024}, {1000, 353}, 73, 34, u"1000"_s, u"353"_s},
        // The first pass caps 900 to 800 with the bar at 87; the second
        // moves the bar to where 800 stands.
        {"a height above 850 opens 800 high", {{50, u"900"_s}}, {1366, 1024}, {1366, 800}, 100, 78, u"1366"_s,
         u"800"_s},
        {"a width beyond the display opens as wide as the display", {{49, u"3000"_s}, {50, u"400"_s}},
         {1366, 1024}, {1366, 400}, 100, 39, u"1366"_s, u"400"_s},
        {"a height beyond the display opens as high as the display", {{50, u"900"_s}}, {1024, 768}, {1024, 768},
         100, 100, u"1024"_s, u"768"_s},
        {"on a larger display the designed size stays", {}, {1920, 1080}, {1366, 353}, 71, 32, u"1366"_s,
         u"353"_s},
        // A bar that stays at 0 never runs its handler: the line is kept as
        // written and shown as it is.
        {"a size too small to move its bar", {{49, u"5"_s}, {50, u"6"_s}}, {1366, 1024}, {5, 6}, 0, 0, u"5"_s,
         u"6"_s},
    };
    for (const SizeCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Opening o = openingOf(styleSheet(c.lines), c.display, Path);
        EXPECT_EQ(o.view, c.vue);
        EXPECT_EQ(o.widthBar, c.largeurBarre);
        EXPECT_EQ(o.heightBar, c.hauteurBarre);
        EXPECT_EQ(o.widthLabel, c.largeur);
        EXPECT_EQ(o.heightLabel, c.hauteur);
        EXPECT_EQ(o.css[line::ViewWidth], c.largeur);
        EXPECT_EQ(o.css[line::ViewHeight], c.hauteur);
    }
}

struct BoxCase
{
    const char *name;
    Lines lines;
    UnderlineBoxes soulignement;
    AidBoxes aides;
    QString line27;  // after the opening
    QString line48;
};

TEST(Opening, TheBoxesShowWhatTheLinesRecord)
{
    const QString underline = u"text-decoration: underline;"_s;
    const QString both = u"text-decoration: underline overline;"_s;
    const QString none = u"text-decoration: none;"_s;
    const BoxCase cases[] = {
        {"nothing recorded", {{27, none}}, {}, {}, none, {}},
        // The line stays as the page takes it: both lines, both boxes.
        {"underline and overline: both boxes, the line kept", {{27, both}}, {true, true}, {}, both, {}},
        {"overline alone", {{27, u"text-decoration: overline;"_s}}, {true, false}, {},
         u"text-decoration: overline;"_s, {}},
        {"underline alone", {{27, underline}}, {false, true}, {}, underline, {}},
        {"none anywhere: neither box", {{27, u"text-decoration: underline none;"_s}}, {}, {},
         u"text-decoration: underline none;"_s, {}},
        {"the dashes flag of line 47", {{27, none}, {47, u"/*TIRET*/"_s}}, {}, {.syllablesWithDashes = true}, none,
         {}},
        {"a flag in the wrong case", {{27, none}, {47, u"/*tiret*/"_s}}, {}, {}, none, {}},
        {"the syllables flag of line 48 is dropped", {{27, none}, {48, u"/*SYLLABE*/"_s}}, {}, {}, none, {}},
        {"line 58 syllables in colours, line 48 dropped all the same",
         {{27, none}, {48, u"/*SYLLABE*/"_s}, {58, u"/*Syllabes couleurs*/"_s}}, {}, {.syllablesInColours = true},
         none, {}},
        {"line 58 sentences in colours, trimmed", {{27, none}, {58, u" /*Phrases couleurs*/\t"_s}}, {},
         {.sentencesInColours = true}, none, {}},
        {"line 58 syllables with dashes", {{27, none}, {58, u"/*Syllabes tirets*/"_s}}, {},
         {.syllablesWithDashes = true}, none, {}},
        {"silent letters are never restored", {{27, none}, {47, u"/*MUET*/"_s}, {48, u"/*PHONEME*/"_s}}, {}, {}, none,
         u"/*PHONEME*/"_s},
    };
    for (const BoxCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Opening o = openingOf(styleSheet(c.lines), {1366, 1024}, Path);
        EXPECT_EQ(o.underline, c.soulignement);
        EXPECT_EQ(o.aids, c.aides);
        EXPECT_EQ(o.css[line::Underline], c.line27) << visible(o.css[line::Underline]);
        EXPECT_EQ(o.css[line::AidSecondSlot], c.line48);
    }
}

TEST(Opening, TheCountersComeFromTheirLinesBelowZeroToo)
{
    const Opening o = openingOf(styleSheet({{21, u" font-size: -10%; "_s}, {24, u" line-height: -5px; "_s},
                                            {29, u" letter-spacing: -2px;}"_s}}),
                               {1366, 1024}, Path);
    EXPECT_EQ(o.counters.taille, -10);
    EXPECT_EQ(o.counters.espacel, -5);
    EXPECT_EQ(o.counters.espacem, 10);
    EXPECT_EQ(o.counters.EcarLT, -2);
}

struct ShownCase
{
    const char *name;
    Lines lines;
    std::optional<Police> police;
    bool majuscule;
    int ecart;
    bool ecartLu;
};

// The font, capitals and letter spacing controls say what lines 7, 28 and 29
// give the page; the lines stay as they are.
TEST(Opening, TheFontCapitalsAndLetterSpacingShowWhatThePageShows)
{
    const QString arial = u"font-family: \"Arial\",\"sans-serif\";"_s;
    const ShownCase cases[] = {
        {"the template: OpenDyslexic, small letters, 0 between letters",
         {{7, u"font-family: \"OpenDyslexic-Regular\",\"sans-serif\";"_s}, {28, u"text-transform: None;"_s},
          {29, u" letter-spacing: 0px;}"_s}},
         Police::Dysfont, false, 0, true},
        {"Arial, capitals, 3 pixels",
         {{7, arial}, {28, u"text-transform: Uppercase;"_s}, {29, u" letter-spacing: 3px;}"_s}},
         Police::Arial, true, 3, true},
        {"Helvetica, blanks around the lines",
         {{7, u"  font-family: \"HelveticaNeueLT Std Lt\",\"sans-serif\";\t"_s},
          {28, u" text-transform: uppercase; "_s}},
         Police::Helvetica, true, 0, false},
        {"a font of the teacher's own: no box", {{7, u"font-family: \"Comic\";"_s}}, std::nullopt, false, 0,
         false},
        {"a letter spacing in em: the field stays empty", {{7, arial}, {29, u" letter-spacing: 1em;}"_s}},
         Police::Arial, false, 0, false},
    };
    for (const ShownCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Css css = styleSheet(c.lines);
        const Opening o = openingOf(css, {1366, 1024}, Path);
        EXPECT_EQ(o.police, c.police);
        EXPECT_EQ(o.majuscule, c.majuscule);
        EXPECT_EQ(o.counters.EcarLT, c.ecart);
        EXPECT_EQ(o.ecartLu, c.ecartLu);
        for (const int k : {7, 27, 28, 29})
            EXPECT_EQ(o.css[k], css[k]) << k;
    }
}

TEST(Opening, TheHighlightBoxShowsTheYellowOfTheHighlightLine)
{
    const QString body = u"<p>Le chat dort.</p>"_s;
    EXPECT_TRUE(highlightShown({body, u"\t\t\t<p> <span style=\"background-color:#ffffbb;\" >"_s}));
    EXPECT_FALSE(highlightShown({body, u"\t\t\t<p> <span style=\"background-color:#ffffff;\" >"_s}));
    EXPECT_FALSE(highlightShown({u"<p>#ffffbb</p>"_s}));
}

struct FailureCase
{
    const char *name;
    Lines lines;
    int line;  // the line the failure names
};

TEST(Opening, ANumericLineWithoutItsNumberStopsTheOpening)
{
    const FailureCase cases[] = {
        {"line 21 without %", {{21, u" font-size: 100; "_s}}, 21},
        {"line 24 without its integer", {{24, u" line-height: grand; "_s}}, 24},
        {"line 25 without px", {{25, u" word-spacing: 10em; "_s}}, 25},
        {"line 49 not a number", {{49, u"large"_s}}, 49},
        {"line 50 not a number", {{50, u"12px"_s}}, 50},
        {"line 49 nan", {{49, u"nan"_s}}, 49},
        {"line 50 inf", {{50, u"inf"_s}}, 50},
        {"line 49 beyond a window", {{49, u"1e12"_s}}, 49},
        // The sizes are read before the counters.
        {"lines 21 and 50 both wrong", {{21, u"x"_s}, {50, u"x"_s}}, 50},
    };
    for (const FailureCase &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            openingOf(styleSheet(c.lines), {1366, 1024}, Path);
            ADD_FAILURE() << "the opening went on";
        } catch (const ConversionError &failure) {
            EXPECT_EQ(failure.lineNumber(), c.line);
            EXPECT_TRUE(failure.message().contains(Path)) << failure.what();
        }
    }
}

TEST(Opening, TheBackupIsKeptOnlyWithNoAidInForce)
{
    const QStringList plain{u"<!--DEBUT-->"_s, u"Le chat.<br>"_s, u"<!--FIN-->"_s};
    const QStringList transformed = plain + QStringList{u"<!--COPIE SANS AIDE 0123456789abcdef-->"_s};
    struct Case
    {
        const char *name;
        Lines lines;
        QStringList document;
        bool kept;
    };
    const Case cases[] = {
        {"no flag, the teacher's text", {}, plain, true},
        {"a flag in line 47", {{47, u"/*TIRET*/"_s}}, plain, false},
        {"a flag in line 48", {{48, u"/*PHONEME*/"_s}}, plain, false},
        {"no flag, but the document still carries an aid", {}, transformed, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gardeCopie(styleSheet(c.lines), c.document), c.kept);
    }
}

TEST(SettingsSave, RecordsTheSizeTheCheckedBordersAndTheLastCheckedAid)
{
    struct Case
    {
        const char *name;
        BorderBoxes borders;
        AidBoxes aides;
        QString line56, line57, line58;
    };
    const QString before = u"/*avant*/"_s;
    const Case cases[] = {
        {"both borders, no aid: line 58 stays", {true, true}, {}, u"/*Bord  vert/rouge*/"_s, u"/*Bord multicolor*/"_s,
         before},
        {"unchecked borders leave their lines", {false, false}, {.syllablesInColours = true}, before, before,
         u"/*Syllabes couleurs*/"_s},
        {"sentences win over syllables in colours", {true, false},
         {.syllablesInColours = true, .sentencesInColours = true}, u"/*Bord  vert/rouge*/"_s, before,
         u"/*Phrases couleurs*/"_s},
        {"dashes win over both", {false, true},
         {.syllablesInColours = true, .syllablesWithDashes = true, .sentencesInColours = true}, before,
         u"/*Bord multicolor*/"_s, u"/*Syllabes tirets*/"_s},
        {"silent letters are not recorded", {false, false}, {.silentLetters = true}, before, before, before},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Css css = styleSheet({{56, before}, {57, before}, {58, before}});
        recordSettings(css, u"1000"_s, u"601"_s, c.borders, c.aides);
        EXPECT_EQ(css[line::ViewWidth], u"1000"_s);
        EXPECT_EQ(css[line::ViewHeight], u"601"_s);
        EXPECT_EQ(css[line::BorderGreenRed], c.line56);
        EXPECT_EQ(css[line::BorderMulticolor], c.line57);
        EXPECT_EQ(css[line::BoxesOn], c.line58);
    }
}

} // namespace
