#include "proof.h"

#include "localhost/decisions.h"
#include "localhost/host.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace localhost {

QByteArray ownHostProof(const QString &password, int port, const QString &clientAddress, int clientPort)
{
    const QString message = u"tessavo-hote %1 %2 %3"_s.arg(port).arg(clientAddress).arg(clientPort);
    return QMessageAuthenticationCode::hash(message.toLatin1(), password.toUtf8(), QCryptographicHash::Sha256).toHex();
}

QString randomLoopbackAddress()
{
    const quint32 drawn = QRandomGenerator::system()->generate();
    // 127.x.y.1 to 127.x.y.254: no network or broadcast look-alike.
    return u"127.%1.%2.%3"_s.arg(drawn & 0xff).arg((drawn >> 8) & 0xff).arg(1 + (drawn >> 16) % 254);
}

QString ownHostGreetingRefused(const publishing::PublicationSettings &settings, const QByteArray &greeting,
                               const QString &clientAddress, int clientPort)
{
    if (greeting.trimmed() == "220 " + ownHostProof(settings.password, settings.port, clientAddress, clientPort))
        return {};
    return ownHostVerdict({true, true, false, true, settings.port}).reason();
}

publishing::FtpLogin ownHostLogin(const publishing::PublicationSettings &settings)
{
    publishing::FtpLogin login = settings.login();
    login.ownHostSource = randomLoopbackAddress();
    login.ownHostGreeting = [settings](const QByteArray &greeting, const QString &address, int port) {
        return ownHostGreetingRefused(settings, greeting, address, port);
    };
    return login;
}

publishing::FtpLogin loginFor(const QString &workingFolder, const publishing::PublicationSettings &settings)
{
    if (namesThisComputer(settings.host) && settings.protocole == publishing::Protocol::Ftp && isProgramsOwnIni(workingFolder))
        return ownHostLogin(settings);
    return settings.login();
}

} // namespace localhost
