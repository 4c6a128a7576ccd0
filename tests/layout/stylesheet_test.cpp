// The style sheet lines: reading rules of the numeric lines, flags, loading
// and saving; the typography lines and the scaling of the controls.
#include "layout/scaling.h"
#include "layout/stylesheet.h"
#include "layout/typography.h"
#include "testfiles.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace layout;

namespace {

Css withLine(int k, const QString &text)
{
    Css css;
    css[k] = text;
    return css;
}

struct IntegerCase
{
    int line;
    const char16_t *text;
    std::optional<int> expected; // nothing: a conversion failure
};

TEST(StyleSheetReadingRules, NumericLinesGiveTheirIntegerOrAConversionFailure)
{
    const IntegerCase cases[] = {
        {21, u" font-size: 100%; ", 100},
        {21, u" font-size: -10%; ", -10},
        {21, u" font-size:    120%; ", 120},
        {21, u" font-size: 100%; 50% ", 100},  // up to the first "%"
        {21, u" font-size: 100; ", std::nullopt},  // no "%"
        {21, u" font-size: 100 %; ", std::nullopt}, // a blank after the number
        {21, u" font-size: 1o0%; ", std::nullopt},
        {21, u" font-size: %; ", std::nullopt},
        {21, u"%", std::nullopt},                   // "%" before the number's place
        {21, u"", std::nullopt},
        {21, u" font-size: 99999999999%; ", std::nullopt}, // beyond 32 bits
        {24, u" line-height: 45px; ", 45},
        {24, u" line-height: -5px; ", -5},
        {24, u" line-height: 45pt; ", std::nullopt},
        {25, u" word-spacing: 10px; ", 10},
        {25, u" word-spacing: 0px; ", 0},
        {25, u" word-spacing: 10 px; ", std::nullopt},
    };
    const QString path = u"C:\\eleves\\Dupont\\style.css"_s;
    for (const IntegerCase &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        const Css css = withLine(c.line, text);
        const auto read = [&] {
            return c.line == 21 ? readFontSize(css, path) : c.line == 24 ? readLineHeight(css, path)
                                                                         : readWordSpacing(css, path);
        };
        if (c.expected) {
            EXPECT_EQ(read(), *c.expected);
        } else {
            try {
                read();
                ADD_FAILURE() << "no failure";
            } catch (const ConversionError &error) {
                EXPECT_EQ(error.lineNumber(), c.line);
                EXPECT_TRUE(error.message().contains(path)) << error.message().toStdString();
                EXPECT_TRUE(error.message().contains(u"ligne %1"_s.arg(c.line))) << error.message().toStdString();
            }
        }
    }
}

TEST(StyleSheetReadingRules, ViewSizeLinesAreEmptyOrANumberOfTheUsersLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(readViewSize(withLine(49, {}), 49, {}), std::nullopt);
    EXPECT_EQ(readViewSize(withLine(49, u"1366"_s), 49, {}), 1366.0);
    EXPECT_EQ(readViewSize(withLine(50, u" 353 "_s), 50, {}), 353.0);
    EXPECT_EQ(readViewSize(withLine(50, u"353,5"_s), 50, {}), 353.5);
    EXPECT_THROW(readViewSize(withLine(50, u"353.5"_s), 50, {}), ConversionError);
    EXPECT_THROW(readViewSize(withLine(49, u"large"_s), 49, {}), ConversionError);
    EXPECT_THROW(readViewSize(withLine(49, u"  "_s), 49, {}), ConversionError);
    EXPECT_EQ(readViewSize(withLine(49, u"0"_s), 49, {}), 0.0) << "the track bar at its left end";
    EXPECT_EQ(readViewSize(withLine(49, u"16777215"_s), 49, {}), 16777215.0);
    // Numbers the locale reads that no web view can take.
    for (const QString &size : {u"nan"_s, u"inf"_s, u"-inf"_s, u"1e12"_s, u"16777216"_s, u"-5"_s}) {
        SCOPED_TRACE(size.toStdString());
        EXPECT_THROW(readViewSize(withLine(50, size), 50, {}), ConversionError);
    }
    QLocale::setDefault(previous);
}

TEST(StyleSheetReadingRules, UnderlineLineSetsTheTwoBoxes)
{
    struct Case
    {
        const char16_t *text;
        UnderlineBoxes boxes;
    };
    const Case cases[] = {
        {u"text-decoration: underline;", {false, true}},
        {u"text-decoration: underline overline;", {true, true}},
        {u"text-decoration: none;", {false, false}},
        {u"text-decoration: underline overline none;", {false, false}}, // "none" anywhere
        {u"text-decoration: overline;", {true, false}},
        {u"text-decoration: UNDERLINE;", {false, false}},
        {u"", {false, false}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readUnderline(withLine(27, QString::fromUtf16(c.text))), c.boxes)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(StyleSheetFlags, ComparisonsAreWholeExactAndCaseSensitiveOnTrimmedLines)
{
    EXPECT_TRUE(hasFlag(withLine(47, u"/*TIRET*/"_s), 47, flag::Tiret));
    EXPECT_TRUE(hasFlag(withLine(47, u" \t/*TIRET*/  "_s), 47, flag::Tiret));
    EXPECT_FALSE(hasFlag(withLine(47, u"/*tiret*/"_s), 47, flag::Tiret));
    EXPECT_FALSE(hasFlag(withLine(47, u"/*TIRET*/ /*MUET*/"_s), 47, flag::Tiret));
    EXPECT_TRUE(hasFlag(withLine(56, u"/*Bord  vert/rouge*/"_s), 56, flag::BordVertRouge));
    EXPECT_FALSE(hasFlag(withLine(56, u"/*Bord vert/rouge*/"_s), 56, flag::BordVertRouge));
    EXPECT_FALSE(hasFlag(withLine(58, u"/*syllabes couleurs*/"_s), 58, flag::SyllabesCouleurs));
}

class StyleSheetFile : public testing::Test
{
protected:
    QString cheminW() const { return QDir::toNativeSeparators(dir.path()) + QDir::separator(); }
    QString file() const { return cheminW() + u"style.css"_s; }
    QByteArray bytes() const { return bytesOf(file()); }
    static QStringList numberedLines(int count)
    {
        QStringList lines;
        for (int k = 1; k <= count; ++k)
            lines.append(u"/* ligne %1 é */"_s.arg(k));
        return lines;
    }

    QTemporaryDir dir;
};

TEST_F(StyleSheetFile, AShortSheetIsCompletedWithEmptyLinesAtTheFirstSave)
{
    workspace::writeLines(file(), numberedLines(60));
    Css css = loadCss(cheminW());
    EXPECT_EQ(css[60], u"/* ligne 60 é */"_s);
    EXPECT_EQ(css[61], QString());
    css[21] = fontSizeLine(110);
    SauveCSS(cheminW(), css);
    const QStringList saved = workspace::readLines(file());
    ASSERT_EQ(saved.size(), 71);
    EXPECT_EQ(saved[20], u" font-size: 110%; "_s);
    for (int k = 61; k <= 71; ++k)
        EXPECT_EQ(saved[k - 1], QString()) << k;
    EXPECT_TRUE(bytes().endsWith("\r\n\r\n")) << "every line, the empty ones too, ends with CR LF";
    EXPECT_TRUE(bytes().contains("/* ligne 1 \xe9 */\r\n")) << "Windows-1252";
}

TEST_F(StyleSheetFile, LinesPast71AreKeptUnchangedAtEverySave)
{
    QStringList lines = numberedLines(71);
    lines << u".ajout { color: red; }"_s << QString() << u"/* fin de l'enseignant */"_s;
    workspace::writeLines(file(), lines);
    Css css = loadCss(cheminW());
    css[71] = u"/* changée */"_s;
    SauveCSS(cheminW(), css);
    SauveCSS(cheminW(), loadCss(cheminW()));
    lines[70] = u"/* changée */"_s;
    EXPECT_EQ(workspace::readLines(file()), lines);
}

TEST_F(StyleSheetFile, AMissingSheetRaisesAnInputOutputFailureNamingIt)
{
    try {
        loadCss(cheminW());
        ADD_FAILURE() << "no failure";
    } catch (const workspace::IoError &error) {
        EXPECT_TRUE(error.message().contains(file())) << error.message().toStdString();
    }
}

struct CommandCase
{
    Commande commande;
    int line;
    const char16_t *written;
    int value;
};

TEST(TypographyCommands, EachCounterButtonStepsItsCounterAndWritesItsLine)
{
    const CommandCase cases[] = {
        {Commande::PlusTaille, 21, u" font-size: 110%; ", 110},
        {Commande::MoinsTaille, 21, u" font-size: 90%; ", 90},
        {Commande::PlusEspaceL, 24, u" line-height: 50px; ", 50},
        {Commande::MoinsEspaceL, 24, u" line-height: 40px; ", 40},
        {Commande::PlusEspaceM, 25, u" word-spacing: 15px; ", 15},
        {Commande::MoinsEspaceM, 25, u" word-spacing: 5px; ", 5},
        {Commande::PlusEcartLettres, 29, u" letter-spacing: 1px;}", 1},
        {Commande::MoinsEcartLettres, 29, u" letter-spacing: -1px;}", -1},
    };
    for (const CommandCase &c : cases) {
        Css css;
        Compteurs counters{100, 45, 10, 0};
        EXPECT_EQ(appliquer(c.commande, css, counters), c.value);
        EXPECT_EQ(css[c.line], QString::fromUtf16(c.written));
        for (int k = 1; k <= CssLineCount; ++k) {
            if (k != c.line) {
                EXPECT_TRUE(css[k].isEmpty()) << "only line " << c.line << " changes, not " << k;
            }
        }
    }
}

TEST(TypographyCommands, CountersHaveNoBounds)
{
    Css css;
    Compteurs counters{100, 0, 0, 0};
    for (int i = 0; i < 11; ++i)
        appliquer(Commande::MoinsTaille, css, counters);
    EXPECT_EQ(counters.taille, -10);
    EXPECT_EQ(css[21], u" font-size: -10%; "_s);
    appliquer(Commande::MoinsEspaceL, css, counters);
    EXPECT_EQ(css[24], u" line-height: -5px; "_s);
}

TEST(TypographyCommands, ExactTextsOfTheFontCapitalsAndUnderlineLines)
{
    EXPECT_EQ(fontFamilyLine(Police::Arial), u"font-family: \"Arial\",\"sans-serif\";"_s);
    EXPECT_EQ(fontFamilyLine(Police::Dysfont), u"font-family: \"OpenDyslexic-Regular\",\"sans-serif\";"_s);
    EXPECT_EQ(fontFamilyLine(Police::Helvetica), u"font-family: \"HelveticaNeueLT Std Lt\",\"sans-serif\";"_s);
    EXPECT_EQ(capitalsLine(true), u"text-transform: Uppercase;"_s);
    EXPECT_EQ(capitalsLine(false), u"text-transform: None;"_s);
    EXPECT_EQ(underlineLine(true), u"text-decoration: underline;"_s);
    EXPECT_EQ(overlineLine(true), u"text-decoration: underline overline;"_s);
    EXPECT_EQ(underlineLine(false), u"text-decoration: none;"_s);
    EXPECT_EQ(overlineLine(false), u"text-decoration: none;"_s);
}

TEST(TypographyTrackBars, SizesFromTheValueWithTheHeightCap)
{
    EXPECT_EQ(viewHeight(1024, 90), 800.0) << "921.6 is above 850";
    EXPECT_DOUBLE_EQ(viewHeight(1024, 80), 819.2);
    EXPECT_EQ(wholePixels(819.2), u"819"_s);
    EXPECT_EQ(viewHeight(1000, 85), 850.0) << "850 itself stays";
    EXPECT_DOUBLE_EQ(viewWidth(1920, 95), 1824.0) << "no limit on the width";
    EXPECT_EQ(trackValue(353, 1024), 34);
    EXPECT_EQ(trackValue(3000, 1366), 100);
    EXPECT_EQ(trackValue(1366, 1366), 100);
}

// The tablet's page within the room of the layout screen at 1366 x 768: the
// zoom lays the page out for exactly the tablet's width.
TEST(TabletPreview, TheTabletsPageFitsTheRoomAtTheTabletsWidth)
{
    const QSize room(1339, 455);
    for (const TabletSize &tablet : tabletSizes()) {
        SCOPED_TRACE(tablet.caption.toStdString());
        const Apercu a = apercuTablette(tablet.size, room);
        EXPECT_LE(a.view.width(), room.width());
        EXPECT_LE(a.view.height(), room.height());
        EXPECT_LT(a.zoom, 1.0);
        EXPECT_DOUBLE_EQ(a.view.width() / a.zoom, tablet.size.width());
        EXPECT_NEAR(a.view.height() / a.zoom, tablet.size.height(), 2);
    }
    EXPECT_EQ(tabletSizes().size(), 4);
    // A room larger than the tablet: its own size, no zoom.
    const Apercu large = apercuTablette({768, 1024}, {1900, 1100});
    EXPECT_EQ(large.view, QSize(768, 1024));
    EXPECT_DOUBLE_EQ(large.zoom, 1.0);
}

struct LayoutCase
{
    QSize window;
    QRect button1;    // "Sauvegarder ces réglages", designed (88, 800) 161 x 33
    QRect heightBar;  // designed (1341, 364) 19 x 389
    int pageBottom;
};

// The band of controls keeps its designed heights at the window's foot; the
// page takes the rest, and the height track bar runs beside it.
TEST(LayoutPlacement, TheBandStandsAtTheFootAndThePageTakesTheRest)
{
    const LayoutCase cases[] = {
        // 1366 x 768 less a title bar: the design's sizes, the page 455 high.
        {{1366, 736}, {88, 507, 161, 33}, {1341, 4, 19, 451}, 455},
        {{1366, 992}, {88, 763, 161, 33}, {1341, 4, 19, 707}, 711},
        // Wider: places spread, sizes stay.
        {{1920, 1048}, {124, 819, 161, 33}, {1885, 4, 19, 763}, 767},
        // Too low for the band and the page: the rows come closer.
        {{1366, 500}, {88, 330, 161, 24}, {1341, 4, 19, 286}, 290},
    };
    for (const LayoutCase &c : cases) {
        SCOPED_TRACE(c.window.height());
        const Agencement a = agencement(c.window);
        EXPECT_EQ(placer({88, 800, 161, 33}, a), c.button1);
        EXPECT_EQ(placerBarreHauteur({1341, 364, 19, 389}, a), c.heightBar);
        EXPECT_EQ(a.pageBottom, c.pageBottom);
        EXPECT_NEAR(placer({8, 960, 849, 65}, a).bottom(), c.window.height() - 5, 1)
            << "the banner ends at the window's foot";
    }
}

} // namespace
