// The layout screen in the real web engine: after each command and its one
// load, the computed style of the document's text shows the change, and
// OpenDyslexic is really the face in use.
#include "eventwait.h"
#include "fakeplatform.h"
#include "layout/Vitrine_test.h"
#include "layout/scaling.h"
#include "layout/stylesheet.h"
#include "layoutfolder.h"
#include "platform/enginewebview.h"
#include "platform/eventrules.h"
#include "platform/platform.h"
#include "testfiles.h"
#include "workingfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QPrintDialog>
#include <QProcess>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <functional>
#include <memory>
#include <vector>

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

// The text of a PDF file as Debian's pdftotext reads it, blanks collapsed.
QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-enc"_s, u"UTF-8"_s, path, u"-"_s});
    if (!pdftotext.waitForFinished(20000) || pdftotext.exitCode() != 0)
        return u"<pdftotext failed: %1>"_s.arg(QString::fromUtf8(pdftotext.readAllStandardError()));
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
}

// Shows the page in a view of 400 x 300; true once it has loaded.
bool showLoaded(platform::EngineWebView &view, const QString &page)
{
    view.resize(400, 300);
    view.show();
    bool loaded = false;
    const QMetaObject::Connection watch =
        QObject::connect(view.engine(), &QWebEngineView::loadFinished, &view, [&](bool ok) { loaded = ok; });
    view.navigate(QUrl::fromLocalFile(page));
    const bool shown = waitFor([&] { return loaded; });
    QObject::disconnect(watch);
    return shown;
}

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

    // Waits until the web view shows its files again (a load finished, or a
    // reload in place) and returns the style.
    QJsonObject afterLoad(TForm1 *screen)
    {
        auto *view = qobject_cast<platform::EngineWebView *>(screen->WebBrowser1);
        EXPECT_TRUE(view);
        if (!view)
            return {};
        if (!m_connected) {
            QObject::connect(view, &platform::EngineWebView::pageShown, view, [this](bool ok, bool inPlace) {
                ++loadsFinished;
                inPlaceShown += inPlace;
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
        return run(view->engine(), StyleScript);
    }

    // The layout screen's view once its first page is shown; null when the
    // view is not the web engine's.
    platform::EngineWebView *shownView(TForm1 *screen)
    {
        afterLoad(screen);
        return qobject_cast<platform::EngineWebView *>(screen->WebBrowser1);
    }

    // A script's answer, read as JSON, in the program's own world.
    static QJsonObject run(QWebEngineView *engine, const QString &script)
    {
        QJsonObject answer;
        bool done = false;
        engine->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant &result) {
            answer = QJsonDocument::fromJson(result.toString().toUtf8()).object();
            done = true;
        });
        waitFor([&] { return done; }, 5000);
        return answer;
    }

    fakes::Platform fakes;
    fakes::WorkingFolder folder;
    int loadsFinished = 0;
    int loadsExpected = 0;
    int inPlaceShown = 0;

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

// What the page shows: its whole markup, and for every element of the body
// the computed style that the commands change and the box it is laid out in.
const QString ShownScript = uR"(
(function () {
  var props = ['color', 'backgroundColor', 'fontSize', 'fontFamily', 'fontWeight', 'lineHeight', 'wordSpacing',
               'letterSpacing', 'textTransform', 'textDecorationLine', 'borderLeftColor', 'backgroundImage', 'display'];
  var elements = Array.from(document.body.querySelectorAll('*'));
  elements.unshift(document.body);
  var styles = elements.map(function (e) {
    var s = getComputedStyle(e), r = e.getBoundingClientRect();
    return e.localName + ' ' + props.map(function (p) { return s[p]; }).join('|') + ' @' +
           [r.left, r.top, r.width, r.height].map(Math.round).join(',');
  });
  return JSON.stringify({markup: document.documentElement.outerHTML, styles: styles.join('\n'),
                         height: document.documentElement.scrollHeight});
})()
)"_s;

