// The launcher's and the connection's decisions against a table of made-up
// processes and ports: no server is started, no port is bound.

#include "localhost/decisions.h"
#include "localhost/host.h"
#include "localhost/launcher.h"
#include "localhost/record.h"
#include "testfiles.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int FtpPort = 24117;
constexpr int WebPort = 29305;
constexpr qint64 RecordedPid = 4242;
constexpr qint64 StartedPid = 5000;
constexpr uint Teacher = 1000;

struct FakeProcess
{
    qint64 startTime = 100;
    uint owner = Teacher;
    QString executable = u"/usr/bin/python3.11"_s;
    QStringList arguments;
    QList<int> listening;
};

// The process table and the ports, as /proc and a bind would tell them.
struct FakeSystem
{
    QMap<qint64, FakeProcess> processes;
    QList<int> heldElsewhere;  // ports another program listens on

    localhost::Probes probes()
    {
        localhost::Probes probes;
        probes.startTimeOf = [this](qint64 pid) {
            return processes.contains(pid) ? std::optional<qint64>(processes.value(pid).startTime) : std::nullopt;
        };
        probes.ownerOf = [this](qint64 pid) {
            return processes.contains(pid) ? std::optional<uint>(processes.value(pid).owner) : std::nullopt;
        };
        probes.executableOf = [this](qint64 pid) { return processes.value(pid).executable; };
        probes.argumentsOf = [this](qint64 pid) { return processes.value(pid).arguments; };
        probes.listensOn = [this](qint64 pid, int port) { return processes.value(pid).listening.contains(port); };
        probes.portIsFree = [this](int port) {
            if (heldElsewhere.contains(port))
                return false;
            return std::none_of(processes.cbegin(), processes.cend(),
                                [port](const FakeProcess &p) { return p.listening.contains(port); });
        };
        probes.user = Teacher;
        return probes;
    }
};

// The launcher's server as it runs for a published folder.
FakeProcess ourServer(const QString &servedFolder, int ftpPort = FtpPort, int webPort = WebPort)
{
    FakeProcess server;
    server.arguments = {u"/usr/bin/python3"_s, u"/usr/lib/tessavo/tessavo-publication-server"_s,
                        u"--dossier-publie"_s, servedFolder, u"--port-ftp"_s, QString::number(ftpPort)};
    server.listening = {ftpPort, webPort};
    return server;
}

// A working folder with the program's own publication.ini and a state
// folder, both in a temporary folder.
struct Folders
{
    QTemporaryDir root;
    QString working;
    QString state;

    Folders()
    {
        QDir(root.path()).mkdir(u"travail"_s);
        working = QFileInfo(root.filePath(u"travail"_s)).canonicalFilePath();
        state = root.filePath(u"etat"_s);
    }
    QString served() const { return working + u"-publication"_s; }
    QString ini() const { return QDir(working).filePath(u"publication.ini"_s); }
    void writeOwnIni() const { writeFile(ini(), localhost::freshPublicationIni(FtpPort, WebPort, u"0a1b2c3d4e5f6789"_s)); }
    void writeRecord(int ftpPort = FtpPort, int webPort = WebPort) const
    {
        QDir().mkpath(state);
        localhost::writeRecord(localhost::recordPath(state, working),
                               {working, served(), RecordedPid, 100, ftpPort, webPort, false});
    }
};

} // namespace

