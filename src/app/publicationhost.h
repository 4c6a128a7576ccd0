#pragma once

#include "workspace/result.h"

#include <QLatin1StringView>
#include <QString>

// The working folder's local publishing host, started by the program at
// start-up through the launcher installed beside it (lib/tessavo), which
// writes publication.ini when it is missing and starts this folder's own
// servers, or finds them running.
namespace app {

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
// (publishing::isProgramsOwnIni). One that a person wrote is used as it is,
// even when it names this computer: nothing is started, nothing is told.
bool wantsLocalHost(const QString &workingFolder);

// Runs the launcher for the working folder and waits for it; the line it
// prints goes to the program's standard output. Refuses with what the
// teacher is to be told when the host does not run (what failed, and that
// registering and publishing will not reach it).
workspace::Result<void> startLocalHost(const QString &launcher, const QString &workingFolder,
                                       int timeLimitMs = HostLauncherTimeLimitMs);

// Both of the above for the program whose executable lies in
// executableFolder.
workspace::Result<void> startPublishingHost(const QString &executableFolder, const QString &workingFolder);

} // namespace app
