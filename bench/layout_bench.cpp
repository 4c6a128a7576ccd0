// Measures of the layout screen in the real web engine, headless:
//   tessavo_bench_layout presses [N]  median time from a press of "+Taille"
//                                     to the page shown again, over
//                                     N presses (50) on a 20 KB document, and
//                                     SauveCSS alone
//   tessavo_bench_layout boxes [N]    median time from a click on "Syllabes
//                                     en couleurs" (on, then off) to the page
//                                     shown again, N clicks (50) on
//                                     a 20 KB document, by the letters and by
//                                     ear ("entendu")
//   tessavo_bench_layout opening [N] the layout screen opened N times (10) on
//                                     a 20 KB document: its construction (the
//                                     opening's files included), and to the
//                                     page shown; the first apart. With
//                                     "couleurs" after N, the document
//                                     carries syllables in colours, which
//                                     the opening recognises for its boxes
//   tessavo_bench_layout show [S]     shows the layout screen on the display
//                                     for S seconds (20), for a screenshot
//   tessavo_bench_layout memory [N]   resident memory of the program and its
//                                     web engine processes after 1 and after N
//                                     rounds (10) of student, import, layout
//                                     and settings save
// It prints what it measured; nothing is compared with a target here.
#include "app/screenflow.h"
#include "fakeplatform.h"
#include "headless.h"
#include "import/Unit3.h"
#include "layout/Vitrine_test.h"
#include "platform/eventrules.h"
#include "platform/modal.h"
#include "platform/platform.h"
#include "students/Unit2.h"
#include "support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using bench::EngineLoads;
using bench::median;
using bench::OpenLayout;

namespace {

struct Memory
{
    qint64 rssKb = 0;
    qint64 pssKb = 0;
    int processes = 0;
};

qint64 field(const QString &path, QByteArrayView name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').first().toLongLong();
    return 0;
}

// This process and every process below it (the web engine's).
Memory memory()
{
    QList<qint64> family{QCoreApplication::applicationPid()};
    bool grew = true;
    while (grew) {
        grew = false;
        for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
            bool ok = false;
            const qint64 pid = entry.toLongLong(&ok);
            if (!ok || family.contains(pid))
                continue;
            if (family.contains(field(u"/proc/%1/status"_s.arg(pid), "PPid:"))) {
                family.append(pid);
                grew = true;
            }
        }
    }
    Memory m;
    for (qint64 pid : family) {
        m.rssKb += field(u"/proc/%1/status"_s.arg(pid), "VmRSS:");
        m.pssKb += field(u"/proc/%1/smaps_rollup"_s.arg(pid), "Pss:");
        ++m.processes;
    }
    return m;
}

int presses(int count)
{
    OpenLayout open(bench::twentyKilobytes());
    TForm1 *screen = open.screen;
    EngineLoads loads(screen);
    loads.waitPast(0);

    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const int before = loads.finished;
        QElapsedTimer clock;
        clock.start();
        screen->Button2->click();
        loads.waitPast(before);
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("document: %lld bytes\n", static_cast<long long>(QFile(open.student.document).size()));
    std::printf("+Taille to the page shown: median %.1f ms over %d presses (min %.1f, max %.1f)\n", median(times),
                count, *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));

    std::vector<double> saves;
    for (int i = 0; i < 1000; ++i) {
        QElapsedTimer clock;
        clock.start();
        layout::SauveCSS(screen->cheminW, screen->Css);
        saves.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("SauveCSS alone: median %.3f ms over 1000 saves\n", median(saves));
    return 0;
}

int openings(int count, bool aided)
{
    bench::OpenLayout open(bench::twentyKilobytes());
    if (aided)
        open.screen->CheckBox2->click();
    delete open.screen;
    std::vector<double> built, shown, again;
    const QString copy = open.student.cheminW + u"copie.html"_s;
    QFile::copy(open.student.document, copy);
    for (int i = 0; i < count; ++i) {
        QElapsedTimer clock;
        clock.start();
        TForm1 *screen = open.screens.openLayout();
        built.push_back(clock.nsecsElapsed() / 1e6);
        EngineLoads loads(screen);
        loads.waitPast(0);
        shown.push_back(clock.nsecsElapsed() / 1e6);
        // The same page going to another document: no new page, no new
        // process of the engine.
        clock.start();
        screen->WebBrowser1->navigate(QUrl::fromLocalFile(copy));
        loads.waitPast(1);
        again.push_back(clock.nsecsElapsed() / 1e6);
        delete screen;
        // A teacher opens the next one some seconds later, not at once.
        bench::pause(2500);
    }
    std::printf("first opening: built %.1f ms, page shown %.1f ms\n", built[0], shown[0]);
    built.erase(built.begin());
    shown.erase(shown.begin());
    if (!built.empty())
        std::printf("next %zu: built median %.1f ms, page shown median %.1f ms (max %.1f)\n", built.size(),
                    median(built), median(shown), *std::max_element(shown.begin(), shown.end()));
    std::printf("the same page, to another document: median %.1f ms\n", median(again));
    return 0;
}

