// One keystroke in the sound field of the layout screen, on a 20 KB document,
// headless:
//   tessavo_bench_sound files [N] [entendu]
//                                   median time from the change of the field
//                                   to the document installed, the style
//                                   sheet saved and the load requested (the
//                                   web view is a double), over N keystrokes
//                                   (200); with "entendu", the box checked
//                                   first, the sound by ear
//   tessavo_bench_sound engine [N] [entendu]
//                                   the same to the end of the load in the
//                                   real web engine, over N keystrokes (50)
//   tessavo_bench_sound tour        in the real web engine, on the display,
//                                   each reading aid turned on then off, and
//                                   whether the document came back whole
//   tessavo_bench_sound show [S]    the syllables in colours shown S seconds
//                                   (20), for a screenshot
//   tessavo_bench_sound show-entendu [S]
//                                   "on" by ear on "bonbon", "bonne" and
//                                   "Monsieur", shown S seconds (20)
// The working folder is the system's temporary folder (TMPDIR). It prints
// what it measured; nothing is compared with a target here.
#include "fakeplatform.h"
#include "headless.h"
#include "layout/Vitrine_test.h"
#include "layout/workingcopies.h"
#include "platform/eventrules.h"
#include "platform/platform.h"
#include "support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using bench::EngineLoads;
using bench::OpenLayout;

namespace {

// The loads are looked at every millisecond: a keystroke takes a few.
constexpr int Tick = 1;

// The teacher types "o", "u", deletes both, and again.
void keystroke(QLineEdit *field, int i)
{
    switch (i % 4) {
    case 0:
        field->insert(u"o"_s);
        break;
    case 1:
        field->insert(u"u"_s);
        break;
    default:
        field->backspace();
        break;
    }
}

// The "entendu" box checked before the keystrokes, when asked: with the
// field still empty it only remembers the choice.
void checkEntendu(TForm1 *screen, bool byEar)
{
    if (!byEar)
        return;
    if (!screen->Entendu->isEnabled())
        std::printf("the \"entendu\" box is disabled: %s\n", qPrintable(screen->Entendu->toolTip()));
    screen->Entendu->click();
    std::printf("by ear (\"entendu\" checked)\n");
}

void report(const char *what, std::vector<double> times)
{
    std::printf("%s: median %.3f ms over %zu keystrokes (min %.3f, max %.3f)\n", what, bench::median(times), times.size(),
                *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
}

int files(int count, bool byEar)
{
    OpenLayout open(bench::twentyKilobytes());
    TForm1 *screen = open.screen;
    checkEntendu(screen, byEar);
    std::printf("document: %lld bytes in %s\n", static_cast<long long>(QFile(open.student.document).size()),
                qPrintable(QDir::tempPath()));
    auto *view = static_cast<fakes::WebView *>(screen->WebBrowser1);
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const int loads = view->history.size() + view->reloads;
        QElapsedTimer clock;
        clock.start();
        keystroke(screen->Edit6, i);
        times.push_back(clock.nsecsElapsed() / 1e6);
        if (view->history.size() + view->reloads != loads + 1)
            std::printf("keystroke %d: no load requested\n", i);
    }
    // The first keystroke on a document pronounces its words.
    std::printf("first keystroke: %.3f ms\n", times.front());
    report("keystroke to load requested", times);
    return 0;
}

int engine(int count, bool byEar)
{
    OpenLayout open(bench::twentyKilobytes());
    checkEntendu(open.screen, byEar);
    EngineLoads loads(open.screen, Tick);
    loads.waitPast(0);
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const int before = loads.finished;
        QElapsedTimer clock;
        clock.start();
        keystroke(open.screen->Edit6, i);
        loads.waitPast(before);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("first keystroke: %.3f ms\n", times.front());
    report("keystroke to the page shown again in the web engine", times);
    return 0;
}

int tour()
{
    OpenLayout open;
    TForm1 *screen = open.screen;
    EngineLoads shown(screen, Tick);
    shown.waitPast(0);
    const auto document = [&] {
        QFile file(open.student.document);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    };
    const QByteArray before = document();
    int failures = 0;
    const auto step = [&](const char *name, const std::function<void()> &on, const std::function<void()> &off) {
        int loads = shown.finished;
        on();
        shown.waitPast(loads);
        const bool transformed = layout::carriesAid(QString::fromLatin1(document()).split(u"\r\n"_s, Qt::SkipEmptyParts));
        loads = shown.finished;
        off();
        shown.waitPast(loads);
        const bool whole = document() == before;
        failures += !transformed || !whole;
        std::printf("%-22s on: %s, off: %s\n", name, transformed ? "transformed" : "NOT transformed",
                    whole ? "document back byte for byte" : "DOCUMENT DIFFERS");
        std::fflush(stdout);
    };
    for (platform::CheckBox *box : {screen->CheckBox2, screen->CheckBox6, screen->CheckBox8, screen->CheckBox9})
        step(qPrintable(box->text()), [box] { box->click(); }, [box] { box->click(); });
    step("son \"ou\"", [&] { screen->Edit6->setText(u"ou"_s); }, [&] { screen->Edit6->clear(); });
    screen->Entendu->click();
    step("son \"on\" entendu", [&] { screen->Edit6->setText(u"on"_s); }, [&] { screen->Edit6->clear(); });
    screen->Entendu->click();
    return failures;
}

int show(int seconds)
{
    OpenLayout open;
    TForm1 *screen = open.screen;
    EngineLoads shown(screen, Tick);
    shown.waitPast(0);
    screen->CheckBox2->click();
    shown.waitPast(1);
    std::printf("shown: %dx%d, syllables in colours\n", screen->width(), screen->height());
    std::fflush(stdout);
    bench::pause(seconds * 1000);
    return 0;
}

int showEntendu(int seconds)
{
    OpenLayout open({u"Le bonbon de la bonne dame de Monsieur."_s, u"Mon oncle a un pantalon marron."_s,
                     u"Monique donne un bonbon au lion."_s});
    TForm1 *screen = open.screen;
    EngineLoads shown(screen, Tick);
    shown.waitPast(0);
    if (!screen->Entendu->isChecked())
        screen->Entendu->click();
    screen->Edit6->setFocus();
    screen->Edit6->setText(u"on"_s);
    shown.waitPast(1);
    std::printf("shown: %dx%d, \"on\" by ear\n", screen->width(), screen->height());
    std::fflush(stdout);
    bench::pause(seconds * 1000);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const auto application = fakes::headlessApplication(argc, argv);

    fakes::Platform fakes;
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"files"_s;
    const int count = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : mode == u"engine"_s ? 50 : 200;
    const bool byEar = argc > 3 && QString::fromLocal8Bit(argv[3]) == u"entendu"_s;
    const bool onDisplay = mode == u"show"_s || mode == u"show-entendu"_s || mode == u"tour"_s;
    if (mode != u"files"_s)
        bench::useRealWebEngine(onDisplay);
    if (mode == u"engine"_s)
        return engine(count, byEar);
    if (mode == u"tour"_s)
        return tour();
    if (mode == u"show"_s)
        return show(argc > 2 ? count : 20);
    if (mode == u"show-entendu"_s)
        return showEntendu(argc > 2 ? count : 20);
    return files(count, byEar);
}
