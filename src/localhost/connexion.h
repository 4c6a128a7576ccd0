#pragma once

#include "publishing/ftpclient.h"
#include "workspace/result.h"

#include <QString>

#include <functional>
#include <optional>

namespace localhost {

// The connection sequence to the publishing host, on the screen's own client:
// a connection still open is closed, publication.ini of the working folder is
// read, then the client connects and logs in, in passive mode. A
// publication.ini of the program's own is used only when its local host is
// this folder's own server (mayLogIn): nothing is sent to another program on
// its port.
// Every way it can fail (publication.ini unusable, the host not reached, the
// login refused) comes back the same way, as a refusal with the French text to
// show. It raises nothing.
[[nodiscard]] workspace::Result<void> ConnexionFTP(publishing::FtpClient &client, const QString &workingFolder);

// What a connection waits for first: the program's local host, while its
// launcher still runs in the background. The wait refuses with the French
// text to show when the host cannot be reached. None is set unless the
// program starts a host.
using HostWait = std::function<workspace::Result<void>()>;
void setHostWait(HostWait wait);

// Starts the program's local host again, after publication.ini changed (the
// classroom network turned on or off); the connections made after it wait
// for it as they wait for the first start. Does nothing unless the program
// starts a host.
using HostRestart = std::function<void()>;
void setHostRestart(HostRestart restart);
void restartHost();

} // namespace localhost
