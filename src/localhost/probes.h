#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What the host's decisions ask of the system about processes and ports,
// passed in so that a table of made-up processes can stand for the system.
namespace localhost {

struct Probes
{
    // When the process started, in clock ticks after boot; nothing when it is gone.
    std::function<std::optional<qint64>(qint64 pid)> startTimeOf;
    // The user it runs as; nothing when it is gone.
    std::function<std::optional<uint>(qint64 pid)> ownerOf;
    // The file it runs, links resolved.
    std::function<QString(qint64 pid)> executableOf;
    // Its arguments, its program first.
    std::function<QStringList(qint64 pid)> argumentsOf;
    // Whether it listens on 127.0.0.1:port (or on every address at that port).
    std::function<bool(qint64 pid, int port)> listensOn;
    // Whether a server may listen on 127.0.0.1:port: nothing else holds it.
    std::function<bool(int port)> portIsFree;
    // The user this program runs as.
    uint user = 0;
};

// The system's own answers: /proc, and a bind on loopback.
Probes systemProbes();

} // namespace localhost
