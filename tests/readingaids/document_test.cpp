#include "readingaids/bodyaids.h"
#include "readingaids/document.h"

#include "visible.h"
#include "wholewords.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// A document as the import screen writes it, with indented template lines.
QStringList document(const QStringList &body)
{
    QStringList lines = {u"<html>"_s, u"\t<head><link href=\"style.css\"></head>"_s, u"  <!--DEBUT-->  "_s,
                         u"<img src=\"loup.jpg\"  width=\"70\" height= \"70\">"_s};
    lines += body;
    lines += {u"\t<!--FIN-->"_s, u"\t</body>"_s, u"</html>"_s};
    return lines;
}

// The document written with each body line upper-cased.
QStringList upperCased(const QStringList &lines)
{
    QString made;
    QStringList output;
    writeOutput(
        lines,
        [&made](QStringView line) {
            made = line.toString().toUpper();
            return QStringView(made);
        },
        [&output](QStringView line) { output.append(line.toString()); });
    return output;
}

struct RegionCase
{
    const char *name;
    QStringList lines;
    Regions expected;
};

TEST(DocumentRegions, FindTheMarkersAfterTrimming)
{
    const RegionCase cases[] = {
        {"the first start marker and the last end marker",
         {u"<!--DEBUT-->"_s, u"logo"_s, u"<!--DEBUT-->"_s, u"<!--FIN-->"_s, u"a<br>"_s, u" <!--FIN--> "_s, u"x"_s},
         {0, 1, 5}},
        {"an end marker in the logo line's place is the logo line",
         {u"h"_s, u"<!--DEBUT-->"_s, u"<!--FIN-->"_s, u"a<br>"_s, u"<!--FIN-->"_s},
         {1, 2, 4}},
        {"markers are case-sensitive", {u"<!--debut-->"_s, u"<!--DEBUT-->"_s, u"l"_s, u"<!--FIN-->"_s, u"<!--fin-->"_s},
         {1, 2, 3}},
        {"trimmed of control characters but not of a no-break space",
         {u"\t\x01<!--DEBUT-->\r"_s, u"l"_s, u"\u00A0<!--FIN-->"_s, u"<!--FIN-->\x1f"_s},
         {0, 1, 3}},
    };
    for (const RegionCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Regions regions = findRegions(c.lines);
        EXPECT_EQ(regions.startMarker, c.expected.startMarker);
        EXPECT_EQ(regions.logo, c.expected.logo);
        EXPECT_EQ(regions.endMarker, c.expected.endMarker);
    }
}

TEST(DocumentRegions, RefuseADocumentWithoutItsMarkersInFrench)
{
    struct Refusal
    {
        const char *name;
        QStringList lines;
        QString marker;
    };
    const Refusal refusals[] = {
        {"no start marker", {u"<html>"_s, u"texte<br>"_s, u"<!--FIN-->"_s}, u"<!--DEBUT-->"_s},
        {"an empty document", {}, u"<!--DEBUT-->"_s},
        {"no end marker", {u"<!--DEBUT-->"_s, u"logo"_s, u"texte<br>"_s}, u"<!--FIN-->"_s},
        {"the end marker only before the start", {u"<!--FIN-->"_s, u"<!--DEBUT-->"_s, u"logo"_s}, u"<!--FIN-->"_s},
        {"the start marker as last line", {u"<!--DEBUT-->"_s}, u"<!--FIN-->"_s},
        {"the end marker only as logo line", {u"<!--DEBUT-->"_s, u"<!--FIN-->"_s}, u"<!--FIN-->"_s},
    };
    for (const Refusal &r : refusals) {
        SCOPED_TRACE(r.name);
        try {
            writeBodyAid(r.lines, BodyAid::Tirets);
            ADD_FAILURE() << "the document was not refused";
        } catch (const DocumentRefused &refusal) {
            EXPECT_TRUE(refusal.message().startsWith(u"Ce document ne contient pas le repère "_s + r.marker))
                << visible(refusal.message());
        }
    }
}

TEST(WritingTheOutput, TreatsTheBodyLinesAndTrimsTheFrame)
{
    const QStringList expected = {u"<html>"_s, u"<head><link href=\"style.css\"></head>"_s, u"<!--DEBUT-->"_s,
                                  u"<img src=\"loup.jpg\"  width=\"70\" height= \"70\">"_s,
                                  u"  LE LOUP<BR>"_s, u"<!--FIN--><BR>"_s, u"<!--FIN-->"_s, u"</body>"_s, u"</html>"_s};
    EXPECT_EQ(upperCased(document({u"  le loup<br>"_s, u"<!--FIN--><br>"_s})), expected);
}

TEST(WritingTheOutput, TakesTheLaterOfTwoEndMarkers)
{
    const QStringList lines = document({u"a<br>"_s, u"<!--FIN-->"_s, u"b<br>"_s});
    const QStringList output = upperCased(lines);
    ASSERT_EQ(output.size(), lines.size());
    EXPECT_EQ(output[4], u"A<BR>"_s);
    EXPECT_EQ(output[5], u"<!--FIN-->"_s);
    EXPECT_EQ(output[6], u"B<BR>"_s);
    EXPECT_EQ(output[7], u"<!--FIN-->"_s);
}

TEST(WritingTheOutput, WritesEachLineAidOverTheBodyOnly)
{
    const QStringList lines = document({u"Le loup court.<br>"_s});
    EXPECT_EQ(writeBodyAid(lines, BodyAid::Tirets)[4], keptWhole(u" Le loup {cour-t.}<br>"_s));
    EXPECT_EQ(writeBodyAid(lines, BodyAid::Muettes)[4], keptWhole(u" Le {lou--p} {cour--t}.<br>"_s));
    EXPECT_EQ(writeBodyAid(lines, BodyAid::Couleurs)[4],
              uR"( <FONT color="red">Le</FONT> <FONT color="red">loup</FONT> <FONT color="red">cour</FONT><FONT color="green">t.</FONT><br>)"_s);
    // A sound found only in the logo line marks nothing.
    const QStringList marked = writeBodyAid(lines, BodyAid::Son, u"jpg");
    EXPECT_EQ(marked[3], u"<img src=\"loup.jpg\"  width=\"70\" height= \"70\">"_s);
    EXPECT_EQ(marked[4], u"Le loup court.<br>"_s);
    EXPECT_EQ(writeBodyAid(lines, BodyAid::Phrases)[4],
              uR"(<FONT color="red">Le loup court</FONT><FONT color="green">.<br></FONT>)"_s);
}

// The sound follows the typing: every run starts again from the document lines.
TEST(WritingTheOutput, FollowsTheSoundKeystrokeByKeystroke)
{
    const QStringList lines = document({u"Le loup court.<br>"_s});
    const QString o = u"<FONT color=\"red\"><B>o</B></FONT>"_s;
    const QString ou = u"<FONT color=\"red\"><B>ou</B></FONT>"_s;
    EXPECT_EQ(writeBodyAid(lines, BodyAid::Son, u"o")[4], u"Le l"_s + o + u"up c"_s + o + u"urt.<br>"_s);
    EXPECT_EQ(writeBodyAid(lines, BodyAid::Son, u"ou")[4], u"Le l"_s + ou + u"p c"_s + ou + u"rt.<br>"_s);
    EXPECT_EQ(writeBodyAid(lines, BodyAid::Son, u"")[4], u"Le loup court.<br>"_s);
}

} // namespace
