#include "connexion.h"

#include "settings.h"

namespace publishing {

std::optional<QString> ConnexionFTP(platform::FtpClient &client, const QString &workingFolder)
{
    if (client.connected())
        client.disconnect();
    try {
        client.connect(readPublicationSettings(workingFolder).login());
    } catch (const platform::FtpError &error) {
        return error.message();
    }
    return std::nullopt;
}

} // namespace publishing
