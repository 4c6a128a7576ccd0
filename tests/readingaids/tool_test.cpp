#include "testfiles.h"
#include "visible.h"

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
    QByteArray out;
    QString err;
};

ToolRun aides(const QStringList &arguments, const QByteArray &input = {},
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSAVO_AIDES), arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}


TEST(AidesTool, WritesTransformedDocumentsByteForByte)
{
    QTemporaryDir dir;
    for (const QString &aide : {u"tirets"_s, u"phrases"_s, u"bord-vert-rouge"_s}) {
        SCOPED_TRACE(aide.toStdString());
        const QString output = dir.filePath(aide + u".html"_s);
        const ToolRun run = aides({u"document"_s, aide, fixtures + u"loup.html"_s, output});
        EXPECT_EQ(run.exitCode, 0) << visible(run.err);
        EXPECT_EQ(bytesOf(output), bytesOf(fixtures + u"loup-"_s + aide + u".html"_s));
    }
    const ToolRun toStdout = aides({u"document"_s, u"tirets"_s, fixtures + u"loup.html"_s});
    EXPECT_EQ(toStdout.out, bytesOf(fixtures + u"loup-tirets.html"_s));
    // Two changes of a border box bring the document back.
    const QString twice = dir.filePath(u"twice.html"_s);
    aides({u"document"_s, u"bord-vert-rouge"_s, fixtures + u"loup-bord-vert-rouge.html"_s, twice});
    const QByteArray original = bytesOf(fixtures + u"loup.html"_s);
    EXPECT_EQ(bytesOf(twice), QByteArray(original).replace("\t<!--BORD 1-->", "<!--BORD 1-->").replace("\t<!--BORD 4-->", "<!--BORD 4-->"));
}

TEST(AidesTool, ReadsWordsAndLinesFromTheStandardInput)
{
    const ToolRun syllables = aides({u"syllabes"_s}, "papa\r\n\xC3\xA9l\xC3\xA9phant\na++b\n\n");
    EXPECT_EQ(syllables.exitCode, 0);
    EXPECT_EQ(syllables.out, "pa|pa\n\xC3\xA9|l\xC3\xA9|phant\na|-|+b\n\n");
    const ToolRun dashes = aides({u"ligne"_s, u"tirets"_s}, "Le chat dort.<br>\nchocolat");
    EXPECT_EQ(dashes.out, " Le chat <span style=\"white-space:nowrap\">dor-t.</span><br>\n <span style=\"white-space:nowrap\">cho-co-lat</span>\n");
    const ToolRun sound = aides({u"ligne"_s, u"son=ou"_s}, "Le loup<br>\n");
    EXPECT_EQ(sound.out, "Le l<FONT color=\"red\"><B>ou</B></FONT>p<br>\n");
}

TEST(AidesTool, RefusesWithAFrenchMessageAndWritesNothing)
{
    QTemporaryDir dir;
    QFile refused(dir.filePath(u"refuse.html"_s));
    ASSERT_TRUE(refused.open(QIODevice::WriteOnly));
    refused.write("<html>\r\ntexte<br>\r\n<!--FIN-->\r\n");
    refused.close();
    const QString existing = dir.filePath(u"existant.html"_s);
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("avant\r\n");
    file.close();
    struct Refusal
    {
        const char *name;
        QStringList arguments;
        QString message;
    };
    const Refusal refusals[] = {
        {"a document without start marker", {u"document"_s, u"tirets"_s, refused.fileName(), existing}, u"<!--DEBUT-->"_s},
        {"an unknown aid", {u"document"_s, u"gras"_s, fixtures + u"loup.html"_s, existing}, u"Aide inconnue"_s},
        {"a missing file", {u"document"_s, u"tirets"_s, dir.filePath(u"absent.html"_s), existing}, u"introuvable"_s},
        {"a whole-document aid on lines", {u"ligne"_s, u"phrases"_s}, u"document entier"_s},
        {"a missing argument", {u"document"_s, u"tirets"_s}, u"Arguments incorrects"_s},
    };
    for (const Refusal &r : refusals) {
        SCOPED_TRACE(r.name);
        const ToolRun run = aides(r.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(r.message)) << visible(run.err);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(bytesOf(existing), "avant\r\n");
    }
    const ToolRun created = aides({u"document"_s, u"phrases"_s, refused.fileName(), dir.filePath(u"new.html"_s)});
    EXPECT_EQ(created.exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"new.html"_s)));
}

