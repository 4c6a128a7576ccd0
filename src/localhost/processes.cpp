#include "processes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace localhost::processes {

namespace {

QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    // Files of /proc have no size: read until the end.
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? file.readAll() : QByteArray();
}

// The socket inodes listening on port, on loopback or on every address.
QList<QByteArray> listeningInodes(int port)
{
    const QByteArray portHex = QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    QList<QByteArray> inodes;
    const QList<QByteArray> lines = readProcFile(u"/proc/net/tcp"_s).split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 10 || fields.at(3) != "0A")  // 0A: listening
            continue;
        const QList<QByteArray> local = fields.at(1).split(':');
        if (local.size() != 2 || local.at(1) != portHex)
            continue;
        const QByteArray &address = local.at(0);
        // 127.0.0.1 in the machine's byte order, or any address.
        if (address == "0100007F" || address == "7F000001" || address == "00000000")
            inodes.append(fields.at(9));
    }
    return inodes;
}

// The fields of a process's stat line from its state on, or none.
QList<QByteArray> statFields(qint64 pid)
{
    const QByteArray stat = readProcFile(u"/proc/%1/stat"_s.arg(pid));
    // "pid (name) state ppid ...": the name may hold blanks and parentheses.
    const qsizetype end = stat.lastIndexOf(')');
    if (end < 0)
        return {};
    const QList<QByteArray> fields = stat.mid(end + 2).split(' ');
    return fields.size() < 20 ? QList<QByteArray>() : fields;
}

// The start time in a stat line's fields: the 22nd of the line.
std::optional<qint64> startTimeIn(const QList<QByteArray> &fields)
{
    bool ok = false;
    const qint64 start = fields.isEmpty() ? 0 : fields.at(19).toLongLong(&ok);
    return ok ? std::optional<qint64>(start) : std::nullopt;
}

} // namespace

std::optional<qint64> startTimeOf(qint64 pid)
{
    const QList<QByteArray> fields = statFields(pid);
    if (fields.isEmpty() || fields.at(0) == "Z")
        return std::nullopt;
    return startTimeIn(fields);
}

QString commandLineOf(qint64 pid)
{
    QByteArray line = readProcFile(u"/proc/%1/cmdline"_s.arg(pid));
    line.replace('\0', ' ');
    return QString::fromLocal8Bit(line.trimmed());
}

QStringList argumentsOf(qint64 pid)
{
    QByteArray line = readProcFile(u"/proc/%1/cmdline"_s.arg(pid));
    if (line.endsWith('\0'))
        line.chop(1);
    QStringList arguments;
    if (line.isEmpty())
        return arguments;
    for (const QByteArray &argument : line.split('\0'))
        arguments.append(QFile::decodeName(argument));
    return arguments;
}

std::optional<uint> ownerOf(qint64 pid)
{
    struct stat status{};
    if (::stat(QFile::encodeName(u"/proc/%1"_s.arg(pid)).constData(), &status) != 0)
        return std::nullopt;
    return uint(status.st_uid);
}

QString executableOf(qint64 pid)
{
    return QFile::symLinkTarget(u"/proc/%1/exe"_s.arg(pid));
}

bool listensOn(qint64 pid, int port)
{
    const QList<QByteArray> inodes = listeningInodes(port);
    if (inodes.isEmpty())
        return false;
    const QDir fds(u"/proc/%1/fd"_s.arg(pid));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QByteArray target = QFile::encodeName(QFile::symLinkTarget(fds.filePath(fd)));
        for (const QByteArray &inode : inodes) {
            if (target.endsWith("socket:[" + inode + "]"))
                return true;
        }
    }
    return false;
}

bool portIsFree(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // As the servers bind: a port that only lingers after a closed
    // connection is free.
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool free = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return free;
}

void stop(qint64 pid, qint64 startTime)
{
    // 0 and below would signal whole process groups.
    if (pid <= 0)
        return;
    // A process whose first thread has ended shows as a zombie while its
    // other threads are still ending, its sockets still open: it has ended
    // only once no thread is left but the first.
    const auto running = [&] {
        const QList<QByteArray> fields = statFields(pid);
        if (startTimeIn(fields) != startTime)
            return false;
        return fields.at(0) != "Z"
               || QDir(u"/proc/%1/task"_s.arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() > 1;
    };
    for (const int signal : {SIGTERM, SIGKILL}) {
        if (!running())
            return;
        ::kill(pid_t(pid), signal);
        QElapsedTimer clock;
        clock.start();
        while (running() && clock.elapsed() < 5000)
            QThread::msleep(20);
    }
}

} // namespace localhost::processes
