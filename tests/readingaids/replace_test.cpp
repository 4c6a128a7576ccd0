#include "readingaids/replace.h"

#include "visible.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

struct ReplaceCase
{
    const char *name;
    QString s;
    QString src;
    QString dest;
    QString expected;
};

TEST(AnsiReplaceStr, ReplacesAsIfSearchingAgainFromTheStart)
{
    const ReplaceCase cases[] = {
        {"every occurrence", u"Le chat, le rat, le lit."_s, u","_s, u"#1"_s, u"Le chat#1 le rat#1 le lit."_s},
        {"no occurrence", u"chat"_s, u"x"_s, u"y"_s, u"chat"_s},
        {"an empty src", u"chat"_s, QString(), u"y"_s, u"chat"_s},
        {"an empty text", QString(), u"a"_s, u"b"_s, QString()},
        {"occurrences side by side", u"aaaa"_s, u"aa"_s, u"b"_s, u"bb"_s},
        {"a replacement takes part in a later occurrence", u"aabb"_s, u"ab"_s, QString(), QString()},
        {"the text before a replacement takes part", u"xaab"_s, u"ab"_s, u"b"_s, u"xb"_s},
        {"a dest that contains src does not hang", u"banana"_s, u"a"_s, u"aa"_s, u"baanaanaa"_s},
        {"a dest that can bring new occurrences without shrinking: one pass", u"aab"_s, u"ab"_s, u"bba"_s, u"abba"_s},
        {"a sound typed as #1", u"Exercice #1"_s, u"#1"_s, u"<B>#1</B>"_s, u"Exercice <B>#1</B>"_s},
    };
    for (const ReplaceCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AnsiReplaceStr(c.s, c.src, c.dest), c.expected);
    }
}

TEST(AnsiReplaceStrPaire, TakesTheFiveTextsInTurn)
{
    EXPECT_EQ(AnsiReplaceStrPaire(u"a-b-c-d-e-f-g-h", u"-", u"1", u"2", u"3", u"4", u"5"), u"a1b2c3d4e5f1g2h"_s);
    EXPECT_EQ(AnsiReplaceStrPaire(u"x", u"-", u"1", u"2", u"3", u"4", u"5"), u"x"_s);
    EXPECT_EQ(AnsiReplaceStrPaire(u"--", u"-", u"-", u"--", u"3", u"4", u"5"), u"---"_s);
}

struct Replaced
{
    QString text;
    int replacements = 0;
};

// The routine as first described: replace the first occurrence, then search
// again from the start. Nothing when it has not ended after limit replacements.
std::optional<Replaced> searchingAgainFromTheStart(QString s, const QString &src, const QStringList &dests, int limit)
{
    for (int k = 0;; ++k) {
        const qsizetype found = s.indexOf(src);
        if (found < 0)
            return Replaced{s, k};
        if (k == limit)
            return std::nullopt;
        s.replace(found, src.size(), dests[k % dests.size()]);
    }
}

QString randomText(std::mt19937 &random, int minLength, int maxLength)
{
    std::uniform_int_distribution<int> length(minLength, maxLength);
    std::uniform_int_distribution<int> letter(0, 2);
    QString text;
    for (int n = length(random); n > 0; --n)
        text += QChar(u'a' + letter(random));
    return text;
}

Replaced replacedInOnePass(const QString &s, const QString &src, const QStringList &dests)
{
    Replaced out;
    qsizetype from = 0;
    for (qsizetype at = s.indexOf(src); at >= 0; at = s.indexOf(src, from)) {
        out.text += s.sliced(from, at - from) + dests[out.replacements++ % dests.size()];
        from = at + src.size();
    }
    out.text += s.sliced(from);
    return out;
}

// Over many small texts on three letters, where replacements often meet:
// when every replacement shrinks the text, the result of searching again from
// the start; otherwise (where that search may never end) one pass, which is
// also the result of searching again when no replacement can meet an
// occurrence.
TEST(AnsiReplaceStr, MatchesSearchingAgainFromTheStart)
{
    std::mt19937 random(20240611);
    int searchedAgain = 0;
    int onePass = 0;
    for (int round = 0; round < 20000; ++round) {
        const QString s = randomText(random, 0, 12);
        const QString src = randomText(random, 1, 3);
        const bool paired = round % 2;
        QStringList dests;
        for (int k = paired ? 5 : 1; k > 0; --k)
            dests.append(randomText(random, 0, 3));
        const QString result = paired
            ? AnsiReplaceStrPaire(s, src, dests[0], dests[1], dests[2], dests[3], dests[4])
            : AnsiReplaceStr(s, src, dests[0]);
        const bool shrinks = std::all_of(dests.begin(), dests.end(), [&](const QString &d) { return d.size() < src.size(); });
        // A replacement that shares no letter with src can never meet an occurrence.
        const bool cannotMeet = std::none_of(dests.begin(), dests.end(), [&](const QString &d) {
            return std::any_of(d.begin(), d.end(), [&](QChar c) { return src.contains(c); });
        });
        SCOPED_TRACE(visible(s) + " " + visible(src) + " " + visible(dests.join(u'|')));
        if (shrinks || cannotMeet) {
            ++searchedAgain;
            const std::optional<Replaced> again = searchingAgainFromTheStart(s, src, dests, 1000);
            ASSERT_TRUE(again.has_value());
            EXPECT_EQ(result, again->text);
        }
        if (!shrinks) {
            ++onePass;
            EXPECT_EQ(result, replacedInOnePass(s, src, dests).text);
        }
    }
    EXPECT_GT(searchedAgain, 2000);
    EXPECT_GT(onePass, 2000);
}

// A megabyte line in which every character is replaced, and one in which
// each replacement brings the next occurrence: both must take a moment,
// not the square of a million steps.
TEST(AnsiReplaceStr, StaysLinearOnAMegabyteLine)
{
    const QString every(1 << 20, u'a');
    const QString replaced = AnsiReplaceStr(every, u"a", u"#1");
    ASSERT_EQ(replaced.size(), 2 << 20);
    EXPECT_EQ(replaced.count(u"#1"_s), 1 << 20);

    const QString nested = QString(1 << 19, u'a') + QString(1 << 19, u'b');
    EXPECT_EQ(AnsiReplaceStr(nested, u"ab", u""), QString());
    EXPECT_EQ(AnsiReplaceStr(every, u"a", u"aa").size(), 2 << 20);
}

} // namespace
