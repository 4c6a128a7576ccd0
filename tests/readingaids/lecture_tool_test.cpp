// tessavo-aides lecture, run as a teacher's script would run it.
#include "readingaids/speech.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString fixtures = QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/");

struct ToolRun
{
    int exitCode = -1;
    QString err;
    QByteArray out;
};

ToolRun aides(const QStringList &arguments, const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSAVO_AIDES), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError()), process.readAllStandardOutput()};
}

// The cue texts of a WebVTT file.
QStringList cueTexts(const QByteArray &vtt)
{
    const QStringList lines = QString::fromUtf8(vtt).split(u'\n');
    QStringList texts;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].contains(u"-->"_s))
            texts.append(lines[i + 1]);
    }
    return texts;
}

TEST(LectureTool, WritesTheAudioAndTheCuesOfTheDocument)
{
    QTemporaryDir dir;
    for (const QString &speed : {u"lente"_s, u"normale"_s}) {
        const QString folder = dir.filePath(speed);
        QDir().mkpath(folder);
        const ToolRun run = aides({u"lecture"_s, fixtures + u"loup.html"_s, folder, u"--vitesse"_s, speed});
        ASSERT_EQ(run.exitCode, 0) << visible(run.err);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{u"loup.mp3"_s, u"loup.vtt"_s}));
        QFile vtt(folder + u"/loup.vtt"_s);
        ASSERT_TRUE(vtt.open(QIODevice::ReadOnly));
        QStringList words;
        for (const readingaids::SpeechWord &word :
             readingaids::speechWords(readingaids::speechText(workspace::readLines(fixtures + u"loup.html"_s))))
            words.append(word.text);
        EXPECT_EQ(cueTexts(vtt.readAll()), words);
        EXPECT_GT(QFileInfo(folder + u"/loup.mp3"_s).size(), 4000);
    }
    EXPECT_GT(QFileInfo(dir.filePath(u"lente/loup.mp3"_s)).size(), QFileInfo(dir.filePath(u"normale/loup.mp3"_s)).size());
    const ToolRun help = aides({u"--help"_s});
    EXPECT_TRUE(help.out.contains("lecture ENTREE DOSSIER [--vitesse lente|normale]"));
}

// A refused document, a wrong speed, a missing folder or voice: exit status 2,
// a French message, no file.
TEST(LectureTool, RefusesWithoutWritingAnything)
{
    QTemporaryDir dir;
    QFile bad(dir.filePath(u"sans-reperes.html"_s));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("<html>Le loup</html>\r\n");
    bad.close();
    const QString out = dir.filePath(u"sortie"_s);
    QDir().mkpath(out);
    QProcessEnvironment withoutVoice = QProcessEnvironment::systemEnvironment();
    withoutVoice.insert(u"TESSAVO_ESPEAK_NG"_s, u"/nonexistent/libespeak-ng.so"_s);
    const struct
    {
        QStringList arguments;
        QProcessEnvironment environment;
        QString message;
    } cases[] = {
        {{u"lecture"_s, bad.fileName(), out}, QProcessEnvironment::systemEnvironment(), u"DEBUT"_s},
        {{u"lecture"_s, fixtures + u"loup.html"_s, out, u"--vitesse"_s, u"rapide"_s},
         QProcessEnvironment::systemEnvironment(), u"Vitesse inconnue"_s},
        {{u"lecture"_s, fixtures + u"loup.html"_s, out, u"--vitesse"_s}, QProcessEnvironment::systemEnvironment(),
         u"Vitesse manquante"_s},
        {{u"lecture"_s, fixtures + u"loup.html"_s, dir.filePath(u"absent"_s)}, QProcessEnvironment::systemEnvironment(),
         u"introuvable"_s},
        {{u"lecture"_s, fixtures + u"loup.html"_s}, QProcessEnvironment::systemEnvironment(), u"Arguments incorrects"_s},
        {{u"lecture"_s, fixtures + u"loup.html"_s, out}, withoutVoice, u"libespeak-ng1"_s},
    };
    for (const auto &c : cases) {
        const ToolRun run = aides(c.arguments, c.environment);
        EXPECT_EQ(run.exitCode, 2) << visible(c.arguments.join(u' '));
        EXPECT_TRUE(run.err.contains(c.message)) << visible(run.err);
    }
    EXPECT_TRUE(QDir(out).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"absent"_s)));
}

} // namespace
