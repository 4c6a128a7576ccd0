// "Écouter" on the layout screen, in the real web engine (headless; no sound
// card here, the engine's audio goes to its null output): the word lit is the
// word of the cue in force, the text does not move, "Pause" and "Reprendre",
// a click on a word reads from there, and the reading stops when the view
// shows the document anew. The document's bytes never change.
#include "cues.h"
#include "fakeplatform.h"
#include "layout/Vitrine_test.h"
#include "layoutfolder.h"
#include "platform/enginewebview.h"
#include "platform/platform.h"
#include "workingfolder.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using cuetest::TimedCue, cuetest::cuesOf, cuetest::cueAt;
using layouttest::Screens;
using layouttest::StudentFolder;

namespace {

class Ecouter : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::Platform real = platform::services();
        real.webViews = platform::desktopPlatform().webViews;
        m_previous = platform::install(real);
    }
    void TearDown() override { platform::install(m_previous); }

    QJsonObject run(const QString &body)
    {
        QJsonObject answer;
        bool done = false;
        page->runJavaScript(u"JSON.stringify((function(){ %1 })())"_s.arg(body), QWebEngineScript::ApplicationWorld,
                            [&](const QVariant &result) {
                                answer = QJsonDocument::fromJson(result.toString().toUtf8()).object();
                                done = true;
                            });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
        return answer;
    }

    bool until(const QString &condition, int ms = 10000)
    {
        return QTest::qWaitFor([&] { return run(u"return {ok: !!(%1)};"_s.arg(condition)).value(u"ok"_s).toBool(); },
                               ms);
    }

    // Paused: the audio's time, the word lit, and where the text lies.
    QJsonObject pausedMoment()
    {
        run(u"window.tessavoLu.pause(); return {};"_s);
        QTest::qWait(120);
        return run(u"var a = window.tessavoLu; "
                   "var lit = Array.from(document.querySelectorAll('.tessavo-lu')).map(s => s.textContent).join(''); "
                   "return {t: a.currentTime, lit: lit, src: a.src, paused: a.paused};"_s);
    }

    QString textPlace()
    {
        return run(u"var r = document.createRange(); r.selectNodeContents(document.body); "
                   "var b = r.getBoundingClientRect(); return {p: [b.x, b.y, b.width, b.height].join(',')};"_s)
            .value(u"p"_s)
            .toString();
    }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
    StudentFolder student{folder};
    QWebEnginePage *page = nullptr;

private:
    platform::Platform m_previous;
};

TEST_F(Ecouter, LightsTheSpokenWordAndReadsFromAClickedOne)
{
    const QByteArray document = bytesOf(student.document);
    Screens screens(student);
    TForm1 *screen = screens.openLayout();
    auto *view = screen->WebBrowser1->findChild<QWebEngineView *>();
    ASSERT_TRUE(view);
    page = view->page();
    ASSERT_TRUE(until(u"document.readyState === 'complete' && document.body && document.body.textContent.includes('chat')"_s));
    ASSERT_TRUE(screen->Ecouter->isEnabled());
    EXPECT_FALSE(screen->PauseLecture->isEnabled());
    const QString place = textPlace();
    const QStringList filesBefore = QDir(student.cheminW).entryList(QDir::Files); // the opening's backup among them

    screen->Ecouter->click();
    ASSERT_TRUE(until(u"window.tessavoLu && !window.tessavoLu.paused && window.tessavoLu.currentTime > 0"_s));
    EXPECT_TRUE(screen->PauseLecture->isEnabled());
    QJsonObject now = pausedMoment();
    const QString vttPath = QUrl(now.value(u"src"_s).toString()).toLocalFile().chopped(4) + u".vtt"_s;
    const QList<TimedCue> cues = cuesOf(QString::fromUtf8(bytesOf(vttPath)));
    ASSERT_EQ(cues.size(), 32);
    EXPECT_FALSE(vttPath.startsWith(student.cheminW));

    int checked = 0;
    for (int moment = 0; moment < 10; ++moment) {
        run(u"window.tessavoLu.play(); return {};"_s);
        QTest::qWait(300);
        now = pausedMoment();
        const double t = now.value(u"t"_s).toDouble();
        if (t >= cues.last().end)
            break;
        EXPECT_EQ(now.value(u"lit"_s).toString(), cueAt(cues, t)) << "t=" << t;
        EXPECT_EQ(textPlace(), place) << "the lighting moves no text";
        ++checked;
    }
    EXPECT_GE(checked, 8);

    // "Pause" and "Reprendre".
    run(u"window.tessavoLu.play(); return {};"_s);
    ASSERT_TRUE(until(u"!window.tessavoLu.paused"_s));
    screen->PauseLecture->click();
    ASSERT_TRUE(until(u"window.tessavoLu.paused"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->PauseLecture->text() == u"Reprendre"_s; }, 3000));
    screen->PauseLecture->click();
    ASSERT_TRUE(until(u"!window.tessavoLu.paused"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->PauseLecture->text() == u"Pause"_s; }, 3000));

    // A click on "oiseaux" reads from there.
    const qsizetype k = std::find_if(cues.cbegin(), cues.cend(), [](const TimedCue &c) { return c.text == u"oiseaux"; })
        - cues.cbegin();
    ASSERT_LT(k, cues.size());
    run(u"document.querySelector('.tessavo-mot[data-cue=\"%1\"]').click(); return {};"_s.arg(k));
    QTest::qWait(150);
    now = pausedMoment();
    EXPECT_GE(now.value(u"t"_s).toDouble(), cues[k].start);
    EXPECT_LT(now.value(u"t"_s).toDouble(), cues[k].start + 1.0);
    EXPECT_EQ(now.value(u"lit"_s).toString(), cueAt(cues, now.value(u"t"_s).toDouble()));

    // The view shows the document anew: the reading stops.
    run(u"window.tessavoLu.play(); return {};"_s);
    ASSERT_TRUE(until(u"!window.tessavoLu.paused"_s));
    screen->Rafraichir();
    EXPECT_FALSE(screen->PauseLecture->isEnabled());
    ASSERT_TRUE(until(u"document.readyState === 'complete' && !window.tessavoLu && !document.querySelector('audio')"_s));

    EXPECT_EQ(bytesOf(student.document), document);
    EXPECT_EQ(QDir(student.cheminW).entryList(QDir::Files), filesBefore);
}

} // namespace