// After each command the layout screen's view is updated in place; what it
// then shows is what a fresh load of the files written shows.
TEST_F(Rendering, AnUpdateInPlaceShowsWhatAFreshLoadOfTheFilesShows)
{
    const layouttest::StudentFolder student(folder);
    layouttest::Screens screens(student);
    TForm1 *screen = screens.openLayout();
    platform::EngineWebView *view = shownView(screen);
    ASSERT_TRUE(view);

    platform::EngineWebView fresh(nullptr);
    fresh.resize(view->size());
    fresh.show();
    int freshLoads = 0;
    QObject::connect(&fresh, &platform::EngineWebView::pageShown, &fresh, [&](bool ok, bool) { freshLoads += ok; });

    struct Step
    {
        const char *name;
        std::function<void()> command;
    };
    const std::vector<Step> steps = {
        {"+Taille", [&] { screen->Button2->click(); }},
        {"Syllabes en couleurs", [&] { screen->CheckBox2->click(); }},
        {"+ EspaceL", [&] { screen->Button4->click(); }},
        {"son « o »", [&] { screen->Edit6->setText(u"o"_s); }},
        {"Bord vert/rouge", [&] { screen->CheckBox4->click(); }},
        {"Surlignement", [&] { screen->CheckBox3->click(); }},
        {"Arial", [&] { screen->Arial->click(); }},
        {"Phrases en couleurs", [&] { screen->CheckBox9->click(); }},
        {"Majuscule", [&] { screen->CheckBox1->click(); }},
        {"Lettres muettes", [&] { screen->CheckBox8->click(); }},
        {"Syllabes tirets", [&] { screen->CheckBox6->click(); }},
        {"Syllabes tirets ôtées", [&] { screen->CheckBox6->click(); }},
        // The second letter typed while the first one is being marked: each
        // keystroke writes its files, and the page is updated once, to the
        // files as the second one left them.
        {"son « ou » tapé d'un trait", [&] {
             screen->Edit6->setText(u"o"_s);
             screen->Edit6->setText(u"ou"_s);
         }},
    };
    QString previous;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        const int inPlaceBefore = inPlaceShown;
        step.command();
        afterLoad(screen);
        EXPECT_EQ(inPlaceShown, inPlaceBefore + 1) << "updated in place";
        const QJsonObject shown = run(view->engine(), ShownScript);

        const int before = freshLoads;
        fresh.navigate(view->address());
        ASSERT_TRUE(waitFor([&] { return freshLoads > before; }));
        const QJsonObject loaded = run(fresh.engine(), ShownScript);
        EXPECT_EQ(shown[u"markup"].toString(), loaded[u"markup"].toString());
        EXPECT_EQ(shown[u"styles"].toString(), loaded[u"styles"].toString());
        EXPECT_EQ(shown[u"height"].toInt(), loaded[u"height"].toInt());
        // Each command changed what is shown.
        EXPECT_NE(shown[u"markup"].toString() + shown[u"styles"].toString(), previous);
        previous = shown[u"markup"].toString() + shown[u"styles"].toString();
    }
    waitFor([] { return false; }, 500); // room for a late second update
    EXPECT_EQ(loadsFinished, loadsExpected) << "the two keystrokes shown by one update";
}

