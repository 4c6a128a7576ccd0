#include "readingaids/bodyaids.h"
#include "readingaids/markup.h"

#include "visible.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

struct MarkupCase
{
    const char *name;
    QString typed;
    QString carried;
};

// The teacher's own text keeps its plain formatting; anything that could run,
// fetch or break the document is shown as typed.
TEST(TypedMarkup, KeepsPlainFormattingOnlyAndShowsTheRestAsTyped)
{
    const MarkupCase cases[] = {
        {"Bold", u"Le <b>loup</b> dort."_s, u"Le <b>loup</b> dort."_s},
        {"EveryPlainTag", u"<i>a</i><u>b</u><em>c</em><strong>d</strong><p>e</p>f<br>g<br/>h<br />"_s,
         u"<i>a</i><u>b</u><em>c</em><strong>d</strong><p>e</p>f<br>g<br/>h<br />"_s},
        {"UpperCaseTags", u"<B>a</B><FONT COLOR=red>b</FONT>"_s, u"<B>a</B><FONT COLOR=red>b</FONT>"_s},
        {"PresentationAttributes", u"<span style=\"color: red\" class='mot'>a</span><font face=\"Arial\" size=5>"_s,
         u"<span style=\"color: red\" class='mot'>a</span><font face=\"Arial\" size=5>"_s},
        {"Script", u"<script>alert(1)</script>"_s, u"&lt;script&gt;alert(1)&lt;/script&gt;"_s},
        {"ScriptAnyCase", u"<ScRiPt src=x.js></sCrIpT>"_s, u"&lt;ScRiPt src=x.js&gt;&lt;/sCrIpT&gt;"_s},
        {"Iframe", u"<iframe src=\"../../../publication.ini\"></iframe>"_s,
         u"&lt;iframe src=\"../../../publication.ini\"&gt;&lt;/iframe&gt;"_s},
        {"ObjectAndEmbed", u"<object data=x></object><embed src=y>"_s,
         u"&lt;object data=x&gt;&lt;/object&gt;&lt;embed src=y&gt;"_s},
        {"ImageWithHandler", u"<img src=x onerror=alert(1)>"_s, u"&lt;img src=x onerror=alert(1)&gt;"_s},
        {"HandlerOnAPlainTag", u"<b onclick=\"alert(1)\">a</b>"_s, u"&lt;b onclick=\"alert(1)\"&gt;a</b>"_s},
        {"HandlerAfterASlash", u"<i/onmouseover=alert(1)>a"_s, u"&lt;i/onmouseover=alert(1)&gt;a"_s},
        {"HandlerAfterAQuotedValue", u"<span title='x'onmouseover=alert(1)>a"_s,
         u"&lt;span title='x'onmouseover=alert(1)&gt;a"_s},
        {"ScriptAddress", u"<a href=\"javascript:alert(1)\">lien</a>"_s,
         u"&lt;a href=\"javascript:alert(1)\"&gt;lien&lt;/a&gt;"_s},
        {"ScriptInAStyle", u"<span style=\"background:url(java\tscript:alert(1))\">a</span>"_s,
         u"&lt;span style=\"background:url(java\tscript:alert(1))\"&gt;a</span>"_s},
        // CSS reads its escapes and skips its comments: so does the filter.
        {"EscapedLetterInAStyle", u"<span style=\"background:u\\rl(x)\">a"_s,
         u"&lt;span style=\"background:u\\rl(x)\"&gt;a"_s},
        {"HexEscapeInAStyle", u"<span style=\"background:\\75 rl(http://x/a.png)\">a"_s,
         u"&lt;span style=\"background:\\75 rl(http://x/a.png)\"&gt;a"_s},
        {"LongHexEscapeInAStyle", u"<span style='background:\\000075rl(//x/a.png)'>a"_s,
         u"&lt;span style='background:\\000075rl(//x/a.png)'&gt;a"_s},
        {"CommentInAStyle", u"<span style=\"background:u/**/rl(//x)\">a"_s,
         u"&lt;span style=\"background:u/**/rl(//x)\"&gt;a"_s},
        {"PictureSetInAStyle", u"<span style=\"background:image-set('//x/a.png' 1x)\">a"_s,
         u"&lt;span style=\"background:image-set('//x/a.png' 1x)\"&gt;a"_s},
        {"EscapesOfPlainValuesStay", u"<span style=\"color:\\72 ed;font-family:'A\\42 C'\">a"_s,
         u"<span style=\"color:\\72 ed;font-family:'A\\42 C'\">a"_s},
        {"ReferenceInAValue", u"<span style=\"background:u&#114;l(x)\">a"_s,
         u"&lt;span style=\"background:u&#114;l(x)\"&gt;a"_s},
        {"UnclosedQuote", u"<span title=\"a>b\" onclick=x>c"_s, u"&lt;span title=\"a&gt;b\" onclick=x&gt;c"_s},
        {"NestedOpening", u"<<b>script>"_s, u"&lt;<b>script&gt;"_s},
        {"MarkerTyped", u"<!--FIN-->"_s, u"&lt;!--FIN--&gt;"_s},
        {"ComparisonSigns", u"3 < 5 et 7 > 2"_s, u"3 &lt; 5 et 7 &gt; 2"_s},
        {"UnclosedTag", u"a <b"_s, u"a &lt;b"_s},
        {"ReferencesStay", u"Tom &amp; Jerry &lt;3 &#233;t&eacute; & co"_s,
         u"Tom &amp; Jerry &lt;3 &#233;t&eacute; & co"_s},
    };
    for (const MarkupCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keepPlainFormatting(c.typed), c.carried) << visible(keepPlainFormatting(c.typed));
    }
}

