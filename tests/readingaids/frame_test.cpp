#include "readingaids/frame.h"

#include "visible.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

const QString yellow = u"\t\t\t<p> <span style=\"background-color:#ffffbb;\" >"_s;
const QString white = u"\t\t\t<p> <span style=\"background-color:#ffffff;\" >"_s;

TEST(Highlight, ReplacesEveryHighlightLineWhole)
{
    const QStringList lines = {u"  <body>"_s, u"<p><span style=\"background-color:#ffffff;\">"_s, u"texte<br>  "_s,
                               u"x <span style=\"background-color:red\"> y"_s, u"<span style=\"color:red\">"_s};
    EXPECT_EQ(highlightLines(lines, true),
              (QStringList{u"  <body>"_s, yellow, u"texte<br>  "_s, yellow, u"<span style=\"color:red\">"_s}));
    EXPECT_EQ(highlightLines(lines, false),
              (QStringList{u"  <body>"_s, white, u"texte<br>  "_s, white, u"<span style=\"color:red\">"_s}));
    EXPECT_EQ(highlightLines({u"a"_s, u" b "_s}, true), (QStringList{u"a"_s, u" b "_s}));
}

const QString green = u"<!--BORD 1--><TD width=30 BGCOLOR=\"#00FF00\">----</TD>"_s;
const QString red = u"<!--BORD 4--><TD width=30 BGCOLOR=\"#FF0000\">----</TD>"_s;
const QString picture2 = u"<!--BORD 2--><TD width=30 background=\"fond.jpg\"></TD>"_s;
const QString picture3 = u"<!--BORD 3--><TD width=30 background=\"fond.jpg\"></TD>"_s;

TEST(Borders, FlipBothLinesOfTheirBox)
{
    const QStringList bare = {u"<tr>"_s, u"\t<!--BORD 1-->"_s, u"<!--BORD 2-->"_s, u"  texte  "_s,
                              u"<!--BORD 3-->"_s, u" <!--BORD 4--> "_s, u"<!--BORD 5-->"_s};
    const QStringList greenRed = flipBorders(bare, Border::GreenRed);
    EXPECT_EQ(greenRed, (QStringList{u"<tr>"_s, green, u"<!--BORD 2-->"_s, u"  texte  "_s, u"<!--BORD 3-->"_s, red,
                                     u"<!--BORD 5-->"_s}));
    const QStringList both = flipBorders(greenRed, Border::Multicolor);
    EXPECT_EQ(both, (QStringList{u"<tr>"_s, green, picture2, u"  texte  "_s, picture3, red, u"<!--BORD 5-->"_s}));
    EXPECT_EQ(flipBorders(flipBorders(both, Border::GreenRed), Border::Multicolor),
              (QStringList{u"<tr>"_s, u"<!--BORD 1-->"_s, u"<!--BORD 2-->"_s, u"  texte  "_s, u"<!--BORD 3-->"_s,
                           u"<!--BORD 4-->"_s, u"<!--BORD 5-->"_s}));
}

TEST(Borders, RecogniseIndentedCellsAndKeepOtherLines)
{
    EXPECT_EQ(flipBorders({u"\t\t"_s + green + u"  "_s, u"<!--BORD 1--> x"_s, u"<!--bord 4-->"_s}, Border::GreenRed),
              (QStringList{u"<!--BORD 1-->"_s, u"<!--BORD 1--> x"_s, u"<!--bord 4-->"_s}));
}

} // namespace
