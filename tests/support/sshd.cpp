#include "sshd.h"

#include "serverprocess.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace fakes {

namespace {

using serverprocess::runCommand;

const QString Account = u"tessavo-test-sftp"_s;
const QString Binary = u"/usr/sbin/sshd"_s;
const QString KeyGen = u"/usr/bin/ssh-keygen"_s;

QString configuration(const QString &folder, int port)
{
    return uR"(Port %2
ListenAddress 127.0.0.1
HostKey %1/hote_rsa
HostKey %1/hote_ecdsa
HostKey %1/hote_ed25519
PidFile none
UsePAM no
PasswordAuthentication yes
KbdInteractiveAuthentication no
PubkeyAuthentication yes
AuthorizedKeysFile %1/cles_autorisees
StrictModes no
PermitRootLogin no
AllowUsers %3
MaxAuthTries 3
MaxStartups 50
X11Forwarding no
AllowTcpForwarding no
Subsystem sftp internal-sftp
ForceCommand internal-sftp -u 022
LogLevel VERBOSE
)"_s.arg(folder, QString::number(port), Account);
}

} // namespace

Sshd::Sshd()
    : m_folder(u"/tmp/tessavo-sshd-XXXXXX"_s)
{
    if (::geteuid() != 0) {
        m_cannotRun = u"sshd checks the system's passwords and changes to the account, which only root can do: run the tests as root"_s;
        return;
    }
    if (!QFileInfo(Binary).isExecutable() || !QFileInfo(KeyGen).isExecutable()) {
        m_cannotRun = Binary + u" or "_s + KeyGen + u" is not installed (Debian's openssh-server package)"_s;
        return;
    }
    if (prepare())
        start();
}

Sshd::~Sshd()
{
    serverprocess::stop(m_process);
    if (!m_password.isEmpty())
        runCommand(u"usermod"_s, {u"--lock"_s, Account});
    if (m_lock >= 0)
        ::close(m_lock);
}

bool Sshd::prepare()
{
    // One server of the account at a time, whatever test process runs it.
    m_lock = serverprocess::lockAccount("/tmp/tessavo-test-sftp.lock");
    if (m_lock < 0) {
        m_error = u"the lock of the test account cannot be taken"_s;
        return false;
    }
    m_cannotRun = serverprocess::makeAccount(Account, u"/nonexistent"_s);
    if (!m_cannotRun.isEmpty())
        return false;
    // The account's home is this server's own folder.
    if (const auto [set, output] = runCommand(u"usermod"_s, {u"--home"_s, root(), Account}); !set) {
        m_error = u"the home of %1 cannot be set: %2"_s.arg(Account, output);
        return false;
    }
    m_password = serverprocess::setRandomPassword(Account, m_error);
    if (m_password.isEmpty())
        return false;
    // sshd refuses to start without its privilege separation folder, which
    // the system's ssh service makes when it starts.
    ::mkdir("/run/sshd", 0755);

    const QDir folder(m_folder.path());
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                             | QFileDevice::ReadOther | QFileDevice::ExeOther | QFileDevice::ReadGroup
                                             | QFileDevice::ExeGroup);
    folder.mkpath(u"racine"_s);
    const passwd *account = ::getpwnam(Account.toLatin1().constData());
    if (!account || ::chown(QFile::encodeName(root()).constData(), account->pw_uid, account->pw_gid) != 0) {
        m_error = u"the home folder cannot be given to the account"_s;
        return false;
    }
    // A key of each type, as Debian's server makes them; and the client's.
    for (const auto &[type, file] : {std::pair{u"rsa"_s, u"hote_rsa"_s}, std::pair{u"ecdsa"_s, u"hote_ecdsa"_s},
                                     std::pair{u"ed25519"_s, u"hote_ed25519"_s}, std::pair{u"ed25519"_s, u"client"_s}}) {
        const QStringList size = type == u"rsa"_s ? QStringList{u"-b"_s, u"2048"_s} : QStringList();
        if (const auto [made, output] = runCommand(KeyGen, QStringList{u"-q"_s, u"-t"_s, type} + size
                                                               + QStringList{u"-N"_s, QString(), u"-C"_s, file, u"-f"_s,
                                                                             folder.filePath(file)});
            !made) {
            m_error = u"the key %1 was not made: %2"_s.arg(file, output);
            return false;
        }
        if (file == u"client"_s)
            continue;
        // "256 SHA256:... hote_ed25519 (ED25519)"
        const auto [listed, fingerprint] = runCommand(KeyGen, {u"-lf"_s, folder.filePath(file + u".pub"_s)});
        if (!listed || !fingerprint.section(u' ', 1, 1).startsWith(u"SHA256:"_s)) {
            m_error = u"the host key's fingerprint was not read: "_s + fingerprint;
            return false;
        }
        m_hostKeys.append(fingerprint);
    }
    QFile::copy(folder.filePath(u"client.pub"_s), folder.filePath(u"cles_autorisees"_s));
    return true;
}

bool Sshd::start()
{
    const QString conf = m_folder.filePath(u"sshd_config"_s);
    // -D: in the foreground, -e: its log on standard error.
    m_port = serverprocess::start(m_process,
                                  {u"sshd"_s, Binary, {u"-D"_s, u"-e"_s, u"-f"_s, conf}, conf,
                                   [this](int port) { return configuration(m_folder.path(), port); },
                                   "SSH-2.0-", u"Address already in use"_s},
                                  m_error);
    return m_port != 0;
}

QString Sshd::root() const
{
    return m_folder.filePath(u"racine"_s);
}

QString Sshd::file(const QString &relative) const
{
    return root() + u'/' + relative;
}

QString Sshd::clientKey() const
{
    return m_folder.filePath(u"client"_s);
}

publishing::FtpLogin Sshd::login() const
{
    publishing::FtpLogin login;
    login.protocol = publishing::Protocol::Sftp;
    login.host = u"127.0.0.1"_s;
    login.port = m_port;
    login.user = Account;
    login.password = m_password;
    for (const QString &line : m_hostKeys)
        login.hostKeys.append(line.section(u' ', 1, 1));
    login.timeoutSeconds = 5;
    return login;
}

void Sshd::writePublicationIni(const QString &folder, const QString &password, const QString &hostKey) const
{
    // The lines of `ssh-keygen -lf` pasted whole, as the README says.
    const QString key = hostKey.isEmpty() ? m_hostKeys.join(u", "_s) : hostKey;
    QFile ini(QDir(folder).filePath(u"publication.ini"_s));
    ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
    ini.write(u"[publication]\r\nprotocole=sftp\r\nhote=127.0.0.1\r\nport=%1\r\nutilisateur=%2\r\nmot_de_passe=\"%3\"\r\n"
              u"adresse_web=127.0.0.1:8000\r\ndelai=5\r\n%4"_s
                  .arg(QString::number(m_port), Account, password.isEmpty() ? m_password : password,
                       key == u"-"_s ? QString() : u"cle_hote=%1\r\n"_s.arg(key))
                  .toUtf8());
}

void Sshd::endSessions()
{
    for (const qint64 pid : sessions())
        ::kill(pid_t(pid), SIGKILL);
}

QList<qint64> Sshd::sessions() const
{
    return serverprocess::sessions(m_process);
}

} // namespace fakes
