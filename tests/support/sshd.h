#pragma once

#include "publishing/ftpclient.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace fakes {

// Debian's OpenSSH server on a free loopback port, serving SFTP alone as a
// host does: a configuration and a host key made for the test, password
// logins (and keys, for the one the test makes), one account whose home is
// a fresh folder.
//
// sshd checks the system's passwords and changes to the account, so it needs
// root: it uses a system account of the tests' own, made once and kept
// ("tessavo-test-sftp", no shell), whose password it draws anew and locks
// again when it ends. Servers in other test processes wait for it meanwhile.
class Sshd
{
public:
    Sshd();
    ~Sshd();
    Sshd(const Sshd &) = delete;
    Sshd &operator=(const Sshd &) = delete;

    // Why sshd cannot run here (not root, not installed...); empty when it
    // can. A test skips with it.
    QString cannotRun() const { return m_cannotRun; }
    // Empty when the server listens; otherwise why it did not start.
    QString error() const { return m_error; }

    int port() const { return m_port; }
    // The account's home, where the SFTP login lands, no trailing separator.
    QString root() const;
    QString file(const QString &relative) const;
    // The host keys (RSA, ECDSA, ED25519) as `ssh-keygen -lf` prints them:
    // "256 SHA256:... hote_ed25519 (ED25519)".
    QStringList hostKeys() const { return m_hostKeys; }
    // The private key file that the account accepts (no passphrase).
    QString clientKey() const;
    publishing::FtpLogin login() const;
    // Writes folder/publication.ini pointing at this server with
    // protocole=sftp and every host key; the password and cle_hote may be
    // given instead of the right ones ("-" leaves cle_hote out).
    void writePublicationIni(const QString &folder, const QString &password = {}, const QString &hostKey = {}) const;

    // Ends the SSH sessions running now, as a host that goes away midway;
    // the server goes on listening.
    void endSessions();

private:
    bool prepare();
    bool start();
    QList<qint64> sessions() const;

    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_password;
    QStringList m_hostKeys;
    QString m_cannotRun;
    QString m_error;
    int m_port = 0;
    int m_lock = -1;
};

} // namespace fakes
