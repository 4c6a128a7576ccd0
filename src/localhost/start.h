#pragma once

#include "workspace/result.h"

#include <QElapsedTimer>
#include <QLatin1StringView>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QProcess;

// The working folder's local publishing host, started by the program at
// start-up through the launcher installed beside it (lib/tessavo), which
// writes publication.ini when it is missing and starts this folder's own
// servers, or finds them running.
namespace localhost {

using namespace Qt::Literals::StringLiterals;

inline constexpr QLatin1StringView HostLauncherName = "tessavo-publication-host"_L1;

// How long the launcher may take: more than its own longest waits (another
// start holding its lock, a slow server), which it tells itself.
inline constexpr int HostLauncherTimeLimitMs = 90'000;

// The launcher of a program whose executable lies in executableFolder, found
// from the executable alone, as the data is.
// "/opt/t/usr/bin" -> "/opt/t/usr/lib/tessavo/tessavo-publication-host"
QString hostLauncher(const QString &executableFolder);

// Whether a start in this working folder starts its local host: when
// publication.ini is missing (the launcher writes it) or is the program's own
// (localhost::isProgramsOwnIni). One that a person wrote is used as it is,
// even when it names this computer: nothing is started, nothing is told.
bool wantsLocalHost(const QString &workingFolder);

// The launcher run in the background: the program shows its first screen
// at once, and what needs the host waits for it. The line the launcher
// prints goes to the program's standard output.
class HostStart
{
public:
    HostStart();
    ~HostStart();
    HostStart(const HostStart &) = delete;
    HostStart &operator=(const HostStart &) = delete;

    // Starts the launcher for the working folder and returns at once. Once
    // it has ended (from the event loop, or within waitFor), ended is called.
    void start(const QString &launcher, const QString &workingFolder, int timeLimitMs = HostLauncherTimeLimitMs);
    // True from start until the launcher has ended, failed to start or was
    // stopped for taking too long.
    bool starting() const;
    // Waits at most ms milliseconds (-1: until the end or the time limit)
    // without the event loop; true when the launcher is no longer starting.
    bool waitFor(int ms);
    // Once ended: nothing when the host runs, or the paragraph that says it
    // was not started, why, and what to do.
    const std::optional<QString> &failure() const { return m_failure; }

    std::function<void()> ended;

private:
    void conclude(std::optional<QString> failure);
    void checkProcess();

    std::unique_ptr<QProcess> m_process;
    QString m_shown;
    QElapsedTimer m_clock;
    int m_timeLimitMs = HostLauncherTimeLimitMs;
    bool m_starting = false;
    std::optional<QString> m_failure;
};

// The text shown at start when the host does not run: the launcher's
// paragraph, then what it means for the work of the day.
QString toldAtStart(const QString &notStarted);
// The text shown when a registration or a publication needs a host that
// does not run.
QString toldWhenNeeded(const QString &notStarted);

// Starts the launcher in the background when the working folder wants its
// local host (wantsLocalHost); starts nothing otherwise.
void startPublishingHost(HostStart &host, const QString &executableFolder, const QString &workingFolder);

// Runs the launcher for the working folder and waits for it; the line it
// prints goes to the program's standard output. Refuses with what the
// teacher is to be told when the host does not run (what failed, and that
// registering and publishing will not reach it).
workspace::Result<void> startLocalHost(const QString &launcher, const QString &workingFolder,
                                       int timeLimitMs = HostLauncherTimeLimitMs);

// Both of the above for the program whose executable lies in
// executableFolder.
workspace::Result<void> startPublishingHost(const QString &executableFolder, const QString &workingFolder);

} // namespace localhost