TEST(AidesTool, ReadsWordsAndMarksSoundsByEar)
{
    const ToolRun sons = aides({u"sons"_s}, "bonbon\nbonne\nMonsieur\nmaison\nnation\n\njeep\n");
    EXPECT_EQ(sons.exitCode, 0) << visible(sons.err);
    EXPECT_EQ(QString::fromUtf8(sons.out), u"b|on|b|on → b|ɔ̃|b|ɔ̃\n"
                                           u"b|o|nn|e → b|ɔ|n|∅\n"
                                           u"M|on|s|i|eu|r → m|ə|s|j|ø|∅\n"
                                           u"m|ai|s|on → m|ɛ|z|ɔ̃\n"
                                           u"n|a|t|i|on → n|a|s|j|ɔ̃\n"
                                           u"\n"
                                           u"jeep → ? [(en)dʒip(fr)]\n"_s);
    const QByteArray line = "Le bonbon de la bonne dame de Monsieur.<br>\n";
    const ToolRun byEar = aides({u"ligne"_s, u"son-entendu=on"_s}, line);
    EXPECT_EQ(byEar.out, "Le b<FONT color=\"red\"><B>on</B></FONT>b<FONT color=\"red\"><B>on</B></FONT> de la bonne "
                         "dame de Monsieur.<br>\n");
    const ToolRun byLetters = aides({u"ligne"_s, u"son=on"_s}, line);
    EXPECT_EQ(byLetters.out, "Le b<FONT color=\"red\"><B>on</B></FONT>b<FONT color=\"red\"><B>on</B></FONT> de la "
                             "b<FONT color=\"red\"><B>on</B></FONT>ne dame de M<FONT color=\"red\"><B>on</B></FONT>"
                             "sieur.<br>\n");

    // Without espeak-ng, the letters are matched and the words are not read.
    QProcessEnvironment without = QProcessEnvironment::systemEnvironment();
    without.insert(u"TESSAVO_ESPEAK_NG"_s, u"tessavo-sans-espeak-ng"_s);
    EXPECT_EQ(aides({u"ligne"_s, u"son-entendu=on"_s}, line, without).out, byLetters.out);
    const ToolRun unread = aides({u"sons"_s}, "bonbon\n", without);
    EXPECT_EQ(unread.exitCode, 2);
    EXPECT_TRUE(unread.err.contains(u"Le mode « entendu » n'est pas disponible"_s)) << visible(unread.err);
}

