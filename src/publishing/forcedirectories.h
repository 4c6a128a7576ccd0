#pragma once

#include "publishing/ftpclient.h"

#include <QString>

namespace publishing {

// Makes sure the remote folder exists, creating each missing level in turn:
// for "../Orvane_A_B_C/Dupont_Jean_x/" it tries to enter the whole path, then
// enters or makes "../", "../Orvane_A_B_C/" and the whole path. Each prefix is
// sent as it is, relative to the current remote folder of that moment. A
// folder the server refuses to make raises FtpError.
void ForceFtpDirectories(FtpClient &client, const QString &pathToForce);

} // namespace publishing