// The password goes to the own host only when the process its record names
// is this folder's server and listens on the file's port.
TEST(LocalHostDecisions, MayLogInOnlyToThisFoldersServerAsTheProcessTableShowsIt)
{
    const struct
    {
        const char *name;
        bool ownFile;
        int recordedPort;
        std::function<void(FakeSystem &, const QString &served)> change;
        const char *refusal;  // nothing: may log in
    } cases[] = {
        {"our server, listening on the file's port", true, FtpPort, {}, nullptr},
        {"the recorded process gone, nothing on the port", true, FtpPort,
         [](FakeSystem &s, const QString &) { s.processes.remove(RecordedPid); }, "rien n'écoute sur le port 24117"},
        {"the recorded process gone, another program on the port", true, FtpPort,
         [](FakeSystem &s, const QString &) {
             s.processes.remove(RecordedPid);
             s.heldElsewhere = {FtpPort};
         },
         "tenu par un autre programme"},
        {"the same number, another process started later", true, FtpPort,
         [](FakeSystem &s, const QString &) { s.processes[RecordedPid].startTime = 101; }, "Rien ne lui a été envoyé"},
        {"another user's process", true, FtpPort, [](FakeSystem &s, const QString &) { s.processes[RecordedPid].owner = 1001; },
         "tenu par un autre programme"},
        {"not run by Python", true, FtpPort,
         [](FakeSystem &s, const QString &) { s.processes[RecordedPid].executable = u"/usr/bin/perl"_s; },
         "tenu par un autre programme"},
        {"Python running another script", true, FtpPort,
         [](FakeSystem &s, const QString &) { s.processes[RecordedPid].arguments[1] = u"/tmp/serveur.py"_s; },
         "tenu par un autre programme"},
        {"our server over another folder", true, FtpPort,
         [](FakeSystem &s, const QString &) { s.processes[RecordedPid].arguments[3] = u"/tmp/ailleurs"_s; },
         "tenu par un autre programme"},
        {"a process that merely mentions the folder", true, FtpPort,
         [](FakeSystem &s, const QString &served) {
             s.processes[RecordedPid].arguments = {u"/usr/bin/python3"_s, u"-c"_s, u"--dossier-publie"_s, served};
         },
         "tenu par un autre programme"},
        {"our server, listening on the web port only", true, FtpPort,
         [](FakeSystem &s, const QString &) { s.processes[RecordedPid].listening = {WebPort}; },
         "rien n'écoute sur le port 24117"},
        {"a record for another port", true, FtpPort + 1, {}, "tenu par un autre programme"},
        {"a person's publication.ini, nothing running", false, FtpPort,
         [](FakeSystem &s, const QString &) { s.processes.clear(); }, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        if (c.ownFile)
            folders.writeOwnIni();
        else
            writeFile(folders.ini(), "[publication]\r\nhote=127.0.0.1\r\nport=24117\r\nutilisateur=prof\r\n"
                                     "mot_de_passe=x\r\nadresse_web=127.0.0.1:29305\r\n");
        folders.writeRecord(c.recordedPort);
        FakeSystem system;
        system.processes[RecordedPid] = ourServer(folders.served());
        if (c.change)
            c.change(system, folders.served());
        const workspace::Result<void> verdict = localhost::mayLogIn(
            folders.working, publishing::readPublicationSettings(folders.working), folders.state, system.probes());
        EXPECT_EQ(verdict.ok(), c.refusal == nullptr) << verdict.reason().toStdString();
        if (c.refusal) {
            EXPECT_TRUE(verdict.reason().contains(QString::fromUtf8(c.refusal))) << visible(verdict.reason());
        }
    }
}

namespace {

// The launcher's system over the fake table: a start adds our server (or
// what the case makes of it), a stop removes the process and is noted.
struct FakeLauncher
{
    FakeSystem table;
    bool logsIn = true;
    QList<qint64> stopped;
    int starts = 0;

    localhost::LauncherSystem system()
    {
        localhost::LauncherSystem system;
        system.probes = table.probes();
        system.startServer = [this](const localhost::LocalHost &host, const QString &) {
            ++starts;
            table.processes[StartedPid] = ourServer(host.servedFolder, host.ftpPort, host.webPort);
            table.processes[StartedPid].startTime = 200;
            return StartedPid;
        };
        system.stop = [this](qint64 pid, qint64) {
            stopped << pid;
            table.processes.remove(pid);
        };
        system.logsIn = [this](const publishing::PublicationSettings &) { return logsIn; };
        system.networkAddress = [] { return u"192.168.1.20"_s; };
        return system;
    }
};

} // namespace

TEST(LocalHostDecisions, TheLauncherStartsKeepsReplacesOrLeavesAloneAsItFinds)
{
    enum Ini { None, Own, Persons, OwnNamingAnotherHost };
    const struct
    {
        const char *name;
        Ini ini;
        bool record;
        std::function<void(FakeLauncher &)> change;
        int exitCode;
        const char *said;  // in the output, or in the error when exitCode is 1
        int starts;
        QList<qint64> stopped;
        qint64 recordedPid;  // 0: no record left
    } cases[] = {
        {"a fresh folder: publication.ini written and its host started", None, false, {}, 0,
         "démarré pour", 1, {}, StartedPid},
        {"a person's publication.ini: nothing started", Persons, false, {}, 0,
         "n'a pas été écrit par Tessavo", 0, {}, 0},
        {"the program's file naming another host: nothing started", OwnNamingAnotherHost, false, {}, 0,
         "nomme l'hôte ftp.ecole.fr", 0, {}, 0},
        {"our server running as the file says: kept", Own, true, {}, 0, "déjà en marche", 0, {}, RecordedPid},
        {"our server refusing the account: replaced", Own, true,
         [](FakeLauncher &f) { f.logsIn = false; }, 1, "n'accepte pas le compte", 1, {RecordedPid, StartedPid}, 0},
        {"our server no longer listening on the file's ports: replaced", Own, true,
         [](FakeLauncher &f) { f.table.processes[RecordedPid].listening = {FtpPort + 1, WebPort + 1}; }, 0,
         "démarré pour", 1, {RecordedPid}, StartedPid},
        {"the recorded number is another program's: left alone, a server started", Own, true,
         [](FakeLauncher &f) {
             f.table.processes[RecordedPid].executable = u"/usr/bin/perl"_s;
             f.table.processes[RecordedPid].listening = {};
         },
         0, "démarré pour", 1, {}, StartedPid},
        {"the web port held by another program: nothing started", Own, false,
         [](FakeLauncher &f) { f.table.heldElsewhere = {WebPort}; }, 1,
         "le port 29305 de cet ordinateur (clé adresse_web de publication.ini) est déjà pris", 0, {}, 0},
        {"the started server refusing the account: stopped and told", Own, false,
         [](FakeLauncher &f) { f.logsIn = false; }, 1, "n'accepte pas le compte", 1, {StartedPid}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Folders folders;
        if (c.ini == Own)
            folders.writeOwnIni();
        if (c.ini == Persons)
            writeFile(folders.ini(), "[publication]\r\nhote=127.0.0.1\r\nport=2121\r\n");
        if (c.ini == OwnNamingAnotherHost)
            writeFile(folders.ini(), localhost::freshPublicationIni(FtpPort, WebPort, u"0a1b2c3d4e5f6789"_s)
                                         .replace("hote=127.0.0.1", "hote=ftp.ecole.fr"));
        FakeLauncher fake;
        if (c.record) {
            folders.writeRecord(FtpPort, WebPort);
            fake.table.processes[RecordedPid] = ourServer(folders.served());
        }
        if (c.change)
            c.change(fake);
        const localhost::LauncherOutcome outcome =
            localhost::runLauncher(false, folders.working, folders.state, fake.system());
        EXPECT_EQ(outcome.exitCode, c.exitCode) << visible(outcome.error);
        const QString told = c.exitCode == 0 ? outcome.output : outcome.error;
        EXPECT_TRUE(told.contains(QString::fromUtf8(c.said))) << visible(told);
        EXPECT_EQ(fake.starts, c.starts);
        EXPECT_EQ(fake.stopped, c.stopped);
        const std::optional<localhost::HostRecord> record =
            localhost::readRecord(localhost::recordPath(folders.state, folders.working));
        EXPECT_EQ(record ? record->pid : 0, c.recordedPid);
        if (c.ini == None) {
            EXPECT_TRUE(localhost::isProgramsOwnIni(folders.working));
            EXPECT_TRUE(outcome.output.endsWith(u"publication.ini vient d'être écrit, avec un mot de passe tiré au hasard."_s))
                << visible(outcome.output);
        }
    }
}
