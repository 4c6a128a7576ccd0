#pragma once
// What the benches of the screens share: a student folder with its layout
// screen open, the count of the web engine's loads, waits and medians. The
// application object comes from the test support (headless.h).

#include "layoutfolder.h"
#include "workingfolder.h"

#include <QMetaObject>
#include <QStringList>

#include <functional>
#include <vector>

class TForm1;

namespace bench {

// Runs the event loop, looking every tickMs, until done() or limitMs.
void waitFor(const std::function<bool()> &done, int limitMs = 20000, int tickMs = 5);
// Runs the event loop for ms milliseconds.
void pause(int ms);
double median(std::vector<double> values);
// About 20 KB of text lines.
QStringList twentyKilobytes();

// From now on the screens get the real web engine, and the display's own
// size if realDisplay; the other seams stay as installed (the doubles).
void useRealWebEngine(bool realDisplay);

// A fresh working folder (in TMPDIR) with one student folder holding text,
// and the layout screen opened over it as the teacher opens it.
struct OpenLayout
{
    explicit OpenLayout(const QStringList &text = layouttest::StudentFolder::defaultText());

    fakes::WorkingFolder folder;
    layouttest::StudentFolder student;
    layouttest::Screens screens;
    TForm1 *screen;
};

// Counts the times the real web engine of a layout screen shows the page's
// files again (a load finished, or an update in place), from now.
class EngineLoads
{
public:
    explicit EngineLoads(TForm1 *screen, int tickMs = 5);
    ~EngineLoads();
    EngineLoads(const EngineLoads &) = delete;
    EngineLoads &operator=(const EngineLoads &) = delete;

    // Waits until more than `before` loads have finished (20 s at most).
    void waitPast(int before) const;

    int finished = 0;

private:
    int m_tickMs;
    QMetaObject::Connection m_connection;
};

} // namespace bench
