// The program's start of its working folder's local publishing host: where
// it finds the launcher, when it runs it, and what the teacher is told when
// the host does not run.
#include "localhost/start.h"
#include "localhost/connexion.h"
#include "localhost/host.h"
#include "localhost/record.h"
#include "testfiles.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <optional>

#ifdef TESSAVO_PUBLICATION_HOST
#include <QTcpSocket>

#include <sys/prctl.h>
#include <sys/wait.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString Consequence = u"\n\nTessavo démarre sans lui : l'enregistrement d'un élève et la publication ne "
                            u"l'atteindront pas. Une fois la cause corrigée, redémarrez Tessavo."_s;
const QString NotStarted = u"Le serveur de publication local de ce dossier de travail n'a pas pu être démarré : "_s;

QByteArray iniFor(const QByteArray &host)
{
    return "[publication]\r\nhote=" + host + "\r\nport=24117\r\nutilisateur=tessavo\r\nmot_de_passe=3f9c0a7d\r\n"
           "adresse_web=" + host + ":29305\r\n";
}

TEST(HostLauncher, IsFoundBesideTheExecutablesFolder)
{
    const struct
    {
        const char *name;
        QString executableFolder;
        QString launcher;
    } cases[] = {
        {"installed", u"/usr/bin"_s, u"/usr/lib/tessavo/tessavo-publication-host"_s},
        {"installed elsewhere", u"/opt/école/usr/bin"_s, u"/opt/école/usr/lib/tessavo/tessavo-publication-host"_s},
        {"a trailing separator", u"/usr/local/bin/"_s, u"/usr/local/lib/tessavo/tessavo-publication-host"_s},
        {"the build tree", u"/home/dev/tessavo/build/src/app"_s,
         u"/home/dev/tessavo/build/src/lib/tessavo/tessavo-publication-host"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(localhost::hostLauncher(c.executableFolder), c.launcher);
    }
}

TEST(HostLauncher, RunsForAMissingOrTheProgramsOwnPublicationIniOnly)
{
    const QByteArray own = "[publication]\r\nserveur_local=oui\r\n";
    const struct
    {
        const char *name;
        std::optional<QByteArray> ini;
        bool runs;
    } cases[] = {
        {"no publication.ini: the launcher writes it", std::nullopt, true},
        {"the program's own", localhost::freshPublicationIni(24117, 29305, u"3f9c0a7d3f9c0a7d"_s), true},
        {"as earlier versions wrote it",
         "[publication]\r\nhote=127.0.0.1\r\nport=24117\r\nutilisateur=tessavo\r\nmot_de_passe=3f9c0a7d3f9c0a7d\r\n"
         "adresse_web=127.0.0.1:29305\r\ntls=non\r\ndelai=20\r\n",
         true},
        // A server that a person set up on this computer is used as it is.
        {"a person's, naming this computer", iniFor("127.0.0.1"), false},
        {"a person's, naming this computer by its name", iniFor("LocalHost"), false},
        {"a person's, naming this computer with FTPS", iniFor("127.0.0.1") + "tls=oui\r\n", false},
        {"a real host", iniFor("ftp.ecole-jaures.fr"), false},
        {"a real host, with FTPS", iniFor("ftp.ecole-jaures.fr") + "tls=oui\r\n", false},
        // The launcher tells what is wrong with the program's own.
        {"the program's own without a password", own + "hote=127.0.0.1\r\nutilisateur=tessavo\r\n", true},
        {"the program's own without a host", own + "port=21\r\n", true},
        {"not an INI file", "\xFF\xFE\x00\x01", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        if (c.ini)
            writeFile(folder.filePath(u"publication.ini"_s), *c.ini);
        EXPECT_EQ(localhost::wantsLocalHost(folder.path()), c.runs);
    }
}

// Launchers that fail in each way a real one could, in an installed tree of
// their own; the program goes on each time, with a French text that says once
// that the host was not started, why, and what to do.
TEST(HostLauncher, AFailureIsToldOnceWithItsCauseAndWhatToDo)
{
    const struct
    {
        const char *name;
        std::optional<QByteArray> script;  // nothing: no launcher at all
        QString told;                      // %1 the launcher's path, %2 why it cannot be run
    } cases[] = {
        {"no launcher in the installed tree", std::nullopt,
         NotStarted + u"son lanceur « %1 » est introuvable. Installez Tessavo à nouveau."_s},
        {"a launcher that cannot run", "",
         NotStarted + u"son lanceur « %1 » ne peut pas être lancé (%2). Installez Tessavo à nouveau."_s},
        // What the launcher says is its whole message.
        {"a port taken",
         "#!/bin/sh\necho \"Le serveur de publication local de ce dossier de travail n'a pas pu être démarré : le port "
         "24117 de cet ordinateur (clé port de publication.ini) est déjà pris par un autre programme. Arrêtez ce "
         "programme, ou choisissez un autre port dans publication.ini.\" >&2\nexit 1\n",
         NotStarted + u"le port 24117 de cet ordinateur (clé port de publication.ini) est déjà pris par un autre "
                      u"programme. Arrêtez ce programme, ou choisissez un autre port dans publication.ini."_s},
        {"a silent failure", "#!/bin/sh\nexit 3\n",
         NotStarted + u"son lanceur « %1 » s'est arrêté sur le code 3 sans rien dire. Installez Tessavo à nouveau."_s},
        {"a crash", "#!/bin/sh\nkill -SEGV $$\n",
         NotStarted + u"son lanceur « %1 » s'est arrêté anormalement. Installez Tessavo à nouveau."_s},
        {"a launcher that never ends", "#!/bin/sh\necho $$ > \"$1/pid\"\nexec sleep 60\n",
         NotStarted + u"son lanceur « %1 » n'avait pas fini au bout de 2 secondes, et a été arrêté."_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        const QString bin = root.filePath(u"usr/bin"_s);
        const QString launcher = localhost::hostLauncher(bin);
        if (c.script) {
            writeFile(launcher, *c.script);
            if (!c.script->isEmpty())
                QFile::setPermissions(launcher, QFile::permissions(launcher) | QFile::ExeOwner);
        }
        const QString working = root.filePath(u"Tessavo"_s);
        QDir().mkpath(working);

        const QString told = localhost::startLocalHost(launcher, working, 2000).reason();

        QString expected = c.told;
        if (expected.contains(u"%2"_s)) {
            QProcess refused;  // the system's own words for it
            refused.start(launcher, {});
            refused.waitForStarted();
            expected = expected.arg(launcher, refused.errorString());
        } else if (expected.contains(u"%1"_s)) {
            expected = expected.arg(launcher);
        }
        EXPECT_EQ(told, expected + Consequence);
        if (const QByteArray pid = bytesOf(working + u"/pid"_s).trimmed(); !pid.isEmpty()) {
            EXPECT_FALSE(QFileInfo::exists(u"/proc/"_s + QString::fromLatin1(pid))) << "a launcher out of time is stopped";
        }
    }
}

TEST(HostLauncher, IsGivenTheWorkingFolderAloneAndNothingToReadAndItsLineGoesOut)
{
    QTemporaryDir root;
    const QString launcher = root.filePath(u"lanceur"_s);
    writeFile(launcher, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$1/arguments\"\ncat > \"$1/input\"\n"
                        "echo 'Serveur de publication local démarré'\n");
    QFile::setPermissions(launcher, QFile::permissions(launcher) | QFile::ExeOwner);
    const QString working = root.filePath(u"Mes textes élève"_s);
    QDir().mkpath(working);

    EXPECT_TRUE(localhost::startLocalHost(launcher, working));
    EXPECT_EQ(bytesOf(working + u"/arguments"_s), "1\n" + working.toUtf8() + "\n");
    EXPECT_EQ(bytesOf(working + u"/input"_s), QByteArray());
}

#ifdef TESSAVO_PROGRAM_DIR
// The program built here finds the launcher built here, as an installed one
// finds its own, and the launcher its servers.
TEST(HostLauncher, TheBuildTreesProgramFindsTheBuildTreesLauncher)
{
    const QString launcher = localhost::hostLauncher(QStringLiteral(TESSAVO_PROGRAM_DIR));
    EXPECT_EQ(QFileInfo(launcher).canonicalFilePath(),
              QFileInfo(QStringLiteral(TESSAVO_PUBLICATION_HOST)).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(QFileInfo(launcher).absolutePath() + u"/tessavo-publication-server"_s).isFile());
}
#endif

#ifdef TESSAVO_PUBLICATION_HOST
// "GET /path" on 127.0.0.1:port; the reply's first line.
QByteArray statusOf(int port, const QByteArray &path)
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, quint16(port));
    if (!socket.waitForConnected(3000))
        return {};
    socket.write("GET " + path + " HTTP/1.0\r\n\r\n");
    socket.waitForReadyRead(3000);
    return socket.readLine().trimmed();
}

// The real launcher of the build tree, started as the program starts it, in
// a home and a state folder of the test's own.
class LocalHost : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        // The servers, once their launcher is gone, become this process's
        // children, and are reaped here when they end.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        qputenv("XDG_STATE_HOME", QFile::encodeName(root.filePath(u"etat"_s)));
        QDir().mkpath(working);
    }

    void TearDown() override
    {
        QProcess::execute(QStringLiteral(TESSAVO_PUBLICATION_HOST), {u"--arreter"_s, working});
        for (int i = 0; i < 200 && ::waitpid(-1, nullptr, WNOHANG) >= 0; ++i)
            QThread::msleep(10);
        qunsetenv("XDG_STATE_HOME");
    }

    std::optional<localhost::HostRecord> record() const
    {
        return localhost::readRecord(localhost::recordPath(root.filePath(u"etat/tessavo"_s), working));
    }

    QTemporaryDir root;
    const QString working = QFileInfo(root.path()).canonicalFilePath() + u"/Tessavo"_s;
    const QString program = QStringLiteral(TESSAVO_PROGRAM_DIR);
};