TEST_F(Rendering, TheRightClickMenuIsFrenchAndSavesThePageAsPdf)
{
    const layouttest::StudentFolder student(folder);
    layouttest::Screens screens(student);
    TForm1 *screen = screens.openLayout();
    platform::EngineWebView *view = shownView(screen);
    ASSERT_TRUE(view);

    // A right click on the page, as the teacher makes it.
    QWidget *page = view->engine()->focusProxy();
    ASSERT_TRUE(page);
    QTest::mouseClick(page, Qt::RightButton, {}, QPoint(400, 200));
    ASSERT_TRUE(waitFor([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }))
        << "no menu";
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QStringList entries;
    QAction *pdf = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        entries.append(action->text());
        if (action->text() == u"Enregistrer en PDF…"_s)
            pdf = action;
    }
    // On a word, the menu first offers to correct its cut.
    if (!entries.isEmpty() && entries.first().startsWith(u"Corriger la coupe de « "_s)) {
        EXPECT_TRUE(entries.first().endsWith(u" »…"_s)) << entries.first().toStdString();
        std::printf("right-click entry: %s\n", qPrintable(entries.takeFirst()));
    }
    EXPECT_EQ(entries, (QStringList{u"Copier"_s, u"Tout sélectionner"_s, u"Imprimer…"_s, u"Enregistrer en PDF…"_s}));
    ASSERT_TRUE(pdf);

    // The name typed without its extension.
    const QString chosen = student.cheminW + u"conte imprimé"_s;
    fakes.fileDialogs.saveAnswers = {chosen};
    int printed = 0;
    QObject::connect(view, &platform::EngineWebView::printed, view, [&](bool ok) {
        ++printed;
        EXPECT_TRUE(ok);
    });
    pdf->trigger();
    menu->close();
    ASSERT_EQ(fakes.fileDialogs.saveRequests.size(), 1);
    const platform::FileDialogRequest request = fakes.fileDialogs.saveRequests[0];
    EXPECT_EQ(request.filter, u"Fichiers PDF (*.pdf)|*.pdf"_s);
    EXPECT_EQ(QDir(request.initialFolder), QDir(student.cheminW));
    EXPECT_EQ(request.fileName, u"conte à lire.pdf"_s);
    ASSERT_TRUE(waitFor([&] { return printed > 0; })) << "the PDF never came";

    const QString text = pdfText(chosen + u".pdf"_s);
    EXPECT_TRUE(text.contains(u"Il regarde les oiseaux qui volent au-dessus des arbres."_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Quand la nuit tombe"_s)) << text.toStdString();
    EXPECT_TRUE(fakes.messages.shown.size() == 1) << "only the opening's message";
}

TEST_F(Rendering, PrintingGoesThroughTheSystemsPrintDialog)
{
    const layouttest::StudentFolder student(folder);
    layouttest::Screens screens(student);
    TForm1 *screen = screens.openLayout();
    platform::EngineWebView *view = shownView(screen);
    ASSERT_TRUE(view);

    // The printer that the dialog offers: a PDF file, as "Imprimer dans un fichier" gives.
    const QString output = student.cheminW + u"impression.pdf"_s;
    view->printer().setOutputFormat(QPrinter::PdfFormat);
    view->printer().setOutputFileName(output);
    bool dialogShown = false;
    QTimer::singleShot(0, view, [&] {
        waitFor([] { return qobject_cast<QPrintDialog *>(QApplication::activeModalWidget()); }, 5000);
        if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
            dialogShown = true;
            dialog->accept();
        }
    });
    int printed = 0;
    QObject::connect(view, &platform::EngineWebView::printed, view, [&](bool ok) {
        ++printed;
        EXPECT_TRUE(ok);
    });
    std::unique_ptr<QMenu> menu(view->createContextMenu(view));
    QAction *print = menu->actions().value(3);
    ASSERT_EQ(print->text(), u"Imprimer…"_s);
    print->trigger();
    EXPECT_TRUE(dialogShown);
    ASSERT_TRUE(waitFor([&] { return printed > 0; })) << "the print never ended";
    // The printer receives the page drawn, not its text: the page as
    // pdftoppm paints it shows the document (its borders, logo and lines).
    QProcess pdftoppm;
    pdftoppm.start(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"40"_s, u"-singlefile"_s, output, output});
    ASSERT_TRUE(pdftoppm.waitForFinished(20000) && pdftoppm.exitCode() == 0) << pdftoppm.readAllStandardError().constData();
    const QImage drawn(output + u".png"_s);
    ASSERT_FALSE(drawn.isNull());
    qsizetype inked = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x)
            inked += qGray(drawn.pixel(x, y)) < 200;
    }
    EXPECT_GT(inked, drawn.width() * drawn.height() / 50) << "a blank page";
}


