// The tablet's page with "Lecture à voix haute", fetched over http and played
// in the real web engine (headless; no sound card here, the engine's audio
// goes to its null output): the lit word is the word of the cue in force.
#include "cues.h"
#include "layout/lecture.h"
#include "readingaids/speech.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineSettings>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using cuetest::TimedCue, cuetest::cuesOf, cuetest::cueAt;

namespace {

class LecturePage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(readingaids::Pronouncer::process().available());
        cheminW = dir.path() + u"/"_s;
        workspace::writeLines(cheminW + u"conte.html"_s,
                              {u"<html><head><meta charset=\"windows-1252\"></head><body><p>"_s, u"<!--DEBUT-->"_s,
                               u"<img src=\"conte.jpg\">"_s,
                               u"Le <b>petit</b> loup gris court dans la forêt.<br>"_s,
                               u"L’écureuil lui dit&nbsp;: «&nbsp;Où vas-tu, M. Loup&nbsp;?&nbsp;»<br>"_s,
                               u"Il a 1 000 pas à faire, etc.<br>"_s, u"<!--FIN-->"_s, u"</p></body></html>"_s});
        // A local http server of the folder, as the host serves it.
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
        probe.close();
        server.start(u"python3"_s, {u"-m"_s, u"http.server"_s, QString::number(port), u"--bind"_s, u"127.0.0.1"_s,
                                    u"--directory"_s, dir.path()});
        ASSERT_TRUE(server.waitForStarted());
        page.settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    }

    void TearDown() override
    {
        server.kill();
        server.waitForFinished();
    }

    QJsonObject run(const QString &script)
    {
        QJsonObject answer;
        bool done = false;
        page.runJavaScript(u"JSON.stringify((function(){ %1 })())"_s.arg(script), [&](const QVariant &result) {
            answer = QJsonDocument::fromJson(result.toString().toUtf8()).object();
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 5000));
        return answer;
    }

    bool load(const QString &name)
    {
        bool loaded = false;
        const auto connection = QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool ok) { loaded = ok; });
        // The server may still be starting.
        for (int attempt = 0; attempt < 50 && !loaded; ++attempt) {
            page.load(QUrl(u"http://127.0.0.1:%1/%2"_s.arg(port).arg(name)));
            QTest::qWaitFor([&] { return loaded; }, 2000);
        }
        QObject::disconnect(connection);
        return loaded && QTest::qWaitFor([&] {
            return run(u"return {ok: document.readyState === 'complete' && !!document.body && !!document.querySelector('img')};"_s)
                .value(u"ok"_s)
                .toBool();
        });
    }

    // The text of the document as the page holds it: from its start marker
    // to its end marker.
    QString shownText()
    {
        return run(u"var w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT | NodeFilter.SHOW_COMMENT); "
                   "var text = '', inside = false; "
                   "for (var n = w.nextNode(); n; n = w.nextNode()) { "
                   "  if (n.nodeType === Node.COMMENT_NODE) inside = n.data === 'DEBUT' ? true : n.data === 'FIN' ? false : inside; "
                   "  else if (inside) text += n.data; } "
                   "return {text: text};"_s)
            .value(u"text"_s)
            .toString();
    }

    // The audio paused, its time and the word lit then.
    QJsonObject pausedMoment()
    {
        run(u"document.getElementById('tessavo-lecture-son').pause(); return {};"_s);
        QTest::qWait(150);
        return run(u"var a = document.getElementById('tessavo-lecture-son'); "
                   "var lit = Array.from(document.querySelectorAll('.tessavo-lu')).map(s => s.textContent).join(''); "
                   "return {t: a.currentTime, lit: lit, paused: a.paused};"_s);
    }

    QTemporaryDir dir;
    QString cheminW;
    QProcess server;
    quint16 port = 0;
    QWebEnginePage page;
};

TEST_F(LecturePage, LightsTheWordOfTheCueInForceAndReadsFromATappedWord)
{
    ASSERT_TRUE(load(u"conte.html"_s));
    const QString without = shownText();
    ASSERT_TRUE(without.contains(u"Le petit loup"_s)) << visible(without);

    layout::prepareLecture(cheminW, {true, readingaids::SpeechSpeed::Normale}, readingaids::Pronouncer::process());
    const layout::ScriptLinesForPublication published(cheminW); // the document as the host has it
    ASSERT_TRUE(load(u"conte.html"_s));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return run(u"return {ready: !!document.getElementById('tessavo-lecture')};"_s).value(u"ready"_s).toBool(); },
        10000));
    EXPECT_EQ(shownText(), without);
    QFile vttFile(cheminW + u"conte.vtt"_s);
    ASSERT_TRUE(vttFile.open(QIODevice::ReadOnly));
    const QList<TimedCue> cues = cuesOf(QString::fromUtf8(vttFile.readAll()));
    ASSERT_EQ(cues.size(), 23);
    // Every word of the text is in a span of its cue, a tap target.
    const QJsonObject marked = run(
        u"var n = {}; document.querySelectorAll('.tessavo-mot').forEach(s => n[s.dataset.cue] = (n[s.dataset.cue] || '') + s.textContent); "
        "return n;"_s);
    for (qsizetype k = 0; k < cues.size(); ++k)
        EXPECT_EQ(marked.value(QString::number(k)).toString(), cues[k].text) << k;

    // Played from the button: at 20 moments, the lit word is the cue's.
    run(u"document.getElementById('tessavo-lecture').click(); return {};"_s);
    int checked = 0;
    for (int moment = 0; moment < 20; ++moment) {
        QTest::qWait(250);
        const QJsonObject now = pausedMoment();
        ASSERT_TRUE(now.value(u"paused"_s).toBool());
        const double t = now.value(u"t"_s).toDouble();
        if (t >= cues.last().end)
            break;
        EXPECT_GT(t, 0.0);
        EXPECT_EQ(now.value(u"lit"_s).toString(), cueAt(cues, t)) << "t=" << t;
        ++checked;
        run(u"document.getElementById('tessavo-lecture-son').play(); return {};"_s);
    }
    EXPECT_GE(checked, 15);
    RecordProperty("moments", checked);

    // A tap on "1 000": the reading goes on from there.
    const qsizetype thousand = std::find_if(cues.cbegin(), cues.cend(), [](const TimedCue &c) { return c.text == u"1 000"; })
        - cues.cbegin();
    ASSERT_LT(thousand, cues.size());
    run(u"document.querySelector('.tessavo-mot[data-cue=\"%1\"]').click(); return {};"_s.arg(thousand));
    QTest::qWait(200);
    const QJsonObject tapped = pausedMoment();
    const double t = tapped.value(u"t"_s).toDouble();
    EXPECT_GE(t, cues[thousand].start);
    EXPECT_LT(t, cues[thousand].start + 1.0);
    EXPECT_EQ(tapped.value(u"lit"_s).toString(), cueAt(cues, t)) << "t=" << t;
}

} // namespace
