#include "layout/lecture.h"
#include "readingaids/speech.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace layout;
using readingaids::SpeechSpeed;

namespace {

const QString fixtures = QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/");

// Every file of a folder and its bytes.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        QFile file(folder + name);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files.insert(name, file.readAll());
    }
    return files;
}

class Lecture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(readingaids::Pronouncer::process().available());
        cheminW = dir.path() + u"/"_s;
        QFile::copy(fixtures + u"loup.html"_s, cheminW + u"loup.html"_s);
        workspace::writeLines(cheminW + u"chat.htm"_s,
                              {u"<html><body>"_s, u"<!--DEBUT-->"_s, u"<img src=\"chat.jpg\">"_s,
                               u"Le chat de M. Dupont a 12 ans.<br>"_s, u"<!--FIN-->"_s, u"</body></html>"_s});
        // Working pages, a template and a page without markers: no documents.
        QFile::copy(fixtures + u"loup.html"_s, cheminW + u"TexteAlire_copie.html"_s);
        QFile::copy(fixtures + u"loup.html"_s, cheminW + u"TexteAlire.html"_s);
        workspace::writeLines(cheminW + u"entete.html"_s, {u"<html><body>"_s, u"<!--DEBUT-->"_s});
        workspace::writeLines(cheminW + u"sommaire.html"_s, {u"<html><body>Sommaire</body></html>"_s});
    }

    LectureWork prepare(bool on, SpeechSpeed speed = SpeechSpeed::Normale)
    {
        return prepareLecture(cheminW, {on, speed}, readingaids::Pronouncer::process());
    }

    QTemporaryDir dir;
    QString cheminW;
};

TEST_F(Lecture, RemembersTheBoxAndTheSpeedForEachStudent)
{
    EXPECT_EQ(lectureSettings(cheminW), LectureSettings{});
    EXPECT_FALSE(lectureSettings(cheminW).on);
    for (const LectureSettings settings : {LectureSettings{true, SpeechSpeed::Lente}, LectureSettings{false, SpeechSpeed::Lente},
                                           LectureSettings{true, SpeechSpeed::Normale}}) {
        rememberLecture(cheminW, settings);
        EXPECT_EQ(lectureSettings(cheminW), settings);
    }
    EXPECT_EQ(workspace::readLines(cheminW + LectureFile), (QStringList{u"lecture=oui"_s, u"vitesse=normale"_s}));
    workspace::writeLines(cheminW + LectureFile, {u"lecture=peut-être"_s});
    EXPECT_EQ(lectureSettings(cheminW), LectureSettings{});
    EXPECT_EQ(readingDocuments(cheminW), (QStringList{u"chat.htm"_s, u"loup.html"_s}));
}

TEST_F(Lecture, OffLeavesEveryFileAsItWas)
{
    const auto before = snapshot(cheminW);
    const LectureWork work = prepare(false);
    EXPECT_EQ(snapshot(cheminW), before);
    EXPECT_TRUE(work.made.isEmpty() && work.removed.isEmpty());
}

// On: the reading files and the script beside the documents, made again
// only for a new text or speed; off again: every file byte for byte as before.
TEST_F(Lecture, OnMakesTheReadingFilesOnceAndOffTakesThemAway)
{
    const auto before = snapshot(cheminW);
    LectureWork work = prepare(true);
    EXPECT_EQ(work.made, (QStringList{u"chat.mp3"_s, u"chat.vtt"_s, u"loup.mp3"_s, u"loup.vtt"_s}));
    auto on = snapshot(cheminW);
    EXPECT_EQ(on.value(LectureScript), lectureScript());
    EXPECT_EQ(on.size(), before.size() + 5);
    for (auto file = before.cbegin(); file != before.cend(); ++file)
        EXPECT_EQ(on.value(file.key()), file.value()) << visible(file.key());
    const QString vtt = QString::fromUtf8(on.value(u"chat.vtt"_s));
    EXPECT_EQ(vtt.count(u"-->"_s), 8) << visible(vtt); // Le chat de M. Dupont a 12 ans
    EXPECT_TRUE(vtt.contains(u"\nM.\n"_s) && vtt.contains(u"\n12\n"_s)) << visible(vtt);

    work = prepare(true);
    EXPECT_TRUE(work.made.isEmpty());
    EXPECT_EQ(snapshot(cheminW), on); // the voice's noise varies: the same MP3 bytes were not made again

    QStringList chat = workspace::readLines(cheminW + u"chat.htm"_s);
    chat[3] = u"Le chat de Mme Durand a 13 ans.<br>"_s;
    workspace::writeLines(cheminW + u"chat.htm"_s, chat);
    work = prepare(true);
    EXPECT_EQ(work.made, (QStringList{u"chat.mp3"_s, u"chat.vtt"_s}));
    EXPECT_EQ(work.kept, (QStringList{u"loup.mp3"_s, u"loup.vtt"_s}));
    EXPECT_TRUE(QString::fromUtf8(snapshot(cheminW).value(u"chat.vtt"_s)).contains(u"\n13\n"_s));

    work = prepare(true, SpeechSpeed::Lente);
    EXPECT_EQ(work.made.size(), 4);
    EXPECT_GT(QFileInfo(cheminW + u"loup.mp3"_s).size(), on.value(u"loup.mp3"_s).size());

    chat[3] = u"Le chat de M. Dupont a 12 ans.<br>"_s;
    workspace::writeLines(cheminW + u"chat.htm"_s, chat);
    work = prepare(false);
    EXPECT_EQ(work.removed.size(), 5);
    EXPECT_EQ(snapshot(cheminW), before);
}