TEST(BroughtInText, IsEscapedWhole)
{
    EXPECT_EQ(escapeText(u"<b>1 & 2</b> &amp;"_s), u"&lt;b&gt;1 &amp; 2&lt;/b&gt; &amp;amp;"_s);
    EXPECT_EQ(escapeText(u"Le loup\u00A0!"_s), u"Le loup\u00A0!"_s);
}

// Every aid works on escaped text as on any other, and never cuts inside a
// reference: what it adds stays outside "&lt;", "&gt;" and "&amp;".
TEST(BroughtInText, EveryAidKeepsTheReferencesWhole)
{
    const QString line = escapeText(u"<script>alert(\"la lune\")</script> Tom & Jerry mangent des tartines."_s)
        + u"<br>"_s;
    const QStringList document = {u"<!--DEBUT-->"_s, u"<img src=\"a.jpg\">"_s, line, u"<!--FIN-->"_s};
    const struct
    {
        const char *name;
        BodyAid aid;
        QString sound;
    } aids[] = {{"Couleurs", BodyAid::Couleurs, {}}, {"Tirets", BodyAid::Tirets, {}},
                {"Muettes", BodyAid::Muettes, {}},   {"Son", BodyAid::Son, u"t"_s},
                {"SonA", BodyAid::Son, u"a"_s},      {"Phrases", BodyAid::Phrases, {}}};
    static const QRegularExpression tag(u"<[^>]*>"_s);
    for (const auto &a : aids) {
        SCOPED_TRACE(a.name);
        const QStringList output = writeBodyAid(document, a.aid, a.sound);
        ASSERT_GE(output.size(), 3);
        QString text = output.mid(2, output.size() - 3).join(QString());
        text.remove(tag);
        for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', at + 1)) {
            const QStringView rest = QStringView(text).sliced(at);
            EXPECT_TRUE(rest.startsWith(u"&lt;") || rest.startsWith(u"&gt;") || rest.startsWith(u"&amp;")
                        || rest.startsWith(u"&quot;"))
                << visible(text);
        }
        EXPECT_EQ(text.count(u"&lt;"_s), 2) << visible(text);
        EXPECT_EQ(text.count(u"&gt;"_s), 2) << visible(text);
        EXPECT_EQ(text.count(u"&amp;"_s), 1) << visible(text);
        EXPECT_FALSE(output.join(QString()).contains(u"<script"_s, Qt::CaseInsensitive));
    }
}

} // namespace
