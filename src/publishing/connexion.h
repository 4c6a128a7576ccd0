#pragma once

#include "platform/ftpclient.h"

#include <QString>

#include <optional>

namespace publishing {

// The connection sequence to the publishing host, on the screen's own client:
// a connection still open is closed, publication.ini of the working folder is
// read, then the client connects and logs in, in passive mode.
// Returns the French text to show when that fails, nothing when connected.
std::optional<QString> ConnexionFTP(platform::FtpClient &client, const QString &workingFolder);

} // namespace publishing
