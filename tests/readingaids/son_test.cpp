#include "readingaids/son.h"

#include "visible.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// The sound as the aid marks it.
QString marked(const QString &sound)
{
    return u"<FONT color=\"red\"><B>"_s + sound + u"</B></FONT>"_s;
}

struct SoundCase
{
    const char *name;
    QString line;
    QString sound;
    QString expected;
};

TEST(SoundInRelief, MarksEveryOccurrenceOfTheSoundInTheText)
{
    const SoundCase cases[] = {
        {"inside words", u"Le loup court.<br>"_s, u"ou"_s,
         uR"(Le l<FONT color="red"><B>ou</B></FONT>p c<FONT color="red"><B>ou</B></FONT>rt.<br>)"_s},
        {"case-sensitive", u"Le loup<br>"_s, u"Ou"_s, u"Le loup<br>"_s},
        {"no accent folding", u"Et été le<br>"_s, u"e"_s, u"Et été l"_s + marked(u"e"_s) + u"<br>"_s},
        {"from left to right without overlap", u"aaa<br>"_s, u"aa"_s, marked(u"aa"_s) + u"a<br>"_s},
        {"a trailing blank is part of the sound", u"bon bonbon on<br>"_s, u"on "_s,
         u"b"_s + marked(u"on "_s) + u"bonb"_s + marked(u"on "_s) + u"on<br>"_s},
        {"the line is trimmed", u" \tou\t <br>  "_s, u"ou"_s, marked(u"ou"_s) + u"\t <br>"_s},
        {"an empty sound marks nothing", u"  Le loup<br> "_s, QString(), u"Le loup<br>"_s},
        {"a no-break space is text", u"oui\u00A0?<br>"_s, u"\u00A0"_s, u"oui"_s + marked(u"\u00A0"_s) + u"?<br>"_s},
    };
    for (const SoundCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sonLine(c.line, c.sound), c.expected);
    }
}

// Occurrences are searched in the text only, and no placeholder stands for
// them, so no typed sound can meet mark-up or a text of the aid's own.
TEST(SoundInRelief, NeverMarksInsideMarkupAndMarksExactlyItsOccurrences)
{
    const SoundCase cases[] = {
        {"b in a word, not in <br>", u"bras<br>"_s, u"b"_s, marked(u"b"_s) + u"ras<br>"_s},
        {"br in a word, not in <br>", u"bras<br>"_s, u"br"_s, marked(u"br"_s) + u"as<br>"_s},
        {"r in tags with attributes", u"<b class=\"r\">rat</b><br>"_s, u"r"_s,
         u"<b class=\"r\">"_s + marked(u"r"_s) + u"at</b><br>"_s},
        {"a hash", u"Exercice #1<br>"_s, u"#"_s, u"Exercice "_s + marked(u"#"_s) + u"1<br>"_s},
        {"a digit", u"Exercice #1<br>"_s, u"1"_s, u"Exercice #"_s + marked(u"1"_s) + u"<br>"_s},
        {"hash and digit", u"#1 et #11<br>"_s, u"#1"_s, marked(u"#1"_s) + u" et "_s + marked(u"#1"_s) + u"1<br>"_s},
        {"a text that holds #1 with another sound", u"#1 ou<br>"_s, u"ou"_s, u"#1 "_s + marked(u"ou"_s) + u"<br>"_s},
        {"not inside a character reference", u"caf&eacute; et<br>"_s, u"e"_s,
         u"caf&eacute; "_s + marked(u"e"_s) + u"t<br>"_s},
        {"an ampersand that begins no reference", u"Tom & moi<br>"_s, u"&"_s, u"Tom "_s + marked(u"&"_s) + u" moi<br>"_s},
        {"the sound inside its own mark-up", u"FONT<br>"_s, u"FONT"_s, marked(u"FONT"_s) + u"<br>"_s},
        {"a sound that is a tag", u"a<br>b"_s, u"<br>"_s, u"a<br>b"_s},
        {"not across a tag", u"o<i>u</i><br>"_s, u"ou"_s, u"o<i>u</i><br>"_s},
        {"the rest after an unclosed tag is copied", u"ou <b ou"_s, u"ou"_s, marked(u"ou"_s) + u" <b ou"_s},
    };
    for (const SoundCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sonLine(c.line, c.sound), c.expected);
    }
}

} // namespace
