#include "serverprocess.h"

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
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace fakes::serverprocess {

namespace {

bool greets(int port, const QByteArray &greeting)
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, quint16(port));
    if (!socket.waitForConnected(200))
        return false;
    QByteArray line;
    while (!line.contains('\n') && socket.waitForReadyRead(2000))
        line += socket.readAll();
    return line.startsWith(greeting);
}

} // namespace

std::pair<bool, QString> runCommand(const QString &program, const QStringList &arguments, const QByteArray &input)
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

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

int lockAccount(const char *lockFile)
{
    const int lock = ::open(lockFile, O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (lock >= 0 && ::flock(lock, LOCK_EX) != 0) {
        ::close(lock);
        return -1;
    }
    return lock;
}

QString makeAccount(const QString &account, const QString &home)
{
    if (::getpwnam(account.toLatin1().constData()))
        return {};
    const auto [made, output] = runCommand(u"useradd"_s, {u"--system"_s, u"--no-create-home"_s, u"--home-dir"_s, home,
                                                          u"--shell"_s, u"/usr/sbin/nologin"_s, account});
    if (!made && !::getpwnam(account.toLatin1().constData()))
        return u"the test account %1 cannot be made: %2"_s.arg(account, output);
    return {};
}

QString setRandomPassword(const QString &account, QString &error)
{
    const QString password = QString::number(QRandomGenerator::system()->generate64(), 16);
    // A quick hash: every login checks it, and the password is drawn at random.
    if (const auto [set, output] = runCommand(u"chpasswd"_s, {u"--crypt-method"_s, u"SHA512"_s, u"--sha-rounds"_s, u"1000"_s},
                                              (account + u':' + password + u'\n').toLatin1());
        !set) {
        error = u"the password of %1 cannot be set: %2"_s.arg(account, output);
        return {};
    }
    return password;
}

int start(QProcess &process, const Launch &launch, QString &error)
{
    // The sessions that outlive the server become this process's children.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int port = freePort();
        QFile file(launch.configurationFile);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(launch.configuration(port).toUtf8());
        file.close();
        QFile::setPermissions(launch.configurationFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(launch.program, launch.arguments);
        process.waitForStarted();
        QElapsedTimer clock;
        clock.start();
        while (process.state() == QProcess::Running && clock.elapsed() < 5000) {
            if (greets(port, launch.greeting))
                return port;
            QThread::msleep(20);
        }
        const QString said = QString::fromLocal8Bit(process.readAll());
        process.kill();
        process.waitForFinished();
        // The port was taken between the probe and the start: another one.
        if (!said.contains(launch.portTaken)) {
            error = launch.name + u" did not start: "_s + said;
            return 0;
        }
    }
    error = launch.name + u" found no free port"_s;
    return 0;
}

QList<qint64> sessions(const QProcess &process)
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
    // Each session is a process of its own, somewhere below the listener.
    QList<qint64> found;
    const qint64 server = process.processId();
    for (auto child = parents.cbegin(); child != parents.cend(); ++child) {
        for (qint64 parent = child.value(); parent > 1; parent = parents.value(parent)) {
            if (parent == server) {
                found.append(child.key());
                break;
            }
        }
    }
    return found;
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    const QList<qint64> open = sessions(process);
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(3000);
    for (const qint64 pid : open)
        ::kill(pid_t(pid), SIGKILL);
    reapOrphans();
}

void reapOrphans()
{
    // None lingers on a machine whose first process does not reap.
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

} // namespace fakes::serverprocess