TEST_F(LocalHost, AFreshFolderGetsItsOwnHostWhichASecondStartFindsRunning)
{
    EXPECT_TRUE(localhost::startPublishingHost(program, working));

    EXPECT_EQ(QFileInfo(working + u"/publication.ini"_s).permissions() & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    const std::optional<localhost::HostRecord> first = record();
    ASSERT_TRUE(first);
    writeFile(working + u"-publication/Orvane_EVRY_JAURES_CM1/index.html"_s, "<p>CM1</p>");
    EXPECT_EQ(statusOf(first->webPort, "/Orvane_EVRY_JAURES_CM1/index.html"), "HTTP/1.0 200 OK");

    EXPECT_TRUE(localhost::startPublishingHost(program, working));
    const std::optional<localhost::HostRecord> second = record();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->pid, first->pid) << "the running host is kept";
    EXPECT_EQ(second->ftpPort, first->ftpPort);
}

// A client that logs in over a plain socket: what the host answers is what
// the program's own client would be answered.
class LoginClient : public publishing::FtpClient
{
public:
    bool connected() const override { return m_loggedIn; }
    void disconnect() override { m_loggedIn = false; }
    void connect(const publishing::FtpLogin &login) override
    {
        QTcpSocket socket;
        socket.connectToHost(login.host, quint16(login.port));
        if (!socket.waitForConnected(5000))
            throw publishing::FtpError(u"no connection: "_s + socket.errorString());
        // A reply's last line: "220 ..." after any "220-..." lines.
        const auto reply = [&socket] {
            QByteArray line;
            while (!(line.size() >= 4 && line.at(3) == ' ') && (socket.canReadLine() || socket.waitForReadyRead(5000))) {
                if (socket.canReadLine())
                    line = socket.readLine();
            }
            return line;
        };
        replies << reply();
        socket.write("USER " + login.user.toUtf8() + "\r\n");
        replies << reply();
        socket.write("PASS " + login.password.toUtf8() + "\r\n");
        replies << reply();
        m_loggedIn = replies.last().startsWith("230");
    }
    void changeDir(const QString &) override {}
    void makeDir(const QString &) override {}
    void put(const QString &, const QString &) override {}

