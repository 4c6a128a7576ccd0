#include "vsftpd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace fakes {

namespace {

const QString Account = u"tessavo-test-ftp"_s;
const QString Binary = u"/usr/sbin/vsftpd"_s;

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

QString configuration(const QString &folder, const QString &root, int port)
{
    return uR"(listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=%3
background=NO
anonymous_enable=NO
local_enable=YES
write_enable=YES
local_umask=022
chroot_local_user=YES
allow_writeable_chroot=YES
local_root=%2
secure_chroot_dir=%1/vide
# No file of this name in /etc/pam.d: PAM's own "other" applies (the system's
# passwords, no check of the account's shell, which cannot log in).
pam_service_name=tessavo-test-ftp
ssl_enable=YES
allow_anon_ssl=NO
force_local_logins_ssl=YES
force_local_data_ssl=YES
rsa_cert_file=%1/cert.pem
rsa_private_key_file=%1/key.pem
max_login_fails=3
delay_failed_login=0
xferlog_enable=YES
log_ftp_protocol=YES
vsftpd_log_file=%1/vsftpd.log
)"_s.arg(folder, root, QString::number(port));
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// The 220 greeting of a server on the port.
bool greets(int port)
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, quint16(port));
    if (!socket.waitForConnected(200))
        return false;
    QByteArray line;
    while (!line.contains('\n') && socket.waitForReadyRead(2000))
        line += socket.readAll();
    return line.startsWith("220");
}

} // namespace

Vsftpd::Vsftpd()
    : Vsftpd(Options())
{
}

Vsftpd::Vsftpd(const Options &options)
    : m_options(options)
    , m_folder(u"/tmp/tessavo-vsftpd-XXXXXX"_s)
{
    if (::geteuid() != 0) {
        m_cannotRun = u"vsftpd logs in real accounts of the system, which only root can make: run the tests as root"_s;
        return;
    }
    if (!QFileInfo(Binary).isExecutable()) {
        m_cannotRun = Binary + u" is not installed (Debian's vsftpd package)"_s;
        return;
    }
    if (prepare())
        start();
}

Vsftpd::~Vsftpd()
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
        // are reaped here, so that none lingers on a machine whose first
        // process does not reap.
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
    if (!m_options.smallDisk.isEmpty())
        ::umount2(QFile::encodeName(file(m_options.smallDisk)).constData(), MNT_DETACH);
    if (m_lock >= 0)
        ::close(m_lock);
}

bool Vsftpd::prepare()
{
    // One server of the account at a time, whatever test process runs it.
    m_lock = ::open("/tmp/tessavo-test-ftp.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (m_lock < 0 || ::flock(m_lock, LOCK_EX) != 0) {
        m_error = u"the lock of the test account cannot be taken"_s;
        return false;
    }
    if (!::getpwnam(Account.toLatin1().constData())) {
        const auto [made, output] = runCommand(u"useradd"_s, {u"--system"_s, u"--no-create-home"_s, u"--home-dir"_s,
                                                              u"/"_s, u"--shell"_s, u"/usr/sbin/nologin"_s, Account});
        if (!made && !::getpwnam(Account.toLatin1().constData())) {
            m_cannotRun = u"the test account %1 cannot be made: %2"_s.arg(Account, output);
            return false;
        }
    }
    const passwd *account = ::getpwnam(Account.toLatin1().constData());
    // vsftpd enters the account's home before its root: "/" is always reachable.
    if (QString::fromLocal8Bit(account->pw_dir) != u"/"_s)
        runCommand(u"usermod"_s, {u"--home"_s, u"/"_s, Account});
    m_password = QString::number(QRandomGenerator::system()->generate64(), 16);
    // A quick hash: every login checks it, and the password is drawn at random.
    if (const auto [set, output] = runCommand(u"chpasswd"_s, {u"--crypt-method"_s, u"SHA512"_s, u"--sha-rounds"_s, u"1000"_s},
                                              (Account + u':' + m_password + u'\n').toLatin1());
        !set) {
        m_error = u"the password of %1 cannot be set: %2"_s.arg(Account, output);
        return false;
    }

    // The folder and every folder above the root are reachable by the account.
    const QDir folder(m_folder.path());
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                             | QFileDevice::ReadOther | QFileDevice::ExeOther | QFileDevice::ReadGroup
                                             | QFileDevice::ExeGroup);
    folder.mkpath(u"vide"_s);
    folder.mkpath(u"racine"_s);
    if (::chown(QFile::encodeName(root()).constData(), account->pw_uid, account->pw_gid) != 0) {
        m_error = u"the root folder cannot be given to the account"_s;
        return false;
    }
    if (const auto [made, output] = runCommand(u"/usr/bin/python3"_s, {QStringLiteral(TESSAVO_FTPSERVER_SCRIPT),
                                                                       u"--make-certificate"_s, folder.path()});
        !made) {
        m_error = u"the test certificate was not made: "_s + output;
        return false;
    }
    if (!m_options.smallDisk.isEmpty()) {
        const QByteArray disk = QFile::encodeName(file(m_options.smallDisk));
        QDir().mkpath(file(m_options.smallDisk));
        const QByteArray options = "size=64k,mode=755,uid=" + QByteArray::number(account->pw_uid)
                                   + ",gid=" + QByteArray::number(account->pw_gid);
        // In a view of the mounts of this process and its children alone, so
        // that nothing outlives the test.
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("tmpfs", disk.constData(), "tmpfs", 0, options.constData()) != 0) {
            m_cannotRun = u"a small disk cannot be mounted here: "_s + QString::fromLocal8Bit(std::strerror(errno));
            m_options.smallDisk.clear();
            return false;
        }
    }
    return true;
}

