// The layout screen in the real web engine: after each command and its one
// load, the computed style of the document's text shows the change, and
// OpenDyslexic is really the face in use.
#include "fakeplatform.h"
#include "layout/Vitrine_test.h"
#include "layoutfolder.h"
#include "platform/eventrules.h"
#include "platform/platform.h"
#include "workingfolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

// The computed style of the text cell, the width of one sentence in the
// cell's face and in the generic sans-serif face, and the page's width.
const QString StyleScript = uR"(
(function () {
  var td = document.querySelector('td.texte');
  var s = getComputedStyle(td);
  var m = document.createElement('span');
  m.textContent = 'le petit chat est monte sur le toit de la maison';
  m.style.whiteSpace = 'nowrap';
  m.style.letterSpacing = '0px';
  m.style.wordSpacing = '0px';
  m.style.textTransform = 'none';
  td.appendChild(m);
  var own = m.getBoundingClientRect().width;
  m.style.fontFamily = 'sans-serif';
  var generic = m.getBoundingClientRect().width;
  m.style.fontFamily = 'OpenDyslexic';
  var installed = m.getBoundingClientRect().width;
  td.removeChild(m);
  return JSON.stringify({fontSize: s.fontSize, lineHeight: s.lineHeight, wordSpacing: s.wordSpacing,
                         letterSpacing: s.letterSpacing, textTransform: s.textTransform,
                         textDecoration: s.textDecorationLine, fontFamily: s.fontFamily,
                         ownWidth: own, genericWidth: generic, installedWidth: installed, pageWidth: window.innerWidth});
})()
)"_s;

class Rendering : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::Platform real = platform::services();
        real.webViews = platform::desktopPlatform().webViews;
        m_previous = platform::install(real);
    }
    void TearDown() override { platform::install(m_previous); }

    // Waits for the web view's next load to finish and returns the style.
    QJsonObject afterLoad(TForm1 *screen)
    {
        QWebEngineView *engine = screen->WebBrowser1->findChild<QWebEngineView *>();
        EXPECT_TRUE(engine);
        if (!engine)
            return {};
        if (!m_connected) {
            QObject::connect(engine, &QWebEngineView::loadFinished, engine, [this](bool ok) {
                ++loadsFinished;
                EXPECT_TRUE(ok);
            });
            m_connected = true;
        }
        ++loadsExpected;
        QEventLoop loop;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(20);
        for (int waited = 0; loadsFinished < loadsExpected && waited < 15000; waited += 20)
            loop.exec();
        EXPECT_EQ(loadsFinished, loadsExpected) << "one load per command";
        QJsonObject style;
        bool done = false;
        engine->page()->runJavaScript(StyleScript, [&](const QVariant &result) {
            style = QJsonDocument::fromJson(result.toString().toUtf8()).object();
            done = true;
        });
        for (int waited = 0; !done && waited < 5000; waited += 20)
            loop.exec();
        return style;
    }

    fakes::Platform fakes;
    fakes::WorkingFolder folder;
    int loadsFinished = 0;
    int loadsExpected = 0;

private:
    platform::Platform m_previous;
    bool m_connected = false;
};

TEST_F(Rendering, EveryCommandChangesTheComputedStyleOfTheText)
{
    const layouttest::StudentFolder student(folder);
    layouttest::Screens screens(student);
    TForm1 *screen = screens.openLayout();

    QJsonObject style = afterLoad(screen);
    EXPECT_EQ(style[u"fontSize"].toString(), u"24px"_s);
    EXPECT_EQ(style[u"lineHeight"].toString(), u"45px"_s);
    EXPECT_EQ(style[u"wordSpacing"].toString(), u"10px"_s);

    screen->Button2->click(); // "+Taille"
    style = afterLoad(screen);
    EXPECT_EQ(style[u"fontSize"].toString(), u"26.4px"_s);
    screen->Button4->click(); // "+ EspaceL"
    EXPECT_EQ(afterLoad(screen)[u"lineHeight"].toString(), u"50px"_s);
    screen->Button6->click(); // "+EspaceM"
    EXPECT_EQ(afterLoad(screen)[u"wordSpacing"].toString(), u"15px"_s);
    screen->Button11->click(); // "+EcartLettres"
    EXPECT_EQ(afterLoad(screen)[u"letterSpacing"].toString(), u"1px"_s);
    screen->CheckBox1->click(); // "Majuscule"
    EXPECT_EQ(afterLoad(screen)[u"textTransform"].toString(), u"uppercase"_s);

    screen->Arial->click();
    style = afterLoad(screen);
    EXPECT_TRUE(style[u"fontFamily"].toString().startsWith(u"Arial"_s)) << style[u"fontFamily"].toString().toStdString();
    const double arialWidth = style[u"ownWidth"].toDouble();
    screen->Dysfont->click(); // "DysfontOpen"
    style = afterLoad(screen);
    EXPECT_TRUE(style[u"fontFamily"].toString().startsWith(u"OpenDyslexic-Regular"_s))
        << style[u"fontFamily"].toString().toStdString();
    const double dysWidth = style[u"ownWidth"].toDouble();
    // The sentence takes the room it takes in the installed OpenDyslexic face,
    // clearly more than in the fallback face and in Arial: the face is really
    // in use, not only named.
    EXPECT_NEAR(dysWidth, style[u"installedWidth"].toDouble(), 0.5);
    EXPECT_GT(dysWidth, 1.05 * style[u"genericWidth"].toDouble());
    EXPECT_GT(dysWidth, 1.05 * arialWidth);

    screen->souligne->click(); // "Souligne"
    EXPECT_EQ(afterLoad(screen)[u"textDecoration"].toString(), u"underline"_s);
    screen->Surligne->click(); // "LigneAudessus"
    EXPECT_EQ(afterLoad(screen)[u"textDecoration"].toString(), u"underline overline"_s);

    // The width track bar: the view narrows while it moves, the page follows
    // at the save when the pointer leaves.
    const QRect before = screen->WebBrowser1->geometry();
    screen->TrackBar1->setValue(50);
    EXPECT_NE(screen->WebBrowser1->geometry(), before);
    EXPECT_EQ(screen->WebBrowser1->width(), 683);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(screen->TrackBar1, &leave);
    style = afterLoad(screen);
    EXPECT_EQ(style[u"pageWidth"].toInt(), 683);

    // A hidden screen gives its page back; shown again, the page comes back.
    QWebEnginePage *page = screen->WebBrowser1->findChild<QWebEngineView *>()->page();
    screen->hide();
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(page->lifecycleState(), QWebEnginePage::LifecycleState::Discarded);
    screen->show();
    EXPECT_EQ(page->lifecycleState(), QWebEnginePage::LifecycleState::Active);
    EXPECT_EQ(afterLoad(screen)[u"fontFamily"].toString().startsWith(u"OpenDyslexic-Regular"_s), true);
}

} // namespace