// A page in the program's web view is a student's document, which anyone may
// have written: none of its scripts runs (inline, in a handler, on a timer),
// while the program's own scripts still read the page.
TEST_F(Rendering, ADocumentsScriptsNeverRunAndTheProgramsOwnDo)
{
    const QTemporaryDir dir;
    const QString page = dir.path() + u"/conte.html"_s;
    writeFile(page, "<html><head><title>avant</title></head><body>"
                    "<script>document.title = 'script'; document.body.setAttribute('data-ran', 'inline');</script>"
                    "<img src=\"absente.png\" onerror=\"document.title = 'handler'\">"
                    "<p>Le loup.</p></body></html>");
    platform::EngineWebView view(nullptr);
    ASSERT_TRUE(showLoaded(view, page));
    waitFor([] { return false; }, 300); // room for a handler or a timer to fire

    QString seen;
    view.engine()->page()->runJavaScript(
        u"document.title + '|' + document.body.getAttribute('data-ran') + '|' + document.querySelector('p').textContent"_s,
        QWebEngineScript::ApplicationWorld, [&](const QVariant &result) { seen = result.toString(); });
    ASSERT_TRUE(waitFor([&] { return !seen.isEmpty(); }));
    EXPECT_EQ(seen, u"avant|null|Le loup."_s);
}

// A page without a style sheet is updated in place too, and the body put in
// place runs none of its scripts.
TEST_F(Rendering, AReloadInPlaceOfAPageWithoutStyleSheetRunsNoScript)
{
    const QTemporaryDir dir;
    const QString page = dir.path() + u"/conte.html"_s;
    writeFile(page, "<html><head><title>avant</title></head><body><p>Le loup.</p></body></html>");
    platform::EngineWebView view(nullptr);
    view.resize(400, 300);
    view.show();
    int shown = 0, inPlace = 0;
    QObject::connect(&view, &platform::EngineWebView::pageShown, &view, [&](bool ok, bool updated) {
        shown += ok;
        inPlace += updated;
    });
    view.navigate(QUrl::fromLocalFile(page));
    ASSERT_TRUE(waitFor([&] { return shown == 1; }));
    writeFile(page, "<html><head><title>avant</title></head><body><p>Le loup et l'agneau.</p>"
                    "<img src=\"absente.png\" onerror=\"document.title = 'handler'\">"
                    "<script>document.title = 'script';</script></body></html>");
    view.reload();
    ASSERT_TRUE(waitFor([&] { return shown == 2; }));
    EXPECT_EQ(inPlace, 1);
    waitFor([] { return false; }, 300); // room for a handler to fire

    QString seen;
    view.engine()->page()->runJavaScript(u"document.title + '|' + document.body.textContent"_s,
                                         QWebEngineScript::ApplicationWorld,
                                         [&](const QVariant &result) { seen = result.toString(); });
    ASSERT_TRUE(waitFor([&] { return !seen.isEmpty(); }));
    EXPECT_EQ(seen, u"avant|Le loup et l'agneau.document.title = 'script';"_s);
}

} // namespace

namespace {

// A picture of one pixel, as a student's folder holds them.
QByteArray onePixelPng()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Remembers each address the engine fetches for its pages (the page's own
// guard, when it refuses one, stops it before).
class Fetched : public QWebEngineUrlRequestInterceptor
{
public:
    void interceptRequest(QWebEngineUrlRequestInfo &info) override { addresses.append(info.requestUrl()); }
    QList<QUrl> addresses;
};

} // namespace

// A student's document that anyone may have written: it shows the files of
// its own folder, fetches nothing else (no other file of the disk, nothing of
// the network, however its style is spelt) and never leaves by itself (a
// refresh, a frame, an object, an embed).
TEST_F(Rendering, ADocumentFetchesOnlyItsOwnFolderAndNeverLeavesByItself)
{
    QTcpServer outside;
    ASSERT_TRUE(outside.listen(QHostAddress::LocalHost));
    int connections = 0;
    QObject::connect(&outside, &QTcpServer::newConnection, &outside, [&] {
        while (QTcpSocket *socket = outside.nextPendingConnection()) {
            ++connections;
            socket->close();
        }
    });
    const QByteArray net = "http://127.0.0.1:" + QByteArray::number(outside.serverPort()) + "/";
    const QTemporaryDir dir;
    const QString pupil = dir.path() + u"/Dupont_Jean_x"_s;
    ASSERT_TRUE(QDir().mkpath(pupil));
    writeFile(pupil + u"/logo.png"_s, onePixelPng());
    writeFile(dir.path() + u"/secret.png"_s, onePixelPng());
    ASSERT_TRUE(QFile::link(dir.path() + u"/secret.png"_s, pupil + u"/lien.png"_s));
    writeFile(pupil + u"/autre.html"_s, "<html><body><img src=\"marque.png\">autre</body></html>");
    writeFile(pupil + u"/style.css"_s, "p { color: green; background: url(" + net + "sheet.png); }");
    const QString page = pupil + u"/conte.html"_s;
    writeFile(page, "<html><head><title>conte</title>"
                    "<link rel=\"stylesheet\" href=\"style.css\"><link rel=\"stylesheet\" href=\"" + net + "s.css\">"
                    "</head><body><p>Le loup.</p>"
                    "<span style=\"background:\\75 rl(" + net + "escape.png)\">a</span>"
                    "<span style=\"background:\\000075rl(" + net + "long.png)\">b</span>"
                    "<img id=\"own\" src=\"logo.png\"><img id=\"beside\" src=\"../secret.png\">"
                    "<img id=\"link\" src=\"lien.png\"><img id=\"net\" src=\"" + net + "img.png\">"
                    "<object data=\"autre.html\"></object><embed src=\"autre.html\"><iframe src=\"autre.html\"></iframe>"
                    "<object data=\"" + net + "o.html\"></object><embed src=\"" + net + "e.html\"></body></html>");
    const QString refresh = pupil + u"/rafraichi.html"_s;
    writeFile(refresh, "<html><head><meta http-equiv=\"refresh\" content=\"0; url=" + net + "ailleurs.html\">"
                       "</head><body><p>Le loup.</p></body></html>");
    Fetched fetched;
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&fetched);
    const auto restore = qScopeGuard([] { QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(nullptr); });

