// The words that the aids cut with dashes, in the real web engine: at a
// narrow page, each stays whole on its line on screen and in a PDF, where the
// same words without their mark-up break after a dash ("rou-" then "ge").
#include "import/readingdocument.h"
#include "readingaids/bodyaids.h"
#include "readingaids/entendu.h"
#include "readingaids/linescanner.h"
#include "workspace/textfile.h"

#include "visible.h"
#include "eventwait.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageLayout>
#include <QPageSize>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

using namespace Qt::StringLiterals;
using readingaids::BodyAid;

namespace {

const QString Reserve = QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/");

// A teacher's text: long words, a list word ("vent"), plurals, a hyphen of
// its own, French marks with their no-break spaces.
const QStringList Text = {
    u"Le petit chaperon rouge traverse la forêt profonde pour apporter une galette à sa grand-mère."_s,
    u"Les loups affamés parlent doucement aux enfants perdus dans les montagnes enneigées."_s,
    u"«\u00A0Où vas-tu\u00A0?\u00A0» demande l’écureuil. Le vent souffle, il fait froid\u00A0!"_s,
};

// Measures, in the page shown, the words that the aid cut with dashes: how
// many there are, kept whole or only marked, and how many of them run over
// more than one line.
const QString MeasureScript = uR"(
(function () {
  var words = document.querySelectorAll('span[style="white-space:nowrap"], span.mot');
  var kept = document.querySelectorAll('span[style="white-space:nowrap"]').length;
  var cut = 0;
  words.forEach(function (w) { if (w.getClientRects().length !== 1) ++cut; });
  return JSON.stringify({words: words.length, kept: kept, cut: cut, width: window.innerWidth});
})()
)"_s;


struct Measure
{
    int words = -1;
    int kept = -1;
    int cut = -1;
    int width = -1;
};

class DashedWords : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const QString &name : {u"style.css"_s, u"fond.jpg"_s})
            ASSERT_TRUE(QFile::copy(Reserve + name, dir.filePath(name)));
        plain = import::documentLines(workspace::readLines(Reserve + u"entete.html"_s), u"logo.jpg"_s, Text,
                                      workspace::readLines(Reserve + u"FinFichier.html"_s));
    }

    // Writes the document and shows it in a view of that width.
    void show(const QString &name, const QStringList &lines, int width)
    {
        const QString path = dir.filePath(name);
        workspace::writeLines(path, lines);
        bool loaded = false;
        QObject::connect(view.page(), &QWebEnginePage::loadFinished, &view, [&loaded](bool) { loaded = true; },
                         Qt::SingleShotConnection);
        view.resize(width, 900);
        view.show();
        view.load(QUrl::fromLocalFile(path));
        ASSERT_TRUE(waitFor([&] { return loaded; }));
    }

    Measure measure(int width)
    {
        view.resize(width, 900);
        Measure m;
        // Measured once the page has the view's width.
        const bool laidOut = waitFor([&] {
            bool answered = false;
            view.page()->runJavaScript(MeasureScript, [&](const QVariant &result) {
                const QJsonObject o = QJsonDocument::fromJson(result.toString().toUtf8()).object();
                m = {o[u"words"_s].toInt(-1), o[u"kept"_s].toInt(-1), o[u"cut"_s].toInt(-1),
                     o[u"width"_s].toInt(-1)};
                answered = true;
            });
            waitFor([&] { return answered; }, 5000);
            return m.width == width;
        });
        EXPECT_TRUE(laidOut) << "the page is " << m.width << " px wide";
        return m;
    }

    // The text of a PDF of the page shown, printed on a narrow paper.
    QStringList printedLines(const QString &name)
    {
        const QString pdf = dir.filePath(name + u".pdf"_s);
        bool printed = false;
        QObject::connect(view.page(), &QWebEnginePage::pdfPrintingFinished, &view,
                         [&printed](const QString &, bool ok) { printed = ok; }, Qt::SingleShotConnection);
        const QPageLayout narrow(QPageSize(QSizeF(80, 200), QPageSize::Millimeter), QPageLayout::Portrait,
                                 QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        view.page()->printToPdf(pdf, narrow);
        EXPECT_TRUE(waitFor([&] { return printed; })) << "no PDF";
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s});
        EXPECT_TRUE(pdftotext.waitForFinished(20000) && pdftotext.exitCode() == 0)
            << pdftotext.readAllStandardError().toStdString();
        QStringList lines;
        for (const QString &line : QString::fromUtf8(pdftotext.readAllStandardOutput()).split(u'\n')) {
            if (!line.trimmed().isEmpty())
                lines.append(line.trimmed());
        }
        return lines;
    }

    QTemporaryDir dir;
    QStringList plain;
    QWebEngineView view;
};