// The "entendu" box is set with no aid on, so that it reloads nothing; the
// first click by ear pays for loading espeak-ng and is shown apart.
int boxClicks(int count)
{
    OpenLayout open(bench::twentyKilobytes());
    TForm1 *screen = open.screen;
    EngineLoads loads(screen);
    loads.waitPast(0);
    for (const bool byEar : {false, true}) {
        if (screen->Entendu->isChecked() != byEar)
            screen->Entendu->click();
        std::vector<double> times;
        for (int i = 0; i < count + count % 2; ++i) {
            const int before = loads.finished;
            QElapsedTimer clock;
            clock.start();
            screen->CheckBox2->click();
            loads.waitPast(before);
            times.push_back(clock.nsecsElapsed() / 1e6);
        }
        const double first = times.front();
        std::printf("%s: first click %.1f ms; click to the page shown again: median %.1f ms over %zu clicks (min %.1f, "
                    "max %.1f)\n",
                    byEar ? "by ear" : "by the letters", first, median(times), times.size(),
                    *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()));
    }
    return 0;
}

int rounds(int count)
{
    fakes::WorkingFolder folder;
    const layouttest::StudentFolder student(folder, bench::twentyKilobytes());
    QFile::copy(QStringLiteral(TESSAVO_SOURCE_DIR "/travaux.html"), folder.file(u"travaux.html"_s));
    const Memory start = memory();
    std::printf("before the first round: %lld kB resident, %lld kB proportional, %d processes\n",
                static_cast<long long>(start.rssKb), static_cast<long long>(start.pssKb), start.processes);

    auto *students = new TForm2;
    students->show();
    int round = 0;
    Memory previous = start;
    std::function<void()> next = [&] {
        ++round;
        // The class's one student chosen in the list, then its saved document.
        students->ListView1->setCurrentRow(0);
        students->ListView1Click();
        students->setCurrentDocument(student.document);
        auto *import = app::makeImportScreen(students);
        import->show();
        import->Edit5->setText(student.document);
        import->Button6->click();
        TForm1 *layout = Form1;
        EngineLoads(layout).waitPast(0);
        bench::pause(1500); // let hidden pages give their memory back
        const Memory now = memory();
        std::printf("after round %2d: %lld kB resident (+%lld), %lld kB proportional (+%lld), %d processes\n", round,
                    static_cast<long long>(now.rssKb), static_cast<long long>(now.rssKb - previous.rssKb),
                    static_cast<long long>(now.pssKb), static_cast<long long>(now.pssKb - previous.pssKb),
                    now.processes);
        std::fflush(stdout);
        previous = now;
        if (round == count) {
            platform::endProgram();
            return;
        }
        // The settings save: hides the layout and import screens and brings the
        // student screen forward; the next round's import screen takes the
        // place of this one, with its layout screen.
        layout->Button1->click();
        QTimer::singleShot(0, students, next);
    };
    QTimer::singleShot(0, next);
    QApplication::exec();
    delete students;
    return 0;
}

int show(int seconds)
{
    OpenLayout open;
    EngineLoads(open.screen).waitPast(0);
    std::printf("shown: %dx%d\n", open.screen->width(), open.screen->height());
    std::fflush(stdout);
    bench::pause(seconds * 1000);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const auto application = fakes::headlessApplication(argc, argv);

    fakes::Platform fakes;
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"presses"_s;
    const int count = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : mode == u"memory"_s ? 10 : 50;
    // Shown, the screen has the display's own size, the real one.
    bench::useRealWebEngine(mode == u"show"_s);
    if (mode == u"memory"_s)
        return rounds(count);
    if (mode == u"show"_s)
        return show(argc > 2 ? count : 20);
    if (mode == u"boxes"_s)
        return boxClicks(count);
    if (mode == u"opening"_s)
        return openings(argc > 2 ? count : 10, argc > 3 && QString::fromLocal8Bit(argv[3]) == u"couleurs"_s);
    return presses(count);
}
