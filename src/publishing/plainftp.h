#pragma once

#include "publishing/ftpclient.h"

#include <QString>
#include <QStringList>

#include <optional>

// Plain FTP to another computer: the documents and the password cross the
// network unencrypted. The teacher is told so once per run, before the first
// upload; the publication goes on.
namespace publishing {

// Whether the host names this computer: "localhost", a loopback address
// (127.0.0.0/8, ::1, in brackets or not), 0.0.0.0, this computer's name, or
// one of ownAddresses (thisComputersAddresses). Case does not count.
bool isThisComputer(const QString &host, const QStringList &ownAddresses);

// The addresses of this computer's network interfaces ("192.168.1.20",
// "fe80::1"), and its name.
QStringList thisComputersAddresses();

// Whether the login sends the documents and the password in clear to another
// computer: FTP without TLS, to a host that is not this computer.
bool sendsInClear(const FtpLogin &login, const QStringList &ownAddresses);

// The warning, naming the host.
QString plainFtpWarning(const QString &host);

// Told once: the warning the first time a login that sends in clear is about
// to be used, nothing after, nor for an encrypted or local login.
class PlainFtpNotice
{
public:
    std::optional<QString> take(const FtpLogin &login, const QStringList &ownAddresses);

private:
    bool m_told = false;
};

// The warning to show before the first upload of this run to the host of the
// working folder's publication.ini, or nothing (a publication.ini that cannot
// be read says nothing here: the connection tells why).
std::optional<QString> plainFtpWarningBeforeUpload(const QString &workingFolder);

} // namespace publishing
