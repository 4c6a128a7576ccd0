#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the launcher asks of the system about processes and ports (Linux).
namespace localhost::processes {

// When the process started, in clock ticks after boot; nothing when it is gone.
std::optional<qint64> startTimeOf(qint64 pid);

// The process's command line, its arguments joined by blanks.
QString commandLineOf(qint64 pid);

// The process's arguments, its program first; empty when it is gone.
QStringList argumentsOf(qint64 pid);

// The user the process runs as; nothing when it is gone.
std::optional<uint> ownerOf(qint64 pid);

// The file the process runs, links resolved; empty when it is gone or not
// to be read.
QString executableOf(qint64 pid);

// True when the process holds a socket listening on 127.0.0.1:port (or on
// every address at that port).
bool listensOn(qint64 pid, int port);

// True when a server may listen on 127.0.0.1:port: nothing else holds it.
bool portIsFree(int port);

// Ends the process that started at startTime: asks it, then forces it after
// a few seconds. A process that is gone, or another one under the same
// number, is left alone.
void stop(qint64 pid, qint64 startTime);

} // namespace localhost::processes
