#include "support.h"

#include "layout/Vitrine_test.h"
#include "platform/enginewebview.h"
#include "platform/platform.h"
#include "platform/webview.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWebEngineView>

#include <algorithm>

namespace bench {

void waitFor(const std::function<bool()> &done, int limitMs, int tickMs)
{
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(tickMs);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        loop.exec();
}

void pause(int ms)
{
    QElapsedTimer clock;
    clock.start();
    waitFor([&] { return clock.elapsed() >= ms; }, ms + 100);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QStringList twentyKilobytes()
{
    const QStringList base = layouttest::StudentFolder::defaultText();
    QStringList lines;
    qsizetype size = 0;
    for (int i = 0; size < 20000; ++i) {
        lines.append(base[i % base.size()]);
        size += lines.last().size() + 6;
    }
    return lines;
}

void useRealWebEngine(bool realDisplay)
{
    platform::Platform real = platform::services();
    real.webViews = platform::desktopPlatform().webViews;
    if (realDisplay)
        real.display = platform::desktopPlatform().display;
    platform::install(real);
}

OpenLayout::OpenLayout(const QStringList &text)
    : student(folder, text)
    , screens(student)
    , screen(screens.openLayout())
{
}

EngineLoads::EngineLoads(TForm1 *screen, int tickMs)
    : m_tickMs(tickMs)
{
    // A load finished, or the page updated in place.
    m_connection = QObject::connect(qobject_cast<platform::EngineWebView *>(screen->WebBrowser1),
                                    &platform::EngineWebView::pageShown, [this] { ++finished; });
}

EngineLoads::~EngineLoads()
{
    QObject::disconnect(m_connection);
}

void EngineLoads::waitPast(int before) const
{
    waitFor([&] { return finished > before; }, 20000, m_tickMs);
}

} // namespace bench