// While a publication runs, the documents with reading files name the script,
// right before their start marker, their text the same; then they are put
// back byte for byte.
TEST_F(Lecture, DocumentsNameTheScriptOnlyWhilePublished)
{
    const auto before = snapshot(cheminW);
    {
        const ScriptLinesForPublication off(cheminW);
        EXPECT_TRUE(off.documents().isEmpty());
        EXPECT_EQ(snapshot(cheminW), before);
    }
    prepare(true);
    const auto on = snapshot(cheminW);
    {
        const ScriptLinesForPublication published(cheminW);
        EXPECT_EQ(published.documents(), (QStringList{u"chat.htm"_s, u"loup.html"_s}));
        for (const QString &document : {u"chat.htm"_s, u"loup.html"_s}) {
            const QStringList lines = workspace::readLines(cheminW + document);
            QStringList without = lines;
            without.removeAll(LectureScriptLine);
            EXPECT_EQ(workspace::encodeLines(without), before.value(document)) << visible(document);
            EXPECT_EQ(lines.indexOf(LectureScriptLine) + 1, lines.indexOf(u"<!--DEBUT-->"_s)) << visible(document);
            EXPECT_EQ(readingaids::speechText(lines), readingaids::speechText(without));
        }
        EXPECT_EQ(snapshot(cheminW).value(u"TexteAlire_copie.html"_s), before.value(u"TexteAlire_copie.html"_s));
        // A document changed meanwhile stays as changed.
        workspace::writeLines(cheminW + u"chat.htm"_s, workspace::readLines(cheminW + u"chat.htm"_s) << u"<!-- -->"_s);
    }
    auto after = snapshot(cheminW);
    EXPECT_NE(after.take(u"chat.htm"_s), on.value(u"chat.htm"_s));
    auto expected = on;
    expected.remove(u"chat.htm"_s);
    EXPECT_EQ(after, expected);

    // A line left behind (the document changed meanwhile above, or a
    // publication cut short by the program killed) goes at the next one.
    { const ScriptLinesForPublication next(cheminW); }
    EXPECT_FALSE(workspace::readLines(cheminW + u"chat.htm"_s).contains(LectureScriptLine));
    const auto whole = snapshot(cheminW);
    QStringList lines = workspace::readLines(cheminW + u"loup.html"_s);
    lines.insert(lines.indexOf(u"<!--DEBUT-->"_s), LectureScriptLine);
    workspace::writeLines(cheminW + u"loup.html"_s, lines);
    { const ScriptLinesForPublication published(cheminW); }
    EXPECT_EQ(snapshot(cheminW), whole);
}

TEST_F(Lecture, WithoutTheVoiceNothingChanges)
{
    const auto before = snapshot(cheminW);
    readingaids::Pronouncer absent(u"/nonexistent/libespeak-ng.so"_s);
    EXPECT_THROW(prepareLecture(cheminW, {true, SpeechSpeed::Normale}, absent), readingaids::SpeechUnavailable);
    EXPECT_EQ(snapshot(cheminW), before);
}

} // namespace
