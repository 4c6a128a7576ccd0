#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/linescanner.h"
#include "readingaids/phrases.h"
#include "readingaids/trim.h"
#include "workspace/cp1252.h"

#include "visible.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <random>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// What a teacher's line is made of: words, marks, mark-up, numbers.
const QStringList pieces = {
    u"Le"_s, u"chat"_s, u"dort"_s, u"éléphant"_s, u"porte-monnaie"_s, u"l'enfant"_s, u"Ernst"_s, u"froid"_s,
    u"vent"_s, u"Nez"_s, u"chats"_s, u"théâtre"_s, u"œufs"_s, u"a+b"_s, u"2+2=4"_s, u"aujourd'hui"_s,
    u"PAPA"_s, u"île"_s, u"ça"_s, u"."_s, u","_s, u":"_s, u";"_s, u"!"_s, u"?"_s, u"..."_s, u"…"_s, u"-"_s,
    u"«"_s, u"»"_s, u"\u00A0"_s, u"\t"_s, u"#1"_s, u"#2"_s, u"#7"_s, u"<b>"_s, u"</b>"_s, u"<br>"_s,
    u"<a href=\"x.html#2\">"_s, u"<font color=\"#123456\">"_s, u"&amp;"_s, u"&#233;"_s, u"&nbsp;"_s,
    u"&"_s, u"<"_s, u">"_s, u"+"_s, u"'"_s, u"\""_s, u"1er"_s, u"CE1"_s,
};

QString randomLine(std::mt19937 &random)
{
    std::uniform_int_distribution<int> count(0, 14);
    std::uniform_int_distribution<qsizetype> piece(0, pieces.size() - 1);
    std::uniform_int_distribution<int> blanks(0, 2);
    QString line;
    for (int n = count(random); n > 0; --n)
        line += pieces[piece(random)] + QString(blanks(random), u' ');
    return line + u"<br>"_s;
}

QString withoutAll(QString text, const QStringList &removed)
{
    for (const QString &r : removed)
        text.remove(r);
    return text;
}

const QStringList colourTexts = {
    u"<FONT color=\"red\">"_s, u"<FONT color=\"green\">"_s, u"<FONT color=\"blue\">"_s,
    u"<FONT color=\"black\">"_s, u"<FONT color=\"orange\">"_s, u"</FONT>"_s,
};

// The teacher's text of a line aid's output: the aid's mark-up and dashes
// taken away, and the blanks, which the aids collapse and move around tags.
QString textOf(BodyAid aid, const QString &output)
{
    QString text = withoutAll(output, colourTexts + QStringList{u"<B>"_s, u"</B>"_s, wholeWordOpening.toString(),
                                                                wholeWordClosing.toString(), u" "_s});
    if (aid == BodyAid::Tirets || aid == BodyAid::Muettes)
        text.remove(u'-');
    return text;
}

QString expectedTextOf(BodyAid aid, const QString &line)
{
    QString text = trimLine(line).toString().remove(u' ');
    if (aid == BodyAid::Tirets || aid == BodyAid::Muettes)
        text.remove(u'-');
    return text;
}

// Whether every dash that the aid put in stands inside a word kept whole:
// outside them, no more dashes than the teacher's line had. Words kept whole
// are neither empty nor nested, and hold no blank.
bool noAddedDashCanEndALine(const QString &output, QStringView line)
{
    qsizetype outside = 0;
    for (qsizetype i = 0; i < output.size();) {
        if (QStringView(output).sliced(i).startsWith(wholeWordOpening)) {
            const qsizetype begin = i + wholeWordOpening.size();
            const qsizetype end = output.indexOf(wholeWordClosing, begin);
            const QStringView word = QStringView(output).sliced(begin, end < 0 ? 0 : end - begin);
            if (end <= begin || word.contains(wholeWordOpening) || word.contains(u' ') || word.contains(u'\u00A0'))
                return false;
            i = end + wholeWordClosing.size();
            continue;
        }
        outside += output[i] == u'-';
        ++i;
    }
    return outside <= line.count(u'-');
}