    QList<QByteArray> replies;

private:
    bool m_loggedIn = false;
};

// The launcher runs in the background: the connection of a registration made
// meanwhile waits for it, and reaches the host it starts.
TEST_F(LocalHost, AConnectionMadeWhileTheHostStartsWaitsAndReachesIt)
{
    localhost::HostStart host;
    int ended = 0;
    host.ended = [&ended] { ++ended; };
    localhost::startPublishingHost(host, program, working);
    EXPECT_TRUE(host.starting()) << "the start returns before the launcher ends";
    EXPECT_FALSE(QFileInfo::exists(working + u"/publication.ini"_s)) << "nothing waited for the launcher yet";

    localhost::setHostWait([&host]() -> workspace::Result<void> {
        host.waitFor(-1);
        if (host.failure())
            return workspace::refuse(localhost::toldWhenNeeded(*host.failure()));
        return {};
    });
    const auto unset = qScopeGuard([] { localhost::setHostWait({}); });
    LoginClient client;
    const workspace::Result<void> connected = localhost::ConnexionFTP(client, working);

    EXPECT_TRUE(connected) << connected.reason().toStdString();
    EXPECT_FALSE(host.starting());
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(client.connected()) << client.replies.join().constData();
}

// A launcher that fails in the background tells the same paragraph as one
// waited for, and a connection needing the host is refused with it.
TEST(HostLauncher, AFailureInTheBackgroundIsToldWhenKnownAndWhenTheHostIsNeeded)
{
    QTemporaryDir root;
    const QString launcher = root.filePath(u"lanceur"_s);
    writeFile(launcher, "#!/bin/sh\nsleep 0.2\necho 'Le port 24117 est pris.' >&2\nexit 1\n");
    QFile::setPermissions(launcher, QFile::permissions(launcher) | QFile::ExeOwner);
    const QString working = root.filePath(u"Tessavo"_s);
    QDir().mkpath(working);

    localhost::HostStart host;
    host.start(launcher, working);
    EXPECT_TRUE(host.starting());
    EXPECT_TRUE(host.waitFor(-1));
    ASSERT_TRUE(host.failure());
    EXPECT_EQ(*host.failure(), u"Le port 24117 est pris."_s);
    EXPECT_EQ(localhost::toldAtStart(*host.failure()), u"Le port 24117 est pris."_s + Consequence);
    EXPECT_TRUE(localhost::toldWhenNeeded(*host.failure()).startsWith(u"Le port 24117 est pris.\n\nL'enregistrement"_s));
}

