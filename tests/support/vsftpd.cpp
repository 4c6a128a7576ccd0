#include "vsftpd.h"

#include "serverprocess.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace fakes {

namespace {

using serverprocess::runCommand;

const QString Account = u"tessavo-test-ftp"_s;
const QString Binary = u"/usr/sbin/vsftpd"_s;

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
    serverprocess::stop(m_process);
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
    m_lock = serverprocess::lockAccount("/tmp/tessavo-test-ftp.lock");
    if (m_lock < 0) {
        m_error = u"the lock of the test account cannot be taken"_s;
        return false;
    }
    m_cannotRun = serverprocess::makeAccount(Account, u"/"_s);
    if (!m_cannotRun.isEmpty())
        return false;
    const passwd *account = ::getpwnam(Account.toLatin1().constData());
    // vsftpd enters the account's home before its root: "/" is always reachable.
    if (QString::fromLocal8Bit(account->pw_dir) != u"/"_s)
        runCommand(u"usermod"_s, {u"--home"_s, u"/"_s, Account});
    m_password = serverprocess::setRandomPassword(Account, m_error);
    if (m_password.isEmpty())
        return false;

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
    m_port = serverprocess::start(m_process,
                                  {u"vsftpd"_s, Binary, {conf}, conf,
                                   [this](int port) { return configuration(m_folder.path(), root(), port); }, "220",
                                   u"could not bind"_s},
                                  m_error);
    return m_port != 0;
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
    return serverprocess::sessions(m_process);
}

bool Vsftpd::enlargeSmallDisk()
{
    const QByteArray disk = QFile::encodeName(file(m_options.smallDisk));
    return !m_options.smallDisk.isEmpty()
           && ::mount(nullptr, disk.constData(), "tmpfs", MS_REMOUNT, "size=4m") == 0;
}

} // namespace fakes
