#include "readingaids/document.h"
#include "readingaids/speech.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <QStringList>
#include <QTime>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

const QString fixtures = QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/");

QStringList texts(const QList<SpeechWord> &words)
{
    QStringList out;
    for (const SpeechWord &word : words)
        out.append(word.text);
    return out;
}

QStringList texts(const QList<Cue> &cues)
{
    QStringList out;
    for (const Cue &cue : cues)
        out.append(cue.text);
    return out;
}

// A reading document of these body lines.
QStringList document(const QStringList &body)
{
    return QStringList{u"<html><body>"_s, u"<!--DEBUT-->"_s, u"<img src=\"logo.jpg\">"_s} + body
        + QStringList{u"<!--FIN-->"_s, u"</body></html>"_s};
}

void expectWellTimed(const Speech &speech)
{
    qint64 previous = -1;
    for (const Cue &cue : speech.cues) {
        EXPECT_GT(cue.startMs, previous) << visible(cue.text);
        EXPECT_LE(cue.startMs, cue.endMs) << visible(cue.text);
        EXPECT_LE(cue.endMs, speech.durationMs()) << visible(cue.text);
        previous = cue.startMs;
    }
}

TEST(SpeechWords, CutsAsAReaderReads)
{
    const struct
    {
        QString text;
        QStringList words;
    } cases[] = {
        {u"L’école d'Anne, aujourd'hui."_s, {u"L’école"_s, u"d'Anne"_s, u"aujourd'hui"_s}},
        {u"M. Dupont et Mme Durand, etc. Fin."_s, {u"M."_s, u"Dupont"_s, u"et"_s, u"Mme"_s, u"Durand"_s, u"etc."_s, u"Fin"_s}},
        {u"Il a 1 000 ans, 3,5 km et 12 chats."_s,
         {u"Il"_s, u"a"_s, u"1 000"_s, u"ans"_s, u"3,5"_s, u"km"_s, u"et"_s, u"12"_s, u"chats"_s}},
        {u"un porte-monnaie « vide » !"_s, {u"un"_s, u"porte"_s, u"monnaie"_s, u"vide"_s}},
        {u"l' élan"_s, {u"l"_s, u"élan"_s}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(texts(speechWords(c.text)), c.words) << visible(c.text);
}

TEST(SpeechText, IsTheBodyWithoutTagsAndWithItsCharacters)
{
    const QStringList lines = document({u"Le <b>loup</b> de la for&ecirc;t&nbsp;!<br>"_s, u"&#xE0; l&#233;cole"_s});
    EXPECT_EQ(speechText(lines), u"Le loup de la forêt\u00A0!\nà lécole\n"_s);
    EXPECT_THROW(speechText({u"<html>"_s}), DocumentRefused);
}

TEST(SpeechCues, FollowTheWordEvents)
{
    const QString text = u"Il a 1 000 porte-monnaie."_s;
    const QList<SpeechWord> words = speechWords(text);
    // At 1000 samples a second: "1 000" said as two words, "monnaie" without
    // an event of its own, an event of no word (the dot) and one going back.
    const QList<WordEvent> events = {{0, 2, 0},   {3, 1, 300},   {5, 1, 500},  {7, 3, 900},
                                     {11, 5, 1500}, {5, 1, 1600}, {24, 1, 2500}};
    const QList<Cue> cues = cuesOfWords(words, events, 1000, 3000);
    ASSERT_EQ(texts(cues), (QStringList{u"Il"_s, u"a"_s, u"1 000"_s, u"porte"_s, u"monnaie"_s}));
    EXPECT_EQ(cues[2].startMs, 500);
    EXPECT_EQ(cues[2].endMs, 1500);
    EXPECT_EQ(cues[3].startMs, 1500);
    EXPECT_EQ(cues[4].startMs, 1500 + 1500 * 5 / 12);
    EXPECT_EQ(cues[4].endMs, 3000);
}

TEST(SpeechCues, WebVttHasOneCueAWord)
{
    const QList<Cue> cues = {{0, 450, u"L’école"_s}, {450, 61001, u"A&B"_s}};
    EXPECT_EQ(webVtt(cues), u"WEBVTT\n\n00:00:00.000 --> 00:00:00.450\nL’école\n\n"
                            "00:00:00.450 --> 00:01:01.001\nA&amp;B\n"_s.toUtf8());
}

TEST(Speech, ReadsTheDocumentWordByWord)
{
    Pronouncer &pronouncer = Pronouncer::process();
    ASSERT_TRUE(pronouncer.available()) << visible(pronouncer.unavailableReason());
    const QStringList lines = workspace::readLines(fixtures + u"loup.html"_s);
    const QString text = speechText(lines) + u"M. Loup a 1 987 dents, etc."_s;
    for (const SpeechSpeed speed : {SpeechSpeed::Lente, SpeechSpeed::Normale}) {
        const Speech speech = synthesise(pronouncer, text, speed);
        EXPECT_EQ(texts(speech.cues), texts(speechWords(text)));
        EXPECT_TRUE(texts(speech.cues).contains(u"1 987"_s));
        EXPECT_TRUE(texts(speech.cues).contains(u"M."_s));
        EXPECT_GT(speech.durationMs(), 3000);
        expectWellTimed(speech);
        // Each word that espeak-ng said begins at its first event.
        EXPECT_GE(speech.events.size(), speech.cues.size() - 2);
    }
    const qint64 slow = synthesise(pronouncer, text, SpeechSpeed::Lente).durationMs();
    const qint64 normal = synthesise(pronouncer, text, SpeechSpeed::Normale).durationMs();
    EXPECT_GT(slow, normal * 11 / 10);
}

// 150 words of a tale, slowly: the MP3 and its cues within 1 MB, the MP3 as
// long as the speech.
TEST(Speech, ReadingFilesOfATaleStaySmall)
{
    ASSERT_TRUE(Pronouncer::process().available());
    QStringList body;
    for (int i = 0; i < 10; ++i)
        body.append(u"Le petit loup gris court vite dans la forêt profonde et cherche l’école du village.<br>"_s);
    const QStringList lines = document(body);
    EXPECT_EQ(speechWords(speechText(lines)).size(), 150);
    const QList<QByteArray> files = readingFiles(Pronouncer::process(), lines, SpeechSpeed::Lente);
    ASSERT_EQ(files.size(), 2);
    EXPECT_LE(files[0].size() + files[1].size(), 1024 * 1024);
    // MPEG-2 layer III frames at 40 kbit/s, 22 050 Hz, mono: as long as the
    // speech and its delay, the last cue ending with it.
    ASSERT_GT(files[0].size(), 1000);
    EXPECT_EQ(quint8(files[0][0]), 0xFF);
    EXPECT_EQ(quint8(files[0][1]) & 0xFE, 0xF2);
    EXPECT_EQ(quint8(files[0][2]) >> 4, 5);
    const qint64 audioMs = files[0].size() * 8 / 40;
    const Speech speech = synthesise(Pronouncer::process(), speechText(lines), SpeechSpeed::Lente);
    EXPECT_NEAR(double(audioMs), double(speech.durationMs()), 200.0);
    const QByteArray last = files[1].sliced(files[1].lastIndexOf("-->") + 4, 12);
    const qint64 lastEnd = QTime::fromString(QString::fromLatin1(last), u"hh:mm:ss.zzz"_s).msecsSinceStartOfDay();
    EXPECT_GT(lastEnd, speech.durationMs());
    EXPECT_LE(lastEnd, audioMs);
    EXPECT_TRUE(files[1].startsWith("WEBVTT\n"));
    EXPECT_EQ(files[1].count("-->"), 150);
    EXPECT_EQ(readingFileNames(u"le loup.htm"), (QStringList{u"le loup.mp3"_s, u"le loup.vtt"_s}));
}

TEST(Speech, SaysWhyWithoutTheVoice)
{
    Pronouncer absent(u"/nonexistent/libespeak-ng.so"_s);
    try {
        synthesise(absent, u"Bonjour"_s, SpeechSpeed::Normale);
        FAIL();
    } catch (const SpeechUnavailable &failure) {
        EXPECT_EQ(failure.message(), u"La lecture à voix haute n'est pas disponible : la bibliothèque espeak-ng n'a pas pu être chargée (paquet libespeak-ng1)."_s);
    }
}

} // namespace
