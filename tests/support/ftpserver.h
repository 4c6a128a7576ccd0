#pragma once

#include "publishing/ftpclient.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace fakes {

// A real FTP server (pyftpdlib) on a free loopback port, serving a fresh
// temporary folder, for as long as it lives. The user may do everything the
// permissions give (pyftpdlib's letters: "elradfmwMT" is all; without "m" no
// folder can be made, without "w" no file can be stored).
class FtpServer
{
public:
    struct Options
    {
        bool tls = false;  // explicit FTPS only, with a certificate made for the test
        QString permissions = QStringLiteral("elradfmwMT");
        bool resetData = false;  // FTPS: every data connection is reset as it opens
    };

    FtpServer();
    explicit FtpServer(const Options &options);
    ~FtpServer();
    FtpServer(const FtpServer &) = delete;
    FtpServer &operator=(const FtpServer &) = delete;

    // Empty when the server listens; otherwise why it did not start.
    QString error() const { return m_error; }
    int port() const { return m_port; }
    // The local folder served as the FTP root ("/"), no trailing separator.
    QString root() const;
    // root() + "/" + relative
    QString file(const QString &relative) const;
    // The PEM certificate of a TLS server, to trust.
    QString certificate() const;
    publishing::FtpLogin login() const;

    // Writes folder/publication.ini pointing at this server: with the named
    // addresses (adresses=noms), unless discreet ones are asked for.
    enum class Addresses { Named, Discreet };
    void writePublicationIni(const QString &folder, const QString &webAddress = QStringLiteral("127.0.0.1:8000"),
                             int delai = 5, Addresses addresses = Addresses::Named) const;

private:
    Options m_options;
    QTemporaryDir m_folder;
    QProcess m_process;
    int m_port = 0;
    QString m_error;
};

} // namespace fakes
