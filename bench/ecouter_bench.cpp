// "Écouter" on the layout screen, in the real web engine: the time from the
// press to the first sound (the audio's time moving), for the shipped
// three-sentence text and for a 150-word tale, at the normal speed.
//   tessavo_bench_ecouter [RUNS]
#include "fakeplatform.h"
#include "headless.h"
#include "layout/Vitrine_test.h"
#include "platform/webview.h"
#include "support.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The reading's time in the page, or -1 without a reading.
double readingTime(QWebEnginePage *page)
{
    double time = -2;
    page->runJavaScript(u"window.tessavoLu ? window.tessavoLu.currentTime : -1"_s, QWebEngineScript::ApplicationWorld,
                        [&](const QVariant &t) { time = t.toDouble(); });
    bench::waitFor([&] { return time > -2; }, 5000, 1);
    return time;
}

QStringList tale()
{
    QStringList lines;
    for (int i = 0; i < 10; ++i)
        lines.append(u"Le petit loup gris court vite dans la forêt profonde et cherche l’école du village."_s);
    return lines;
}

} // namespace

int main(int argc, char **argv)
{
    const auto application = fakes::headlessApplication(argc, argv);
    fakes::Platform fakes;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    bench::useRealWebEngine(false);
    for (const auto &[name, text] : {std::pair{"three sentences (32 words)", layouttest::StudentFolder::defaultText()},
                                     std::pair{"a 150-word tale", tale()}}) {
        bench::OpenLayout open(text);
        auto *page = open.screen->WebBrowser1->findChild<QWebEngineView *>()->page();
        bench::EngineLoads loads(open.screen);
        bench::waitFor([&] { return readingTime(page) == -1; });
        bench::pause(500);
        std::vector<double> firstSound;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            open.screen->Ecouter->click();
            bench::waitFor([&] { return readingTime(page) > 0; }, 20000, 1);
            firstSound.push_back(double(timer.nsecsElapsed()) / 1e6);
            open.screen->PauseLecture->click();
            bench::pause(300);
        }
        std::printf("%s: \"Écouter\" to the first sound, median of %d: %.0f ms (from %.0f to %.0f)\n", name, runs,
                    bench::median(firstSound), *std::min_element(firstSound.begin(), firstSound.end()),
                    *std::max_element(firstSound.begin(), firstSound.end()));
    }
    return 0;
}
