#include "classroom.h"

#include "publishing/settings.h"

#include <QFile>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

using namespace Qt::StringLiterals;

namespace localhost {

bool isPupilCode(const QString &text)
{
    static const QRegularExpression code(u"^[2-9A-HJKMNP-Za-hjkmnp-z]{20,64}$"_s);
    return code.match(text).hasMatch();
}

QString defaultRouteInterface(const QByteArray &procNetRoute)
{
    // "Iface Destination Gateway Flags ...": the default route goes to
    // 00000000 and is up (flag 1).
    for (const QByteArray &line : procNetRoute.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool ok = false;
        if (fields.size() >= 4 && fields.at(1) == "00000000" && (fields.at(3).toUInt(&ok, 16) & 1) && ok)
            return QString::fromLatin1(fields.at(0));
    }
    return {};
}

QString chooseNetworkAddress(const QString &defaultRoute, const QList<NetworkInterface> &interfaces)
{
    QString first;
    for (const NetworkInterface &interface : interfaces) {
        if (interface.ipv4.isEmpty() || !interface.up || interface.loopback)
            continue;
        if (interface.name == defaultRoute)
            return interface.ipv4;
        if (first.isEmpty())
            first = interface.ipv4;
    }
    return first;
}

QList<NetworkInterface> networkInterfaces()
{
    ifaddrs *interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return {};
    QList<NetworkInterface> found;
    for (const ifaddrs *at = interfaces; at; at = at->ifa_next) {
        if (!at->ifa_addr || at->ifa_addr->sa_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in *>(at->ifa_addr)->sin_addr, text, sizeof text);
        found.append({QString::fromLocal8Bit(at->ifa_name), QString::fromLatin1(text), (at->ifa_flags & IFF_UP) != 0,
                      (at->ifa_flags & IFF_LOOPBACK) != 0});
    }
    ::freeifaddrs(interfaces);
    return found;
}

QString localNetworkAddress()
{
    QFile route(u"/proc/net/route"_s);
    const QString preferred =
        route.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? defaultRouteInterface(route.readAll()) : QString();
    return chooseNetworkAddress(preferred, networkInterfaces());
}

QString tabletAddress(const QString &networkAddress, int webPort, const QString &remoteStudentFolder)
{
    if (networkAddress.isEmpty())
        return {};
    QString path = remoteStudentFolder.startsWith(u".."_s) ? remoteStudentFolder.mid(2) : remoteStudentFolder;
    if (!path.startsWith(u'/'))
        path.prepend(u'/');
    if (!path.endsWith(u'/'))
        path.append(u'/');
    return u"http://%1:%2%3_Tablematieres.html"_s.arg(networkAddress).arg(webPort).arg(path);
}

std::optional<QString> tabletAddressOf(const QString &workingFolder, const QString &remoteStudentFolder,
                                       const std::function<QString()> &networkAddress)
{
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(workingFolder);
    if (!settings.reseau_classe || !namesThisComputer(settings.host) || !isProgramsOwnIni(workingFolder))
        return std::nullopt;
    const QString address = tabletAddress(networkAddress(), localHostOf(workingFolder, settings).webPort,
                                          remoteStudentFolder);
    return address.isEmpty() ? std::nullopt : std::optional<QString>(address);
}

} // namespace localhost
