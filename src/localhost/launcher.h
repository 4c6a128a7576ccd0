#pragma once

#include "localhost/host.h"
#include "localhost/probes.h"
#include "localhost/record.h"
#include "publishing/settings.h"
#include "workspace/failure.h"

#include <QString>

#include <functional>
#include <memory>

// What tessavo-publication-host does for a working folder: starts its local
// host, or finds it running, or stops it. Every message is French, like the
// program's.
namespace localhost {

// What the launcher does to the system besides its files and the state
// folder, passed in so that a table can stand for the servers.
struct LauncherSystem
{
    Probes probes;
    // Starts the servers of host in the background, their journal in log;
    // their process number. Raises LauncherError when they do not start.
    std::function<qint64(const LocalHost &host, const QString &log)> startServer;
    // Ends the process that started at startTime (processes::stop).
    std::function<void(qint64 pid, qint64 startTime)> stop;
    // Whether the server on settings' port proves to be the folder's own and
    // takes the account of settings, through the program's own client.
    std::function<bool(const publishing::PublicationSettings &settings)> logsIn;
    // This computer's address on the local network, for a classroom host.
    std::function<QString()> networkAddress;
};

// Why the host was not started or stopped, as the end of a sentence, and
// what to do about it.
class LauncherError : public workspace::Failure
{
public:
    explicit LauncherError(QString cause, QString remedy = {});
    QString remedy;
};

// The real system: serverScript is run by /usr/bin/python3, and the login is
// tried through a client that newClient makes (the program's own).
LauncherSystem systemLauncher(const QString &serverScript,
                              std::function<std::unique_ptr<publishing::FtpClient>()> newClient);

// Starts the working folder's host, keeps the one that runs, or starts
// nothing for a publication.ini that is not the program's own or names
// another host; writes publication.ini first when it is missing. The line
// to print. Raises LauncherError, publishing::SettingsError or
// workspace::Failure when the host cannot run.
QString serve(const QString &workingFolder, const QString &stateFolder, const LauncherSystem &system);

// Stops the working folder's host; the line to print. Raises as serve does.
QString stopServer(const QString &workingFolder, const QString &stateFolder, const LauncherSystem &system);

// What the launcher prints and how it ends.
struct LauncherOutcome
{
    int exitCode = 0;  // 0, or 1 when the host was not started (or stopped)
    QString output;    // the line for the standard output
    QString error;     // the paragraph for the standard error
};

// The whole run for the working folder given on the command line: the
// state folder made for its owner alone, one launcher at a time, then serve
// or stopServer; every failure told once, with its cause and what to do.
LauncherOutcome runLauncher(bool stopping, const QString &folderArgument, const QString &stateFolder,
                            const LauncherSystem &system);

} // namespace localhost
