#pragma once

#include "localhost/host.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The classroom mode: the web server of the local host also answers on the
// local network, for the tablets, and only for the pupils' folders.
namespace localhost {

// Whether text is a pupil's code as the classroom host serves it: 20 to 64
// letters and digits that are not taken one for another (no 0, O, 1, I, L).
bool isPupilCode(const QString &text);

// The interface of the default route in the text of /proc/net/route; empty
// when there is none.
QString defaultRouteInterface(const QByteArray &procNetRoute);

// A network interface of this computer, with its IPv4 address.
struct NetworkInterface
{
    QString name;
    QString ipv4;
    bool up = false;
    bool loopback = false;
};

// The computer's IPv4 address on the local network: the one of the interface
// of the default route, or else of the first interface that is up and not
// loopback; empty when it has none.
QString chooseNetworkAddress(const QString &defaultRoute, const QList<NetworkInterface> &interfaces);
// The interfaces as the system has them now.
QList<NetworkInterface> networkInterfaces();
// The address as the system has it now, from /proc/net/route and the interfaces.
QString localNetworkAddress();

// The address a tablet opens for a pupil, through the classroom host: the
// computer's network address and web port, and the remote student folder
// without its leading "..". Empty without a network address.
// ("192.168.1.20", 24118, "../Orvane_A_B_C/K7M2.../") ->
// "http://192.168.1.20:24118/Orvane_A_B_C/K7M2.../_Tablematieres.html"
QString tabletAddress(const QString &networkAddress, int webPort, const QString &remoteStudentFolder);

// The same for the working folder as it is now: nothing unless its
// publication.ini is the program's own, for this computer, with
// reseau_classe=oui, and the computer has a network address. Raises
// publishing::SettingsError when publication.ini cannot be read.
std::optional<QString> tabletAddressOf(const QString &workingFolder, const QString &remoteStudentFolder,
                                       const std::function<QString()> &networkAddress = localNetworkAddress);

} // namespace localhost
