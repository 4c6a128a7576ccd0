#include "readingaids/document.h"
#include "readingaids/phrases.h"

#include "visible.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

struct SentenceCase
{
    const char *name;
    QStringList body;
    QString expected;
};

TEST(SentencesInColours, ChangeColourAtEverySentenceMark)
{
    const SentenceCase cases[] = {
        {"two lines, guillemets and a hyphen", {u"Le chat dort. Il rêve !<br>"_s, u"« Viens », dit-il.<br>"_s},
         uR"(<FONT color="red">Le chat dort</FONT><FONT color="green">. Il rêve </FONT><FONT color="blue">!<br></FONT><FONT color="black">« Viens </FONT><FONT color="orange">», dit-il</FONT><FONT color="red">.<br></FONT>)"_s},
        {"three full stops are one mark", {u"Et puis... rien.<br>"_s},
         uR"(<FONT color="red">Et puis</FONT><FONT color="green">... rien</FONT><FONT color="blue">.<br></FONT>)"_s},
        {"the ellipsis character is one mark, kept", {u"Oui… non?<br>"_s},
         uR"(<FONT color="red">Oui</FONT><FONT color="green">… non</FONT><FONT color="blue">?<br></FONT>)"_s},
        {"four full stops are two marks", {u"a....b"_s},
         uR"(<FONT color="red">a</FONT><FONT color="green">...</FONT><FONT color="blue">.b</FONT>)"_s},
        {"the sixth run is green again", {u"a:b:c:d:e:f:g"_s},
         uR"(<FONT color="red">a</FONT><FONT color="green">:b</FONT><FONT color="blue">:c</FONT><FONT color="black">:d</FONT><FONT color="orange">:e</FONT><FONT color="red">:f</FONT><FONT color="green">:g</FONT>)"_s},
        {"no sentence mark", {u"Le chat<br>"_s, u"dort<br>"_s}, uR"(<FONT color="red">Le chat<br>dort<br></FONT>)"_s},
        {"lines are joined untrimmed", {u" a <br> "_s, u"\tb<br>"_s}, u"<FONT color=\"red\"> a <br> \tb<br></FONT>"_s},
        {"an empty text", {}, uR"(<FONT color="red"></FONT>)"_s},
        {"a full stop inside a tag", {u"<a href=\"x.html\">lien</a>.<br>"_s},
         uR"(<FONT color="red"><a href="x.html">lien</a></FONT><FONT color="green">.<br></FONT>)"_s},
        {"character references", {u"&laquo;Oui&#33;&raquo; &#x2e;<br>"_s},
         uR"(<FONT color="red">&laquo;Oui&#33;&raquo; &#x2e;<br></FONT>)"_s},
        {"hash numbers of the text stay", {u"#1 #2 #3 #4 #5 #6 #7<br>"_s},
         uR"(<FONT color="red">#1 #2 #3 #4 #5 #6 #7<br></FONT>)"_s},
        {"an unclosed tag copies the rest of its line", {u"a <b. c"_s, u"d. e"_s},
         uR"(<FONT color="red">a <b. cd</FONT><FONT color="green">. e</FONT>)"_s},
    };
    for (const SentenceCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(colourSentences(c.body), c.expected);
    }
}

TEST(SentencesInColours, WriteTheWholeBodyAsOneLineBetweenTheFrame)
{
    const QStringList document = {
        u"<html>"_s, u"\t<!--DEBUT-->"_s, u" <img src=\"chat.jpg\"> "_s,
        u"Il dort.<br>"_s, u"<!--FIN-->"_s, u"Oui.<br>"_s, u"Non<br>"_s,
        u"  <!--FIN-->"_s, u"\t</html>"_s,
    };
    const QStringList expected = {
        u"<html>"_s, u"<!--DEBUT-->"_s, u"<img src=\"chat.jpg\"><FONT color=\"red\">"_s,
        uR"(<FONT color="red">Il dort</FONT><FONT color="green">.<br><!--FIN-->Oui</FONT><FONT color="blue">.<br>Non<br></FONT>)"_s,
        u"</FONT>  <!--FIN-->"_s, u"</html>"_s,
    };
    EXPECT_EQ(writeSentences(document), expected);
}

TEST(SentencesInColours, RefuseADocumentWithoutItsMarkers)
{
    EXPECT_THROW(writeSentences({u"<html>"_s, u"<!--FIN-->"_s}), DocumentRefused);
    EXPECT_THROW(writeSentences({u"<!--DEBUT-->"_s, u"logo"_s, u"texte<br>"_s}), DocumentRefused);
}

} // namespace