    platform::EngineWebView view(nullptr);
    view.resize(400, 300);
    view.show();
    int shown = 0;
    QObject::connect(&view, &platform::EngineWebView::pageShown, &view, [&](bool ok, bool) { shown += ok; });
    view.navigate(QUrl::fromLocalFile(page));
    ASSERT_TRUE(waitFor([&] { return shown == 1; }));
    waitFor([] { return false; }, 1000); // room for a frame or a late fetch
    QString seen;
    view.engine()->page()->runJavaScript(
        u"document.title + '|' + ['own', 'beside', 'link', 'net'].map(function (id) {"
        u"  return document.getElementById(id).naturalWidth; }).join(',')"
        u" + '|' + getComputedStyle(document.querySelector('p')).color"_s,
        QWebEngineScript::ApplicationWorld, [&](const QVariant &result) { seen = result.toString(); });
    ASSERT_TRUE(waitFor([&] { return !seen.isEmpty(); }));
    EXPECT_EQ(seen.toStdString(), "conte|1,0,0,0|rgb(0, 128, 0)") << "the own folder's picture and sheet only";
    for (const QUrl &address : std::as_const(fetched.addresses))
        EXPECT_NE(address.fileName(), u"marque.png"_s) << "autre.html was loaded in a frame";

    view.navigate(QUrl::fromLocalFile(refresh));
    ASSERT_TRUE(waitFor([&] { return shown == 2; }));
    waitFor([] { return false; }, 1000); // room for the refresh
    EXPECT_EQ(view.address().toString().toStdString(), QUrl::fromLocalFile(refresh).toString().toStdString());
    EXPECT_EQ(shown, 2) << "no load but the program's";
    EXPECT_EQ(connections, 0) << "nothing asked of the network";
}

namespace {

// The page's size in CSS pixels, the text's face and whether it is loaded.
const QString TabletScript = uR"(
(function () {
  var td = document.querySelector('td.texte');
  var loaded = false;
  document.fonts.forEach(function (f) {
    if (f.family.indexOf('OpenDyslexic-Regular') >= 0 && f.status === 'loaded') loaded = true;
  });
  return JSON.stringify({width: window.innerWidth, height: window.innerHeight,
                         family: getComputedStyle(td).fontFamily, loaded: loaded});
})()
)"_s;

} // namespace