// No aid loses, adds or changes a character of the teacher's text.
TEST(EveryAid, KeepsTheTeachersText)
{
    std::mt19937 random(31415);
    QStringList body;
    for (int n = 0; n < 400; ++n)
        body.append(randomLine(random));
    for (BodyAid aid : {BodyAid::Couleurs, BodyAid::Tirets, BodyAid::Muettes}) {
        for (const QString &line : body) {
            const QString output = treatBodyLine(aid, line);
            ASSERT_EQ(textOf(aid, output), expectedTextOf(aid, line))
                << "aid " << int(aid) << " line " << visible(line) << " output " << visible(output);
            if (aid != BodyAid::Couleurs) {
                ASSERT_TRUE(noAddedDashCanEndALine(output, line)) << visible(line) << " -> " << visible(output);
            }
        }
    }
    // A sound in relief changes nothing but its mark-up, blanks included.
    for (const QString &sound : {u"ou"_s, u"#1"_s, u"b"_s, u"e"_s, u"a "_s, u"<"_s, u"&"_s}) {
        for (const QString &line : body) {
            const QString output = treatBodyLine(BodyAid::Son, line, sound);
            ASSERT_EQ(withoutAll(output, {u"<FONT color=\"red\"><B>"_s, u"</B></FONT>"_s}), trimLine(line))
                << "sound " << visible(sound) << " line " << visible(line);
        }
    }
    // The sentences change nothing but their colours.
    EXPECT_EQ(withoutAll(colourSentences(body), colourTexts), body.join(QString()));
}

// What a child reads of a line in the view: the mark-up taken away, the
// character references read, and the blanks as a browser shows them (a run
// of them is one, none at the ends).
QString readText(QStringView html)
{
    QString text;
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html[i];
        if (c == u'<') {
            const qsizetype end = html.indexOf(u'>', i);
            if (end > i) {
                i = end;
                continue;
            }
        }
        if (c == u'&') {
            static const QList<std::pair<QString, QChar>> named = {
                {u"&amp;"_s, u'&'}, {u"&lt;"_s, u'<'}, {u"&gt;"_s, u'>'}, {u"&quot;"_s, u'"'}, {u"&nbsp;"_s, u'\u00A0'}};
            bool read = false;
            for (const auto &[name, character] : named) {
                if (html.sliced(i).startsWith(name)) {
                    text += character;
                    i += name.size() - 1;
                    read = true;
                    break;
                }
            }
            if (read)
                continue;
        }
        text += c;
    }
    // The blanks of the browser: space, tab, CR and LF, not the no-break space.
    static const QRegularExpression blanks(u"[ \t\r\n]+"_s);
    return text.replace(blanks, u" "_s).trimmed();
}

// Lines as a teacher types them: French words with their apostrophes and
// hyphens, every punctuation mark, blanks before and after them or none.
QString frenchLine(std::mt19937 &random)
{
    static const QStringList words = {
        u"Le"_s, u"chat"_s, u"dort"_s, u"il"_s, u"y"_s, u"a"_s, u"l’enfant"_s, u"l'école"_s, u"aujourd’hui"_s,
        u"dit-il"_s, u"porte-monnaie"_s, u"vent"_s, u"froid"_s, u"les"_s, u"poules"_s, u"couvent"_s, u"fils"_s,
        u"Ernst"_s, u"œufs"_s, u"été"_s, u"ÇA"_s, u"12"_s, u"3,5"_s, u"10%"_s, u"CE1"_s, u"s"_s, u"Nez"_s, u"a+b"_s};
    static const QStringList marks = {
        u"."_s, u","_s, u";"_s, u":"_s, u"!"_s, u"?"_s, u"…"_s, u"..."_s, u"«"_s, u"»"_s, u"\""_s, u"“"_s,
        u"”"_s, u"'"_s, u"’"_s, u"("_s, u")"_s, u"["_s, u"]"_s, u"-"_s, u"–"_s, u"—"_s, u"/"_s, u"*"_s};
    static const QStringList gaps = {QString(), u" "_s, u" "_s, u"  "_s, u"\t"_s, u"\u00A0"_s, u" \u00A0"_s};
    std::uniform_int_distribution<int> count(1, 16);
    std::uniform_int_distribution<qsizetype> word(0, words.size() - 1), mark(0, marks.size() - 1),
        gap(0, gaps.size() - 1);
    std::bernoulli_distribution isMark(0.4);
    QString line = gaps[gap(random)];
    for (int n = count(random); n > 0; --n) {
        line += isMark(random) ? marks[mark(random)] : words[word(random)];
        line += gaps[gap(random)];
    }
    return line + u"<br>"_s;
}

