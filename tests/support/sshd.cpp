#include "sshd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace fakes {

namespace {

const QString Account = u"tessavo-test-sftp"_s;
const QString Binary = u"/usr/sbin/sshd"_s;
const QString KeyGen = u"/usr/bin/ssh-keygen"_s;

// Runs a command of the system; its output, and whether it succeeded.
std::pair<bool, QString> runCommand(const QString &program, const QStringList &arguments,
                                    const QByteArray &input = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(20000);
    return {finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromLocal8Bit(process.readAll()).trimmed()};
}

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

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// The "SSH-2.0-..." greeting of a server on the port.
bool greets(int port)
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, quint16(port));
    if (!socket.waitForConnected(200))
        return false;
    QByteArray line;
    while (!line.contains('\n') && socket.waitForReadyRead(2000))
        line += socket.readAll();
    return line.startsWith("SSH-2.0-");
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
    if (prepare() && !start(freePort()))
        m_port = 0;
}

Sshd::~Sshd()
{
    if (m_process.state() != QProcess::NotRunning) {
        const QList<qint64> open = sessions();
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
        for (const qint64 pid : open)
            ::kill(pid_t(pid), SIGKILL);
        // The sessions left behind come to this process (see start()): they
        // are reaped here.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2000) {
            const pid_t reaped = ::waitpid(-1, nullptr, WNOHANG);
            if (reaped < 0)
                break;
            if (reaped == 0)
                QThread::msleep(10);
        }
    }
    if (!m_password.isEmpty())
        runCommand(u"usermod"_s, {u"--lock"_s, Account});
    if (m_lock >= 0)
        ::close(m_lock);
}

bool Sshd::prepare()
{
    // One server of the account at a time, whatever test process runs it.
    m_lock = ::open("/tmp/tessavo-test-sftp.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (m_lock < 0 || ::flock(m_lock, LOCK_EX) != 0) {
        m_error = u"the lock of the test account cannot be taken"_s;
        return false;
    }
    if (!::getpwnam(Account.toLatin1().constData())) {
        const auto [made, output] = runCommand(u"useradd"_s, {u"--system"_s, u"--no-create-home"_s, u"--home-dir"_s,
                                                              u"/nonexistent"_s, u"--shell"_s, u"/usr/sbin/nologin"_s, Account});
        if (!made && !::getpwnam(Account.toLatin1().constData())) {
            m_cannotRun = u"the test account %1 cannot be made: %2"_s.arg(Account, output);
            return false;
        }
    }
    // The account's home is this server's own folder.
    if (const auto [set, output] = runCommand(u"usermod"_s, {u"--home"_s, root(), Account}); !set) {
        m_error = u"the home of %1 cannot be set: %2"_s.arg(Account, output);
        return false;
    }
    m_password = QString::number(QRandomGenerator::system()->generate64(), 16);
    if (const auto [set, output] = runCommand(u"chpasswd"_s, {u"--crypt-method"_s, u"SHA512"_s, u"--sha-rounds"_s, u"1000"_s},
                                              (Account + u':' + m_password + u'\n').toLatin1());
        !set) {
        m_error = u"the password of %1 cannot be set: %2"_s.arg(Account, output);
        return false;
    }
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

bool Sshd::start(int port)
{
    const QString conf = m_folder.filePath(u"sshd_config"_s);
    // The sessions that outlive the server become this process's children.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    for (int attempt = 0; attempt < 5; ++attempt, port = freePort()) {
        m_port = port;
        QFile file(conf);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(configuration(m_folder.path(), m_port).toUtf8());
        file.close();
        QFile::setPermissions(conf, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        m_process.setProcessChannelMode(QProcess::MergedChannels);
        // -D: in the foreground, -e: its log on standard error.
        m_process.start(Binary, {u"-D"_s, u"-e"_s, u"-f"_s, conf});
        m_process.waitForStarted();
        QElapsedTimer clock;
        clock.start();
        while (m_process.state() == QProcess::Running && clock.elapsed() < 5000) {
            if (greets(m_port))
                return true;
            QThread::msleep(20);
        }
        const QString said = QString::fromLocal8Bit(m_process.readAll());
        m_process.kill();
        m_process.waitForFinished();
        // The port was taken between the probe and the start: another one.
        if (!said.contains(u"Address already in use"_s)) {
            m_error = u"sshd did not start: "_s + said;
            return false;
        }
    }
    m_error = u"sshd found no free port"_s;
    return false;
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
    // Parent of each running process, from "pid (name) state ppid ...".
    QHash<qint64, qint64> parents;
    for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            parents.insert(pid, fields.at(1).toLongLong());
    }
    // sshd makes each session a process of its own, below the listener.
    QList<qint64> found;
    const qint64 server = m_process.processId();
    for (auto process = parents.cbegin(); process != parents.cend(); ++process) {
        for (qint64 parent = process.value(); parent > 1; parent = parents.value(parent)) {
            if (parent == server) {
                found.append(process.key());
                break;
            }
        }
    }
    return found;
}

} // namespace fakes