// "Aperçu tablette": the page laid out at each tablet's size, in the font
// file that is published with it, and back at the teacher's size; nothing
// written, nothing loaded again.
TEST_F(Rendering, TheTabletPreviewLaysThePageOutAtTheTabletsSizeInThePublishedFont)
{
    const layouttest::StudentFolder student(folder);
    for (const QString &font : layout::publishedFontFiles())
        QFile::copy(QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/") + font, student.cheminW + font);
    fakes.display.pixels = {1366, 768};
    Fetched fetched;
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&fetched);
    const auto restore = qScopeGuard([] { QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(nullptr); });
    layouttest::Screens screens(student);
    TForm1 *screen = screens.openLayout();
    screen->show();
    platform::EngineWebView *view = shownView(screen);
    ASSERT_TRUE(view);
    const QSize teacher = view->size();
    const QByteArray css = bytesOf(student.cssPath());
    const QByteArray document = bytesOf(student.document);
    const int loads = loadsFinished;

    const auto shownAt = [&](QSize size) {
        QJsonObject shown;
        waitFor([&] {
            shown = run(view->engine(), TabletScript);
            return std::abs(shown[u"width"].toInt() - size.width()) <= 1
                && std::abs(shown[u"height"].toInt() - size.height()) <= 2;
        }, 10000);
        return shown;
    };
    for (qsizetype i = 0; i < layout::tabletSizes().size(); ++i) {
        const layout::TabletSize &tablet = layout::tabletSizes()[i];
        SCOPED_TRACE(tablet.caption.toStdString());
        screen->apercuTablette(int(i));
        const QJsonObject shown = shownAt(tablet.size);
        EXPECT_NEAR(shown[u"width"].toInt(), tablet.size.width(), 1);
        EXPECT_NEAR(shown[u"height"].toInt(), tablet.size.height(), 2);
        EXPECT_TRUE(shown[u"family"].toString().contains(u"OpenDyslexic-Regular"_s))
            << QJsonDocument(shown).toJson().toStdString();
        EXPECT_TRUE(shown[u"loaded"].toBool());
        EXPECT_LT(view->geometry().bottom(), screen->Label3->geometry().top()) << "above the controls";
    }

    // The face is the file published beside the style sheet.
    EXPECT_TRUE(std::any_of(fetched.addresses.cbegin(), fetched.addresses.cend(), [&](const QUrl &address) {
        return address == QUrl::fromLocalFile(student.cheminW + u"OpenDyslexicTessavo-Regular.woff2"_s);
    })) << "the published font file";

    screen->apercuTablette(-1);
    EXPECT_EQ(view->size(), teacher);
    const QJsonObject back = shownAt(teacher);
    EXPECT_EQ(back[u"width"].toInt(), teacher.width());
    EXPECT_EQ(bytesOf(student.cssPath()), css) << "nothing written";
    EXPECT_EQ(bytesOf(student.document), document);
    EXPECT_EQ(loadsFinished, loads) << "the page is not loaded again";
    EXPECT_EQ(screen->Label1->text(), screen->Css[50]) << "the teacher's size stays recorded";
}

// "Mots à vérifier": a click shows the word in the page, selected, as a whole
// word ("couvent", not the "couvent" inside "couventine").
TEST_F(Rendering, AWordToCheckIsSelectedInThePage)
{
    const QTemporaryDir dir;
    const QString page = dir.path() + u"/poules.html"_s;
    writeFile(page, "<html><body><p>Une couventine voit les poules qui couvent dans le couvent.</p></body></html>");
    platform::EngineWebView view(nullptr);
    ASSERT_TRUE(showLoaded(view, page));

    view.showWord(u"couvent"_s);
    QString selected;
    ASSERT_TRUE(waitFor([&] {
        selected.clear();
        bool done = false;
        view.engine()->page()->runJavaScript(
            u"(function () { var s = window.getSelection(); if (!s.rangeCount) return ''; var r = s.getRangeAt(0);"
            u" return s.toString() + '|' + r.startContainer.textContent.slice(0, r.startOffset); })()"_s,
            QWebEngineScript::ApplicationWorld, [&](const QVariant &result) {
                selected = result.toString();
                done = true;
            });
        waitFor([&] { return done; }, 2000);
        return !selected.isEmpty();
    }));
    EXPECT_EQ(selected, u"couvent|Une couventine voit les poules qui "_s);
}