// An aid never changes the text the child reads: for each aid, what the
// aided line reads (less the dashes that cut the words, for the dash aids)
// is what the line reads, each mark and blank in its place.
TEST(EveryAid, LeavesTheTextTheChildReadsAsTyped)
{
    std::mt19937 random(1789);
    QStringList body;
    for (int n = 0; n < 500; ++n)
        body.append(frenchLine(random));
    body += {u"il y a : des « mots » …<br>"_s, u"« Viens », dit-il ; il part !<br>"_s, u"Et puis... rien.<br>"_s};
    for (BodyAid aid : {BodyAid::Couleurs, BodyAid::Tirets, BodyAid::Muettes, BodyAid::Son, BodyAid::SonEntendu,
                        BodyAid::CouleursEntendu, BodyAid::TiretsEntendu, BodyAid::MuettesEntendu}) {
        const bool dashes = aid == BodyAid::Tirets || aid == BodyAid::Muettes || aid == BodyAid::TiretsEntendu;
        for (const QString &line : body) {
            const QString output = treatBodyLine(aid, line, u"ou");
            QString read = readText(output), typed = readText(line);
            if (dashes) {
                EXPECT_GE(read.count(u'-'), typed.count(u'-')) << visible(line);
                read.remove(u'-');
                typed.remove(u'-');
            }
            ASSERT_EQ(read, typed) << "aid " << int(aid) << " line " << visible(line) << " output " << visible(output);
        }
    }
    // The sentences read as the lines one after the other.
    for (const QString &line : body)
        ASSERT_EQ(readText(colourSentences({line})), readText(line)) << visible(line);
    EXPECT_EQ(readText(colourSentences(body)), readText(body.join(QString())));
}

// Text that no teacher types: any byte of the code page, and dense mixes of
// the characters that mean something to the aids. Each aid must finish and
// keep the text.
TEST(EveryAid, SurvivesRandomBytesAndMarkupCharacters)
{
    std::mt19937 random(2718);
    const QString dense = u"<>&;#-+ a.:!?«…"_s;
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<qsizetype> denseChar(0, dense.size() - 1);
    std::uniform_int_distribution<int> length(0, 300);
    for (int round = 0; round < 600; ++round) {
        QByteArray bytes;
        QString mix;
        for (int n = length(random); n > 0; --n) {
            bytes += char(byte(random));
            mix += dense[denseChar(random)];
        }
        for (const QString &line : {workspace::fromWindows1252(bytes), mix}) {
            for (BodyAid aid : {BodyAid::Couleurs, BodyAid::Tirets, BodyAid::Muettes})
                ASSERT_EQ(textOf(aid, treatBodyLine(aid, line)), expectedTextOf(aid, line)) << visible(line);
            for (BodyAid aid : {BodyAid::Tirets, BodyAid::Muettes})
                ASSERT_TRUE(noAddedDashCanEndALine(treatBodyLine(aid, line), line)) << visible(line);
            const QString sound = line.mid(line.size() / 2, 2);
            ASSERT_EQ(withoutAll(treatBodyLine(BodyAid::Son, line, sound), {u"<FONT color=\"red\"><B>"_s, u"</B></FONT>"_s}),
                      trimLine(line));
            ASSERT_EQ(withoutAll(colourSentences({line, line}), colourTexts), line + line);
        }
    }
}

// Long lines of one meaningful character stay quick (each is copied or
// scanned once, never rescanned from every position).
TEST(EveryAid, StaysQuickOnLongLinesOfMarkupCharacters)
{
    for (const QString &unit : {u"<"_s, u"&"_s, u"&a"_s, u"&#"_s, u"#1"_s, u"+"_s, u"-"_s, u"."_s, u"<a>"_s, u"a<"_s}) {
        const QString line = unit.repeated(200'000 / unit.size());
        for (BodyAid aid : {BodyAid::Couleurs, BodyAid::Tirets, BodyAid::Muettes, BodyAid::Son})
            EXPECT_FALSE(treatBodyLine(aid, line, u"a").isEmpty()) << visible(unit);
        EXPECT_FALSE(colourSentences({line}).isEmpty());
    }
}

// Random documents: either written with every line in place or refused.
TEST(EveryAid, WritesOrRefusesRandomDocuments)
{
    std::mt19937 random(1618);
    const QStringList kinds = {u"<!--DEBUT-->"_s, u" <!--FIN-->"_s, u"<html>"_s, u"texte.<br>"_s, QString()};
    std::uniform_int_distribution<qsizetype> kind(0, kinds.size() - 1);
    std::uniform_int_distribution<int> length(0, 8);
    int written = 0;
    for (int round = 0; round < 2000; ++round) {
        QStringList lines;
        for (int n = length(random); n > 0; --n)
            lines.append(kinds[kind(random)]);
        for (BodyAid aid : {BodyAid::Tirets, BodyAid::Phrases}) {
            try {
                const QStringList output = writeBodyAid(lines, aid);
                const Regions regions = findRegions(lines);
                const qsizetype bodyLines = regions.endMarker - regions.logo - 1;
                EXPECT_EQ(output.size(), aid == BodyAid::Phrases ? lines.size() - bodyLines + 1 : lines.size());
                ++written;
            } catch (const DocumentRefused &) {
                EXPECT_THROW(findRegions(lines), DocumentRefused);
            }
        }
    }
    EXPECT_GT(written, 100);
}

} // namespace
