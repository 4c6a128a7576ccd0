#include "connexion.h"

#include "localhost/decisions.h"
#include "localhost/proof.h"
#include "publishing/settings.h"

namespace localhost {

namespace {

HostWait &hostWait()
{
    static HostWait wait;
    return wait;
}

HostRestart &hostRestart()
{
    static HostRestart restart;
    return restart;
}

} // namespace

void setHostRestart(HostRestart restart)
{
    hostRestart() = std::move(restart);
}

void restartHost()
{
    if (const HostRestart &restart = hostRestart())
        restart();
}

void setHostWait(HostWait wait)
{
    hostWait() = std::move(wait);
}

workspace::Result<void> ConnexionFTP(publishing::FtpClient &client, const QString &workingFolder)
{
    if (client.connected())
        client.disconnect();
    if (const HostWait &wait = hostWait()) {
        if (workspace::Result<void> reached = wait(); !reached)
            return reached;
    }
    try {
        const publishing::PublicationSettings settings = publishing::readPublicationSettings(workingFolder);
        // The password goes to the program's own local host only when that
        // host is the one on its port, and proves it on the connection itself.
        if (workspace::Result<void> allowed = mayLogIn(workingFolder, settings); !allowed)
            return allowed;
        client.connect(loginFor(workingFolder, settings));
    } catch (const publishing::SettingsError &unusable) {
        return workspace::refuse(unusable.message());
    } catch (const publishing::FtpError &refused) {
        return workspace::refuse(refused.message());
    }
    return {};
}

} // namespace localhost
