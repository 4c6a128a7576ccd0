#include "connexion.h"

#include "settings.h"

namespace publishing {

std::optional<QString> ConnexionFTP(FtpClient &client, const QString &workingFolder)
{
    if (client.connected())
        client.disconnect();
    try {
        client.connect(readPublicationSettings(workingFolder).login());
    } catch (const SettingsError &unusable) {
        return unusable.message();
    } catch (const FtpError &refused) {
        return refused.message();
    }
    return std::nullopt;
}

} // namespace publishing
