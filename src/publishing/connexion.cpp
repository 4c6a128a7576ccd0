#include "connexion.h"

#include "host.h"
#include "settings.h"

namespace publishing {

namespace {

HostWait &hostWait()
{
    static HostWait wait;
    return wait;
}

} // namespace

void setHostWait(HostWait wait)
{
    hostWait() = std::move(wait);
}

std::optional<QString> ConnexionFTP(FtpClient &client, const QString &workingFolder)
{
    if (client.connected())
        client.disconnect();
    if (const HostWait &wait = hostWait()) {
        if (std::optional<QString> unreachable = wait())
            return unreachable;
    }
    try {
        const PublicationSettings settings = readPublicationSettings(workingFolder);
        // The password goes to the program's own local host only when that
        // host is the one on its port.
        if (const workspace::Result<void> allowed = mayLogIn(workingFolder, settings); !allowed)
            return allowed.reason();
        client.connect(settings.login());
    } catch (const SettingsError &unusable) {
        return unusable.message();
    } catch (const FtpError &refused) {
        return refused.message();
    }
    return std::nullopt;
}

} // namespace publishing