TEST_F(LocalHost, APublicationIniNamingAnotherHostStartsNothing)
{
    writeFile(working + u"/publication.ini"_s, iniFor("ftp.ecole-jaures.fr"));

    EXPECT_TRUE(localhost::startPublishingHost(program, working));
    localhost::HostStart background;
    localhost::startPublishingHost(background, program, working);
    EXPECT_FALSE(background.starting());
    EXPECT_EQ(background.failure(), std::nullopt);

    EXPECT_FALSE(QFileInfo::exists(root.filePath(u"etat"_s))) << "the launcher did not run";
    EXPECT_FALSE(QFileInfo::exists(working + u"-publication"_s));
}

TEST_F(LocalHost, APersonsPublicationIniNamingThisComputerStartsNothingAndTellsNothing)
{
    // A server that a technician set up here, with FTPS: used as it is.
    writeFile(working + u"/publication.ini"_s, iniFor("127.0.0.1") + "tls=oui\r\n");

    EXPECT_TRUE(localhost::startPublishingHost(program, working));

    EXPECT_FALSE(QFileInfo::exists(root.filePath(u"etat"_s))) << "the launcher did not run";
    EXPECT_FALSE(QFileInfo::exists(working + u"-publication"_s));
}

TEST_F(LocalHost, ALocalHostThatCannotBeServedIsToldAndStartsNothing)
{
    writeFile(working + u"/publication.ini"_s, "[publication]\r\nserveur_local=oui\r\n" + iniFor("127.0.0.1").mid(15) + "tls=oui\r\n");

    const QString told = localhost::startPublishingHost(program, working).reason();

    EXPECT_EQ(told, NotStarted + u"le serveur local ne parle pas FTPS ; mettez tls=non (il n'écoute que sur cet "
                                 u"ordinateur). Corrigez le fichier "_s + working + u"/publication.ini, ou "
                                 u"supprimez-le : le prochain démarrage en écrira un nouveau."_s + Consequence);
    EXPECT_FALSE(record());
}
#endif

} // namespace
