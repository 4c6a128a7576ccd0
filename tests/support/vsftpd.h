#pragma once

#include "publishing/ftpclient.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace fakes {

// Debian's vsftpd on a free loopback port, as a real host is set up: explicit
// FTPS forced on the login and on the data, a certificate made for the test,
// no anonymous access, one local account chrooted in a fresh folder.
//
// vsftpd logs in real accounts of the system (PAM), so the server needs root:
// it uses a system account of the tests' own, made once and kept
// ("tessavo-test-ftp", no home, no shell), whose password it draws anew and
// locks again when it ends. Servers in other test processes wait for it
// meanwhile, since they share the account.
class Vsftpd
{
public:
    struct Options
    {
        // A folder of the FTP root that is a 64 KB disk of its own (tmpfs,
        // mounted in this test process's own view of the mounts only).
        QString smallDisk;
    };

    Vsftpd();
    explicit Vsftpd(const Options &options);
    ~Vsftpd();
    Vsftpd(const Vsftpd &) = delete;
    Vsftpd &operator=(const Vsftpd &) = delete;

    // Why vsftpd cannot run here (not root, not installed...); empty when it
    // can. A test skips with it.
    QString cannotRun() const { return m_cannotRun; }
    // Empty when the server listens; otherwise why it did not start.
    QString error() const { return m_error; }

    int port() const { return m_port; }
    // The local folder that the account sees as "/", no trailing separator.
    QString root() const;
    QString file(const QString &relative) const;
    // The PEM certificate of the server, to trust.
    QString certificate() const;
    publishing::FtpLogin login() const;
    // Writes folder/publication.ini pointing at this server, with tls=oui.
    void writePublicationIni(const QString &folder, const QString &password = {}) const;

    // Ends the FTP sessions running now, as a host that goes away midway; the
    // server goes on listening.
    void endSessions();
    // Gives the small disk room again (4 MB).
    bool enlargeSmallDisk();

private:
    bool prepare();
    // The processes of the sessions running now.
    QList<qint64> sessions() const;
    bool start();

    Options m_options;
    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_password;
    QString m_cannotRun;
    QString m_error;
    int m_port = 0;
    int m_lock = -1;
};

} // namespace fakes
