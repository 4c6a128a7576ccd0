#include "plainftp.h"

#include "publishing/settings.h"

#include <QSysInfo>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

bool isLoopback(QString host)
{
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    const QByteArray ascii = host.toLatin1();
    in_addr v4{};
    if (inet_pton(AF_INET, ascii.constData(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127 || v4.s_addr == 0;
    in6_addr v6{};
    if (inet_pton(AF_INET6, ascii.constData(), &v6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&v6) || IN6_IS_ADDR_UNSPECIFIED(&v6);
    return host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0
           || host.endsWith(u".localhost"_s, Qt::CaseInsensitive)
           || host.compare(u"localhost.localdomain"_s, Qt::CaseInsensitive) == 0;
}

} // namespace

bool isThisComputer(const QString &host, const QStringList &ownAddresses)
{
    const QString name = host.trimmed();
    if (isLoopback(name))
        return true;
    for (const QString &own : ownAddresses) {
        if (name.compare(own, Qt::CaseInsensitive) == 0 || (name.startsWith(u'[') && name.mid(1).chopped(1) == own))
            return true;
    }
    return false;
}

QStringList thisComputersAddresses()
{
    QStringList addresses;
    if (const QString name = QSysInfo::machineHostName(); !name.isEmpty())
        addresses.append(name);
    ifaddrs *interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return addresses;
    for (const ifaddrs *each = interfaces; each; each = each->ifa_next) {
        if (!each->ifa_addr)
            continue;
        char text[INET6_ADDRSTRLEN] = {};
        const int family = each->ifa_addr->sa_family;
        const void *address = nullptr;
        if (family == AF_INET)
            address = &reinterpret_cast<const sockaddr_in *>(each->ifa_addr)->sin_addr;
        else if (family == AF_INET6)
            address = &reinterpret_cast<const sockaddr_in6 *>(each->ifa_addr)->sin6_addr;
        if (address && inet_ntop(family, address, text, sizeof text))
            addresses.append(QString::fromLatin1(text));
    }
    freeifaddrs(interfaces);
    return addresses;
}

bool sendsInClear(const FtpLogin &login, const QStringList &ownAddresses)
{
    return login.protocol == Protocol::Ftp && !login.tls && !isThisComputer(login.host, ownAddresses);
}

QString plainFtpWarning(const QString &host)
{
    return u"Attention : la publication vers « %1 » se fait en FTP sans chiffrement. Les documents des élèves et le "
           u"mot de passe du serveur traversent le réseau en clair, et quiconque se trouve sur le chemin peut les lire. "
           u"Utilisez plutôt FTPS (tls=oui dans publication.ini) ou SFTP (protocole=sftp) : docs/publication.md dit "
           u"comment. La publication continue."_s.arg(host);
}

std::optional<QString> PlainFtpNotice::take(const FtpLogin &login, const QStringList &ownAddresses)
{
    if (m_told || !sendsInClear(login, ownAddresses))
        return std::nullopt;
    m_told = true;
    return plainFtpWarning(login.host);
}

std::optional<QString> plainFtpWarningBeforeUpload(const QString &workingFolder)
{
    static PlainFtpNotice notice;
    try {
        const FtpLogin login = readPublicationSettings(workingFolder).login();
        // This computer's addresses, looked up once per run.
        static const QStringList own = thisComputersAddresses();
        return notice.take(login, own);
    } catch (const SettingsError &) {
        return std::nullopt;
    }
}

} // namespace publishing