// "ligne" reads each line as sentences; "mots-a-verifier" lists the words
// that the sentence reads, and those espeak-ng cannot read.
TEST(AidesTool, ReadsLinesAsSentencesAndListsTheWordsToCheck)
{
    const ToolRun silent = aides({u"ligne"_s, u"muettes-entendues"_s}, "Ils couvent ; le couvent.<br>\n");
    EXPECT_EQ(silent.exitCode, 0) << visible(silent.err);
    EXPECT_EQ(QString::fromUtf8(silent.out),
              u" Il<FONT color=\"gray\">s</FONT> couv<FONT color=\"gray\">ent</FONT> ; le couven<FONT "
              u"color=\"gray\">t</FONT>.<br>\n"_s);
    const ToolRun sound = aides({u"ligne"_s, u"son-entendu=an"_s}, "Ils couvent ; le couvent.<br>\n");
    EXPECT_EQ(sound.out, "Ils couvent ; le couv<FONT color=\"red\"><B>en</B></FONT>t.<br>\n");

    QTemporaryDir dir;
    const QString document = dir.filePath(u"conte.html"_s);
    QFile file(document);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<!--DEBUT-->\r\nlogo\r\nLes poules couvent.<br>\r\nLe fils de jeep.<br>\r\n<!--FIN-->\r\n");
    file.close();
    const ToolRun toCheck = aides({u"mots-a-verifier"_s, document});
    EXPECT_EQ(toCheck.exitCode, 0) << visible(toCheck.err);
    const QStringList lines = QString::fromUtf8(toCheck.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << visible(QString::fromUtf8(toCheck.out));
    EXPECT_TRUE(lines[0].startsWith(u"1\tcouvent\tcouvent : verbe"_s)) << visible(lines[0]);
    EXPECT_TRUE(lines[1].startsWith(u"2\tfils\t"_s) && lines[1].endsWith(u"[fis]"_s)) << visible(lines[1]);
    EXPECT_TRUE(lines[2].startsWith(u"2\tjeep\tespeak-ng ne sait pas le lire"_s)) << visible(lines[2]);
}

TEST(AidesTool, CutsAndMarksWordsByEarWithTheTeachersCorrections)
{
    const QByteArray words = "bateau\nmontagne\nenfants\npetite\nchantent\nhiver\noignon\nil\n";
    EXPECT_EQ(aides({u"syllabes-entendues"_s}, words).out,
              "ba|teau\nmon|ta|gne\nen|fants\npe|ti|te\nchan|tent\nhi|ver\noi|gnon\nil\n");
    EXPECT_EQ(aides({u"muettes-entendues"_s}, words).out,
              "bateau\nmontagn[e]\nenfan[ts]\npetit[e]\nchant[ent]\n[h]iver\no[i]gnon\nil\n");
    EXPECT_EQ(aides({u"ligne"_s, u"tirets-entendus"_s}, "Les enfants chantent l'hiver.<br>\n").out,
              " Les <span style=\"white-space:nowrap\">en-fants</span> <span style=\"white-space:nowrap\">chan-tent</span> <span style=\"white-space:nowrap\">l'hi-ver.</span><br>\n");

    QTemporaryDir folder;
    const QString corrections = folder.filePath(u"corrections-mots.txt"_s);
    QFile file(corrections);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# deux corrections\r\no[i]|gnon\r\nfi[l]s\r\n");
    file.close();
    // espeak-ng reads "fils" as the plural of "fil": the teacher's cut wins.
    EXPECT_EQ(aides({u"muettes-entendues"_s}, "fils\n").out, "fil[s]\n");
    EXPECT_EQ(aides({u"--corrections"_s, corrections, u"muettes-entendues"_s}, "fils\n").out, "fi[l]s\n");
    EXPECT_EQ(aides({u"--corrections"_s, corrections, u"ligne"_s, u"muettes"_s}, "Un oignon.<br>\n").out,
              " Un <span style=\"white-space:nowrap\">o-ignon</span>.<br>\n");
    const ToolRun missing = aides({u"--corrections"_s, folder.filePath(u"aucun.txt"_s), u"syllabes"_s}, "chat\n");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(u"introuvable"_s)) << visible(missing.err);
}

TEST(AidesTool, ExplainsItselfInFrench)
{
    const ToolRun help = aides({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    for (const char *text : {"syllabes", "sons", "son-entendu=TEXTE", "ligne AIDE", "document AIDE ENTREE [SORTIE]", "son=TEXTE", "bord-multicolor",
                             "surlignement=oui", "code de sortie est 2", "syllabes-entendues", "muettes-entendues",
                             "couleurs-entendues", "tirets-entendus", "--corrections FICHIER"})
        EXPECT_TRUE(help.out.contains(text)) << text;
}

} // namespace
