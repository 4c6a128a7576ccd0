#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

// What the real servers of the tests (vsftpd, sshd) share: a system account
// of their own, a free port on loopback, a start that waits for the
// greeting, and an end that leaves no session behind.
namespace fakes::serverprocess {

// Runs a command of the system; whether it succeeded, and its output.
std::pair<bool, QString> runCommand(const QString &program, const QStringList &arguments,
                                    const QByteArray &input = {});

// A port of 127.0.0.1 that nothing listens on now.
int freePort();

// Waits for the file lock that lets one server of the account run at a time,
// whatever test process runs it; its descriptor, or -1.
int lockAccount(const char *lockFile);

// Makes the system account when it is missing; why it cannot, or empty.
QString makeAccount(const QString &account, const QString &home);

// Gives the account a password drawn at random; the password, or empty with
// the reason in `error`.
QString setRandomPassword(const QString &account, QString &error);

struct Launch {
    QString name;                                // "vsftpd"
    QString program;
    QStringList arguments;                       // the configuration file among them
    QString configurationFile;
    std::function<QString(int port)> configuration;
    QByteArray greeting;                         // how its first line starts: "220"
    QString portTaken;                           // what it says when the port is taken
};

// Starts the server on a free port, with another one when the port was taken
// meanwhile; the port once it greets, or 0 with the reason in `error`.
int start(QProcess &process, const Launch &launch, QString &error);

// The processes below the server: its sessions.
QList<qint64> sessions(const QProcess &process);

// Ends the server and its sessions, then reaps what this process inherited.
void stop(QProcess &process);

// Reaps for two seconds the children this process inherited as subreaper.
void reapOrphans();

} // namespace fakes::serverprocess