// The lines of an aid's document as the aid wrote them before it kept words
// whole: for the line breaking, the same as without a span at all; the span
// left, with no style, tells the page which words the aid cut.
QStringList withoutKeptWords(QStringList lines)
{
    for (QString &line : lines)
        line.replace(readingaids::wholeWordOpening.toString(), uR"(<span class="mot">)"_s);
    return lines;
}

// Lines of a PDF's text that end with a dash: the word went on on the next
// line. The text's own "grand-mère" and "vas-tu" may break there, and the
// border cells hold dashes alone.
QStringList brokenAtADash(const QStringList &lines)
{
    QStringList broken;
    for (const QString &line : lines) {
        const bool dashesAlone = QString(line).remove(u'-').isEmpty();
        if (line.endsWith(u'-') && !dashesAlone && !line.endsWith(u"grand-"_s) && !line.endsWith(u"vas-"_s))
            broken.append(line);
    }
    return broken;
}

TEST_F(DashedWords, StayWholeOnScreenWhereTheyBrokeWithoutTheirMarkup)
{
    QList<BodyAid> aids = {BodyAid::Tirets, BodyAid::Muettes};
    if (readingaids::entenduAvailability())
        aids.append(BodyAid::TiretsEntendu);
    const QList<int> widths = {260, 320, 400, 520};
    for (const BodyAid aid : aids) {
        SCOPED_TRACE(int(aid));
        const QStringList aided = readingaids::writeBodyAid(plain, aid);
        int plainCuts = 0;
        show(u"aide.html"_s, aided, widths.first());
        for (const int width : widths) {
            SCOPED_TRACE(width);
            const Measure m = measure(width);
            EXPECT_GT(m.words, 5);
            EXPECT_EQ(m.kept, m.words);
            EXPECT_EQ(m.cut, 0) << "a word the aid cut runs over two lines";
        }
        show(u"avant.html"_s, withoutKeptWords(aided), widths.first());
        for (const int width : widths) {
            const Measure m = measure(width);
            EXPECT_EQ(m.kept, 0);
            EXPECT_GT(m.words, 5);
            plainCuts += m.cut;
        }
        EXPECT_GT(plainCuts, 0) << "the widths tried broke no word without the mark-up either";
    }
}

TEST_F(DashedWords, StayWholeInAPrintedPdf)
{
    const QStringList aided = readingaids::writeBodyAid(plain, BodyAid::Tirets);
    show(u"aide.html"_s, aided, 800);
    const QStringList printed = printedLines(u"aide"_s);
    ASSERT_FALSE(printed.isEmpty());
    EXPECT_EQ(brokenAtADash(printed), QStringList()) << visible(printed.join(u'|'));
    EXPECT_TRUE(printed.join(u' ').contains(u"pro-fon-de"_s)) << visible(printed.join(u'|'));

    show(u"avant.html"_s, withoutKeptWords(aided), 800);
    EXPECT_NE(brokenAtADash(printedLines(u"avant"_s)), QStringList()) << "the paper is wide enough to break nothing";
}

// The aids that put no dash in (colours, sentences, a sound) carry no such
// mark-up; the silent letters keep the marks and no-break spaces after it.
TEST_F(DashedWords, OnlyTheDashedAidsCarryTheMarkup)
{
    for (const BodyAid aid : {BodyAid::Couleurs, BodyAid::Phrases, BodyAid::Son}) {
        const QStringList output = readingaids::writeBodyAid(plain, aid, u"ou");
        EXPECT_FALSE(output.join(u'\n').contains(readingaids::wholeWordOpening)) << int(aid);
    }
    const QString body = readingaids::writeBodyAid(plain, BodyAid::Muettes).join(u'\n');
    EXPECT_TRUE(body.contains(uR"(<span style="white-space:nowrap">ven--t</span> souffle, )"_s)) << visible(body);
    EXPECT_TRUE(body.contains(uR"(<span style="white-space:nowrap">froi--d</span>)"_s + u"\u00A0!"_s)) << visible(body);
}

} // namespace
