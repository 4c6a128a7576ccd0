#pragma once

// A program on a loopback port that is not a publishing host: it greets each
// connection with one line, keeps it open, and records every byte it
// receives, to be read back by the test. Optionally run as the user nobody,
// as another user of a shared computer would (the test must run as root).
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

namespace testlistener {

using namespace Qt::StringLiterals;

class Listener
{
public:
    // port 0: any free port.
    explicit Listener(const QByteArray &greeting, int port = 0, bool asNobody = false)
    {
        const QString received = m_folder.filePath(u"recu"_s);
        QFile::setPermissions(m_folder.path(), QFileDevice::Permissions(0x7777));
        const QString script = uR"(
import socket, sys, threading
received = open(sys.argv[3], "ab", buffering=0)
server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)  # as servers do: a closed connection's port is free
server.bind(("127.0.0.1", int(sys.argv[2])))
server.listen(50)
print(server.getsockname()[1], flush=True)
def serve(connection):
    connection.sendall(sys.argv[1].encode() + b"\r\n")
    while True:
        data = connection.recv(4096)
        if not data:
            break
        received.write(data)
while True:
    connection, _ = server.accept()
    received.write(b"<connexion>")
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
)"_s;
        QStringList arguments{u"-c"_s, script, QString::fromUtf8(greeting), QString::number(port), received};
        QString program = u"/usr/bin/python3"_s;
        if (asNobody) {
            arguments.prepend(program);
            arguments = QStringList{u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, u"--"_s} + arguments;
            program = u"/usr/bin/setpriv"_s;
        }
        m_process.start(program, arguments);
        if (m_process.waitForReadyRead(10000))
            m_port = m_process.readLine().trimmed().toInt();
    }

    ~Listener()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    int port() const { return m_port; }
    qint64 pid() const { return m_process.processId(); }

    // Everything received so far, each connection marked "<connexion>".
    QByteArray received() const
    {
        QThread::msleep(200);  // what is under way arrives
        QFile file(m_folder.filePath(u"recu"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    int m_port = 0;
};

} // namespace testlistener