bool Vsftpd::start()
{
    const QString conf = m_folder.filePath(u"vsftpd.conf"_s);
    // The sessions that outlive the server become this process's children.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freePort();
        QFile file(conf);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(configuration(m_folder.path(), root(), m_port).toUtf8());
        file.close();
        QFile::setPermissions(conf, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(Binary, {conf});
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
        if (!said.contains(u"could not bind"_s)) {
            m_error = u"vsftpd did not start: "_s + said;
            break;
        }
    }
    if (m_error.isEmpty())
        m_error = u"vsftpd found no free port"_s;
    m_port = 0;
    return false;
}

QString Vsftpd::root() const
{
    return m_folder.filePath(u"racine"_s);
}

QString Vsftpd::file(const QString &relative) const
{
    return root() + u'/' + relative;
}

QString Vsftpd::certificate() const
{
    return m_folder.filePath(u"cert.pem"_s);
}

publishing::FtpLogin Vsftpd::login() const
{
    publishing::FtpLogin login;
    login.host = u"127.0.0.1"_s;
    login.port = m_port;
    login.user = Account;
    login.password = m_password;
    login.tls = true;
    login.caFile = certificate();
    login.timeoutSeconds = 5;
    return login;
}

void Vsftpd::writePublicationIni(const QString &folder, const QString &password) const
{
    QFile ini(QDir(folder).filePath(u"publication.ini"_s));
    ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
    ini.write(u"[publication]\r\nhote=127.0.0.1\r\nport=%1\r\nutilisateur=%2\r\nmot_de_passe=\"%3\"\r\n"
              u"adresse_web=127.0.0.1:8000\r\ntls=oui\r\ndelai=5\r\ncertificat=%4\r\n"_s
                  .arg(QString::number(m_port), Account, password.isEmpty() ? m_password : password, certificate())
                  .toUtf8());
}

void Vsftpd::endSessions()
{
    for (const qint64 pid : sessions())
        ::kill(pid_t(pid), SIGKILL);
}

QList<qint64> Vsftpd::sessions() const
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
    // vsftpd makes each session a process group of its own: follow the parents.
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

bool Vsftpd::enlargeSmallDisk()
{
    const QByteArray disk = QFile::encodeName(file(m_options.smallDisk));
    return !m_options.smallDisk.isEmpty()
           && ::mount(nullptr, disk.constData(), "tmpfs", MS_REMOUNT, "size=4m") == 0;
}

} // namespace fakes
