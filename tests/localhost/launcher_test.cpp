// tessavo-publication-host, run as scripts and the program run it, each test
// with a home and a state folder of its own; publishing to the hosts it
// starts goes through the program's own client.
#include "platform/curlftpclient.h"
#include "localhost/connexion.h"
#include "publishing/diffusion.h"
#include "publishing/forcedirectories.h"
#include "localhost/classroom.h"
#include "localhost/decisions.h"
#include "localhost/proof.h"
#include "localhost/processes.h"
#include "publishing/settings.h"
#include "../publishing/listener.h"
#include "serverprocess.h"
#include "testfiles.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <cstdio>
#include <functional>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString Launcher = QStringLiteral(TESSAVO_PUBLICATION_HOST);
const QString NotStarted = u"Le serveur de publication local de ce dossier de travail n'a pas pu être démarré : "_s;

struct Outcome
{
    int code = -1;
    QString out;
    QString err;
};

// The numbers of the running processes whose command line or environment
// holds text.
QList<qint64> processesMentioning(const QByteArray &text)
{
    QList<qint64> found;
    for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        for (const char *file : {"cmdline", "environ"}) {
            if (bytesOf(u"/proc/%1/%2"_s.arg(entry, QString::fromLatin1(file))).contains(text)) {
                found.append(pid);
                break;
            }
        }
    }
    return found;
}

// "GET /path" on 127.0.0.1:port; the body, or nothing.
QByteArray httpGet(int port, const QString &path)
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, quint16(port));
    if (!socket.waitForConnected(3000))
        return {};
    socket.write("GET " + QUrl::toPercentEncoding(path, "/") + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray reply;
    while (socket.waitForReadyRead(3000))
        reply += socket.readAll();
    reply += socket.readAll();
    if (!reply.startsWith("HTTP/1.0 200") && !reply.startsWith("HTTP/1.1 200"))
        return {};
    return reply.mid(reply.indexOf("\r\n\r\n") + 4);
}

QString failureOf(const std::function<void()> &run)
{
    try {
        run();
    } catch (const publishing::FtpError &error) {
        return error.message();
    }
    return u"<no error>"_s;
}

class PublicationHost : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(Launcher).isExecutable()) << Launcher.toStdString();
        // The servers, once their launcher is gone, become this process's
        // children, and are reaped here when they end.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        environment.insert(u"HOME"_s, root.filePath(u"maison"_s));
        environment.insert(u"XDG_STATE_HOME"_s, root.filePath(u"etat"_s));
        // The program's client finds the record where the launcher wrote it.
        qputenv("XDG_STATE_HOME", QFile::encodeName(root.filePath(u"etat"_s)));
    }

    void TearDown() override
    {
        for (const QString &folder : std::as_const(folders))
            launch({u"--arreter"_s, folder});
        // Whatever a failed test left running of its own.
        for (const QString &folder : std::as_const(folders)) {
            for (const qint64 pid : processesMentioning(QFile::encodeName(folder + u"-publication"_s)))
                ::kill(pid_t(pid), SIGKILL);
        }
        fakes::serverprocess::reapOrphans();
        qunsetenv("XDG_STATE_HOME");
    }

    // A fresh working folder; its name holds a blank and an accent.
    QString folder(const QString &name)
    {
        const QString path = QDir(root.path()).filePath(name + u" élève"_s);
        QDir().mkpath(path);
        folders.append(QFileInfo(path).canonicalFilePath());
        return folders.last();
    }

    Outcome launch(const QStringList &arguments, const std::function<void()> &inChild = {}) const
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        if (inChild)
            process.setChildProcessModifier(inChild);
        process.start(Launcher, arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

    // Starts the host of folder and expects it served.
    void start(const QString &folder) const
    {
        const Outcome run = launch({folder});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        ASSERT_TRUE(run.out.contains(folder)) << run.out.toStdString();
        ASSERT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }

    QString state() const { return root.filePath(u"etat/tessavo"_s); }

    std::optional<localhost::HostRecord> record(const QString &folder) const
    {
        return localhost::readRecord(localhost::recordPath(state(), folder));
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QTemporaryDir root;
    QStringList folders;
};

// A student folder of a text, its copy and a picture.
QString studentFolder(const QString &workingFolder, const QByteArray &text)
{
    const QString source = workingFolder + u"/VILLE_ECOLE_CM1/lecteurs/Dupont_Jean_x/"_s;
    writeFile(source + u"conte.html"_s, "<p>" + text + "</p>\r\n");
    QByteArray picture;
    for (int i = 0; i < 70000; ++i)
        picture.append(char(i * 31 % 251));
    writeFile(source + u"conte.jpg"_s, picture);
    return source;
}

const QString Target = u"../Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/"_s;

// A registration's folders, then a publication, as the program makes them.
void publish(const QString &workingFolder, const QString &source)
{
    platform::CurlFtpClient client;
    const workspace::Result<void> connected = localhost::ConnexionFTP(client, workingFolder);
    ASSERT_TRUE(connected) << connected.reason().toStdString();
    publishing::ForceFtpDirectories(client, Target);
    client.disconnect();
    ASSERT_TRUE(localhost::ConnexionFTP(client, workingFolder));
    const publishing::UploadResult result =
        publishing::uploadFiles(client, {source, Target, workingFolder}, publishing::sourceFiles(source));
    EXPECT_EQ(result.published, 2);
    client.disconnect();
}

} // namespace

TEST_F(PublicationHost, TwoWorkingFoldersSideBySideEachPublishToTheirOwnHost)
{
    const QString a = folder(u"a"_s);
    const QString b = folder(u"b"_s);
    start(a);
    start(b);
    const publishing::PublicationSettings settingsA = publishing::readPublicationSettings(a);
    const publishing::PublicationSettings settingsB = publishing::readPublicationSettings(b);
    EXPECT_NE(settingsA.port, settingsB.port);
    EXPECT_NE(settingsA.password, settingsB.password);

    for (const auto &[working, text] : {std::pair{a, QByteArray("chez A")}, std::pair{b, QByteArray("chez B")}}) {
        SCOPED_TRACE(working.toStdString());
        const QString source = studentFolder(working, text);
        publish(working, source);
        const localhost::LocalHost host =
            localhost::localHostOf(working, publishing::readPublicationSettings(working));
        for (const QString &name : {u"conte.html"_s, u"conte.jpg"_s}) {
            const QString published = u"/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/"_s + name;
            EXPECT_EQ(bytesOf(host.servedFolder + published), bytesOf(source + name)) << name.toStdString();
            EXPECT_EQ(httpGet(host.webPort, published), bytesOf(source + name)) << name.toStdString();
        }
    }
    EXPECT_TRUE(bytesOf(a + u"-publication/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/conte.html"_s).contains("chez A"));
    EXPECT_TRUE(bytesOf(b + u"-publication/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/conte.html"_s).contains("chez B"));

    // Each host takes its own publication.ini and no other.
    publishing::FtpLogin crossed = settingsA.login();
    crossed.port = settingsB.port;
    platform::CurlFtpClient client;
    EXPECT_TRUE(failureOf([&] { client.connect(crossed); }).contains(u"a refusé l'utilisateur"_s));

    // Started again, each is recognised, not doubled.
    ASSERT_TRUE(record(a));
    const qint64 pidA = record(a)->pid;
    const Outcome again = launch({a});
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(u"déjà en marche"_s)) << again.out.toStdString();
    EXPECT_EQ(record(a)->pid, pidA);
    EXPECT_EQ(processesMentioning(QFile::encodeName(a + u"-publication"_s)), QList<qint64>{pidA});
}

TEST_F(PublicationHost, NoCommandLineAndNoEnvironmentHoldsThePassword)
{
    const QString a = folder(u"a"_s);
    start(a);
    const QString password = publishing::readPublicationSettings(a).password;
    const QList<qint64> host = processesMentioning(QFile::encodeName(a));
    ASSERT_FALSE(host.isEmpty());
    for (const qint64 pid : host) {
        for (const char *file : {"cmdline", "environ"}) {
            const QByteArray shown = bytesOf(u"/proc/%1/%2"_s.arg(pid).arg(QString::fromLatin1(file)));
            EXPECT_FALSE(shown.contains(password.toLatin1())) << pid << " " << file;
        }
    }
    EXPECT_TRUE(processesMentioning(password.toLatin1()).isEmpty());
    ASSERT_TRUE(record(a));
    EXPECT_TRUE(host.contains(record(a)->pid));
}

TEST_F(PublicationHost, PublicationIniIsForItsOwnerAloneFromItsFirstByte)
{
    const QString a = folder(u"a"_s);
    // Watches every file made in the folder, and looks at its mode at once.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(a).constData(), IN_CREATE | IN_MOVED_TO), 0);
    QMap<QString, mode_t> modes;
    const auto look = [&] {
        alignas(inotify_event) char buffer[4096];
        ssize_t size;
        while ((size = ::read(watch, buffer, sizeof buffer)) > 0) {
            for (char *at = buffer; at < buffer + size;) {
                const auto *event = reinterpret_cast<const inotify_event *>(at);
                const QString name = QString::fromLocal8Bit(event->name);
                struct stat status{};
                if (::lstat(QFile::encodeName(a + u'/' + name).constData(), &status) == 0)
                    modes.insert(name, status.st_mode & 0777);
                at += sizeof(inotify_event) + event->len;
            }
        }
    };

    QProcess launcher;
    launcher.setProcessEnvironment(environment);
    // A mask that lets everything through: only the launcher's care protects the file.
    launcher.setChildProcessModifier([] { ::umask(0); });
    launcher.start(Launcher, {a});
    while (!launcher.waitForFinished(0)) {
        pollfd ready{watch, POLLIN, 0};
        ::poll(&ready, 1, 5);
        look();
    }
    look();
    ::close(watch);

    EXPECT_EQ(launcher.exitCode(), 0) << launcher.readAllStandardError().toStdString();
    ASSERT_TRUE(modes.contains(u"publication.ini"_s)) << modes.keys().join(u' ').toStdString();
    for (auto made = modes.cbegin(); made != modes.cend(); ++made)
        EXPECT_EQ(made.value(), 0600u) << made.key().toStdString();
}

TEST_F(PublicationHost, APortHeldByAnotherProgramIsToldAndNeverReportedAsServed)
{
    struct Case
    {
        const char *name;
        bool web;            // the web port is the one held, not the FTP port
        bool afterAServer;   // the folder's own server ran, was killed, and lost its port
    };
    const Case cases[] = {{"the FTP port", false, false}, {"the web port", true, false}, {"a killed server's port", false, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString a = folder(QString::fromLatin1(c.name));
        QTcpServer foreign;
        if (c.afterAServer) {
            start(a);
            ASSERT_TRUE(record(a));
            const localhost::HostRecord was = *record(a);
            ::kill(pid_t(was.pid), SIGKILL);
            QElapsedTimer clock;
            clock.start();
            while (!foreign.listen(QHostAddress::Any, quint16(was.ftpPort)) && clock.elapsed() < 5000)
                QThread::msleep(20);
        } else {
            ASSERT_TRUE(foreign.listen(QHostAddress::Any));
            const int free = localhost::choosePorts([](int) { return true; }, {int(foreign.serverPort())}).first;
            const int ftp = c.web ? free : foreign.serverPort();
            const int web = c.web ? foreign.serverPort() : free;
            writeFile(a + u"/publication.ini"_s, u"[publication]\r\nserveur_local=oui\r\nhote=127.0.0.1\r\nport=%1\r\nutilisateur=tessavo\r\n"
                                                 u"mot_de_passe=abc\r\nadresse_web=127.0.0.1:%2\r\n"_s.arg(ftp).arg(web).toLatin1());
        }
        ASSERT_TRUE(foreign.isListening());

        const Outcome run = launch({a});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(run.err, NotStarted + u"le port %1 de cet ordinateur (clé %2 de publication.ini) est déjà pris par un "
                                        u"autre programme. Arrêtez ce programme, ou choisissez un autre port dans "
                                        u"publication.ini.\n"_s.arg(foreign.serverPort())
                                            .arg(c.web ? u"adresse_web"_s : u"port"_s));
        EXPECT_FALSE(record(a));
        EXPECT_FALSE(foreign.hasPendingConnections());  // nothing was sent to it
        EXPECT_TRUE(processesMentioning(QFile::encodeName(a + u"-publication"_s)).isEmpty());
    }
}

TEST_F(PublicationHost, TwoStartsAtOnceEndWithOneServerThatTakesTheFilesPassword)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const QString a = folder(u"ensemble %1"_s.arg(round));
        QProcess first;
        QProcess second;
        for (QProcess *launcher : {&first, &second}) {
            launcher->setProcessEnvironment(environment);
            launcher->start(Launcher, {a});
        }
        for (QProcess *launcher : {&first, &second}) {
            ASSERT_TRUE(launcher->waitForFinished(60000));
            EXPECT_EQ(launcher->exitCode(), 0) << launcher->readAllStandardError().toStdString();
        }
        const QList<qint64> servers = processesMentioning(QFile::encodeName(a + u"-publication"_s));
        ASSERT_EQ(servers.size(), 1);
        ASSERT_TRUE(record(a));
        EXPECT_EQ(record(a)->pid, servers.first());
        platform::CurlFtpClient client;
        EXPECT_TRUE(localhost::ConnexionFTP(client, a));
    }
}

TEST_F(PublicationHost, AnEditedPasswordOrAStaleRecordGetsANewServerAndLeavesOthersAlone)
{
    const QString a = folder(u"a"_s);
    start(a);
    ASSERT_TRUE(record(a));
    const localhost::HostRecord first = *record(a);
    QByteArray ini = bytesOf(a + u"/publication.ini"_s);
    const QString password = publishing::readPublicationSettings(a).password;
    ini.replace(password.toLatin1(), "\"un;autre,mot\"");
    writeFile(a + u"/publication.ini"_s, ini);

    start(a);
    ASSERT_TRUE(record(a));
    const localhost::HostRecord second = *record(a);
    EXPECT_NE(second.pid, first.pid);
    EXPECT_EQ(processesMentioning(QFile::encodeName(a + u"-publication"_s)), QList<qint64>{second.pid});
    platform::CurlFtpClient client;
    EXPECT_TRUE(localhost::ConnexionFTP(client, a));
    client.disconnect();

    // A record whose process number now belongs to another program: that
    // program is not taken for the server, and is left running.
    QProcess other;
    other.start(u"sleep"_s, {u"30"_s});
    ASSERT_TRUE(other.waitForStarted());
    launch({u"--arreter"_s, a});
    localhost::HostRecord stale = second;
    stale.pid = other.processId();
    localhost::writeRecord(localhost::recordPath(state(), a), stale);

    start(a);
    EXPECT_EQ(other.state(), QProcess::Running);
    EXPECT_NE(record(a)->pid, other.processId());
    EXPECT_TRUE(localhost::ConnexionFTP(client, a));
    other.kill();
    other.waitForFinished();
}

TEST_F(PublicationHost, AnAccountItCannotServeStartsNothingAndNamesTheKey)
{
    struct Case
    {
        const char *name;
        QByteArray lines;  // after hote and port
        QString cause;     // in the one message, before what to do
    };
    const QString noPassword =
        u"publication.ini ne donne pas le mot de passe du serveur (clé mot_de_passe du groupe [publication])"_s;
    const QString noUser = u"publication.ini ne donne pas l'utilisateur du serveur (clé utilisateur du groupe [publication])"_s;
    const Case cases[] = {
        {"an empty user", "utilisateur=\r\nmot_de_passe=abc\r\nadresse_web=127.0.0.1:%2\r\n", noUser},
        {"no user", "mot_de_passe=abc\r\nadresse_web=127.0.0.1:%2\r\n", noUser},
        {"an empty password", "utilisateur=tessavo\r\nmot_de_passe=\r\nadresse_web=127.0.0.1:%2\r\n", noPassword},
        {"an empty quoted password", "utilisateur=tessavo\r\nmot_de_passe=\"\"\r\nadresse_web=127.0.0.1:%2\r\n",
         noPassword},
        {"a line break inside the quoted password",
         "utilisateur=tessavo\r\nmot_de_passe=\"s3cret;pw\\r\\nMKD injected2\"\r\nadresse_web=127.0.0.1:%2\r\n",
         u"la clé mot_de_passe de publication.ini contient un caractère de contrôle (un saut de ligne, par exemple) : "
         u"rien n'est envoyé au serveur"_s},
        {"no web address", "utilisateur=tessavo\r\nmot_de_passe=abc\r\n",
         u"publication.ini ne donne pas l'adresse web du serveur (clé adresse_web du groupe [publication])"_s},
        {"FTPS", "utilisateur=tessavo\r\nmot_de_passe=abc\r\nadresse_web=127.0.0.1:%2\r\ntls=oui\r\n",
         u"le serveur local ne parle pas FTPS ; mettez tls=non (il n'écoute que sur cet ordinateur)"_s},
    };
    const auto [ftp, web] = localhost::choosePorts([](int) { return true; }, {});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString a = folder(QString::fromLatin1(c.name));
        writeFile(a + u"/publication.ini"_s,
                  (u"[publication]\r\nserveur_local=oui\r\nhote=127.0.0.1\r\nport=%1\r\n"_s + QString::fromLatin1(c.lines)).arg(ftp).arg(web).toLatin1());

        const Outcome run = launch({a});
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(run.err, NotStarted + c.cause + u". Corrigez le fichier "_s + a + u"/publication.ini, ou supprimez-le : "
                                                       u"le prochain démarrage en écrira un nouveau.\n"_s);
        EXPECT_FALSE(run.err.contains(u"s3cret"_s)) << run.err.toStdString();
        EXPECT_FALSE(record(a));
        EXPECT_TRUE(processesMentioning(QFile::encodeName(a + u"-publication"_s)).isEmpty());
    }
}

TEST_F(PublicationHost, AMissingFtpModuleIsToldWithThePackageToInstall)
{
    // A pyftpdlib that Python finds first, and that cannot be imported: as
    // on a computer without python3-pyftpdlib.
    const QString modules = root.filePath(u"modules"_s);
    writeFile(modules + u"/pyftpdlib/__init__.py"_s, "raise ModuleNotFoundError(\"No module named 'pyftpdlib'\")\n");
    const QString a = folder(u"a"_s);
    const auto [ftp, web] = localhost::choosePorts([](int) { return true; }, {});
    writeFile(a + u"/publication.ini"_s, u"[publication]\r\nserveur_local=oui\r\nhote=127.0.0.1\r\nport=%1\r\nutilisateur=tessavo\r\n"
                                         u"mot_de_passe=abc\r\nadresse_web=127.0.0.1:%2\r\n"_s.arg(ftp).arg(web).toLatin1());
    const QProcessEnvironment usual = environment;
    environment.insert(u"PYTHONPATH"_s, modules);

    const Outcome run = launch({a});
    environment = usual;
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(run.err, NotStarted + u"le module Python pyftpdlib est introuvable. Installez le paquet python3-pyftpdlib "
                                    u"(sudo apt-get install python3-pyftpdlib).\n"_s);
    EXPECT_FALSE(record(a));
}

TEST_F(PublicationHost, NeverGrantsAnonymousAccess)
{
    const QString a = folder(u"a"_s);
    start(a);
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(a);
    platform::CurlFtpClient client;
    for (const auto &[user, password] : {std::pair{u"anonymous"_s, u"eleve@ecole.fr"_s}, std::pair{settings.user, u""_s}}) {
        SCOPED_TRACE(user.toStdString());
        publishing::FtpLogin login = settings.login();
        login.user = user;
        login.password = password;
        EXPECT_TRUE(failureOf([&] { client.connect(login); }).contains(u"a refusé l'utilisateur"_s));
    }
    EXPECT_EQ(QDir(a + u"-publication"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(PublicationHost, StartsNothingForARealHostKeepsItsFileForItsOwnerAndTellsAMissingFolder)
{
    const QString a = folder(u"a"_s);
    writeFile(a + u"/publication.ini"_s,
              "[publication]\r\nhote=ftp.ecole.fr\r\nutilisateur=classe\r\nmot_de_passe=x\r\nadresse_web=www.ecole.fr\r\n");
    QFile::setPermissions(a + u"/publication.ini"_s, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                          | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const Outcome real = launch({a});
    EXPECT_EQ(real.code, 0) << real.err.toStdString();
    EXPECT_TRUE(real.out.contains(u"ftp.ecole.fr"_s)) << real.out.toStdString();
    EXPECT_FALSE(record(a));
    EXPECT_FALSE(QFileInfo::exists(a + u"-publication"_s));
    // Its password is kept from the others too.
    EXPECT_EQ(QFile::permissions(a + u"/publication.ini"_s), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                 | QFileDevice::ReadUser | QFileDevice::WriteUser);

    const Outcome missing = launch({root.filePath(u"absent"_s)});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, NotStarted + u"le dossier de travail « "_s + root.filePath(u"absent"_s) + u" » est introuvable.\n"_s);
    const Outcome notStopped = launch({u"--arreter"_s, root.filePath(u"absent"_s)});
    EXPECT_EQ(notStopped.err, u"Le serveur de publication local de ce dossier de travail n'a pas pu être arrêté : le "
                              u"dossier de travail « "_s + root.filePath(u"absent"_s) + u" » est introuvable.\n"_s);
    EXPECT_EQ(launch({}).code, 2);
    // Never taken for a folder, nor for an option it does not know.
    for (const QStringList &arguments : {QStringList{u"-x"_s}, QStringList{u"--arreter"_s, u"-dossier"_s}, QStringList{u"--port"_s, a}}) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const Outcome usage = launch(arguments);
        EXPECT_EQ(usage.code, 2);
        EXPECT_TRUE(usage.err.startsWith(u"Usage : tessavo-publication-host"_s)) << usage.err.toStdString();
    }
}

// Another program on the port of the folder's own host, another user's on a
// shared computer where the test runs as root: registering and publishing
// refuse, naming the cause, and it receives neither the password nor a file.
TEST_F(PublicationHost, AStrangerOnTheOwnHostsPortGetsNoPassword)
{
    const bool asNobody = ::geteuid() == 0;
    if (!asNobody)
        std::fprintf(stderr, "the stranger runs as this user: only root can start one as another user\n");
    // What the folder's record names as its server.
    enum Record { None, TheStranger, OursNotListening };
    const struct
    {
        const char *name;
        Record record;
    } cases[] = {
        {"no server of the folder's", None},
        {"a record that names the stranger", TheStranger},
        // Its own server, started but not (yet, or no longer) listening on the port.
        {"the folder's server alive, not on its port", OursNotListening},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString a = folder(QString::fromLatin1(c.name));
        const auto [ftp, web] = localhost::choosePorts(localhost::processes::portIsFree, {});
        testlistener::Listener stranger("220 Bienvenue", ftp, asNobody);
        ASSERT_EQ(stranger.port(), ftp);
        ASSERT_TRUE(localhost::writeFreshPublicationIni(a, localhost::freshPublicationIni(ftp, web, u"0123456789abcdef"_s)));
        // As the launcher runs it: python3 .../tessavo-publication-server --dossier-publie <folder>.
        QTemporaryDir installed;
        writeFile(installed.filePath(u"tessavo-publication-server"_s), "import time\ntime.sleep(60)\n");
        QProcess server;
        if (c.record == OursNotListening) {
            server.start(u"/usr/bin/python3"_s, {installed.filePath(u"tessavo-publication-server"_s),
                                                 u"--dossier-publie"_s, a + u"-publication"_s});
            ASSERT_TRUE(server.waitForStarted());
        }
        if (c.record != None) {
            QDir().mkpath(state());
            const qint64 pid = c.record == TheStranger ? stranger.pid() : server.processId();
            const localhost::HostRecord forged{a, a + u"-publication"_s, pid, localhost::processes::startTimeOf(pid).value_or(0),
                                                ftp, web};
            localhost::writeRecord(localhost::recordPath(state(), a), forged);
            if (c.record == OursNotListening) {
                ASSERT_TRUE(localhost::isOurServer(forged, a, localhost::systemProbes())) << "the record names a server of the folder's";
            }
        }

        platform::CurlFtpClient client;
        const workspace::Result<void> connected = localhost::ConnexionFTP(client, a);
        ASSERT_FALSE(connected);
        EXPECT_FALSE(localhost::mayLogIn(a, publishing::readPublicationSettings(a)));
        const QString refused = connected.reason();
        EXPECT_TRUE(refused.contains(u"le port %1 de cet ordinateur (clé port de publication.ini) est tenu par un autre "
                                      u"programme"_s.arg(ftp)))
            << refused.toStdString();
        EXPECT_FALSE(client.connected());
        // Refused before any connection: not even the greeting was asked.
        const QByteArray received = stranger.received();
        EXPECT_EQ(received, QByteArray()) << received.constData();
        server.kill();
        server.waitForFinished();
    }
}

TEST_F(PublicationHost, RefusesAPublishedFolderItDidNotMake)
{
    const struct
    {
        const char *name;
        std::function<bool(const QString &working, const QString &published)> make;
        QString said;
        bool root;  // needs another user, made by root
    } cases[] = {
        {"a link to the working folder", [](const QString &w, const QString &p) { return QFile::link(w, p); },
         u"est un lien vers un autre endroit, que Tessavo ne suit pas"_s, false},
        {"a folder everyone can write",
         [](const QString &, const QString &p) { return QDir().mkdir(p) && ::chmod(QFile::encodeName(p).constData(), 0777) == 0; },
         u"peut être modifié par d'autres utilisateurs de cet ordinateur"_s, false},
        {"another user's folder",
         [](const QString &, const QString &p) { return QDir().mkdir(p) && ::chown(QFile::encodeName(p).constData(), 65534, 65534) == 0; },
         u"a été créé par un autre utilisateur de cet ordinateur"_s, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.root && ::geteuid() != 0) {
            std::fprintf(stderr, "skipped \"%s\": another user's folder can only be made by root\n", c.name);
            continue;
        }
        const QString a = folder(QString::fromLatin1(c.name));
        const QString published = a + u"-publication"_s;
        ASSERT_TRUE(c.make(a, published));

        const Outcome run = launch({a});
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.err, NotStarted + u"le dossier publié « "_s + published + u" » "_s + c.said
                               + u". Supprimez-le ou renommez-le : le prochain démarrage le créera à nouveau, pour vous "
                                 u"seul.\n"_s);
        EXPECT_FALSE(record(a));
        EXPECT_TRUE(processesMentioning(QFile::encodeName(published)).isEmpty());
        // Nothing reaches the working folder through the link.
        platform::CurlFtpClient client;
        EXPECT_FALSE(localhost::ConnexionFTP(client, a));
    }
}

// The state folder holds the records that say which process to end: one
// that another user could have put in place is not used.
TEST_F(PublicationHost, RefusesAStateFolderThatIsALinkOrThatOthersCanWrite)
{
    const QString a = folder(u"a"_s);
    const QString elsewhere = root.filePath(u"ailleurs"_s);
    QDir().mkpath(elsewhere);
    QDir().mkpath(root.filePath(u"etat"_s));
    ASSERT_TRUE(QFile::link(elsewhere, state()));
    Outcome run = launch({a});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, NotStarted + u"le dossier d'état « "_s + state() + u" » est un lien vers un autre endroit, que "
                                    u"Tessavo ne suit pas. Supprimez-le ou renommez-le : le prochain démarrage le créera "
                                    u"à nouveau, pour vous seul.\n"_s);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());

    QFile::remove(state());
    ASSERT_TRUE(QDir().mkdir(state()));
    ASSERT_EQ(::chmod(QFile::encodeName(state()).constData(), 0777), 0);
    run = launch({a});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(u"peut être modifié par d'autres utilisateurs"_s)) << run.err.toStdString();
    EXPECT_FALSE(record(a));
}

TEST_F(PublicationHost, TheWebServerServesFilesOnlyNeverAFolderListOrALink)
{
    const QString a = folder(u"a"_s);
    start(a);
    const localhost::LocalHost host = localhost::localHostOf(a, publishing::readPublicationSettings(a));
    const QString served = host.servedFolder;
    writeFile(served + u"/Orvane_VILLE_ECOLE_CM1/index.html"_s, "<p>CM1</p>");
    writeFile(served + u"/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/conte.html"_s, "<p>conte</p>");
    ASSERT_TRUE(QFile::link(a + u"/publication.ini"_s, served + u"/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/lien.html"_s));
    ASSERT_TRUE(QFile::link(a, served + u"/travail"_s));
    QDir().mkpath(served + u"/vide"_s);
    ASSERT_TRUE(QFile::link(a + u"/publication.ini"_s, served + u"/vide/index.html"_s));

    EXPECT_EQ(httpGet(host.webPort, u"/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/conte.html"_s), "<p>conte</p>");
    EXPECT_EQ(httpGet(host.webPort, u"/Orvane_VILLE_ECOLE_CM1/"_s), "<p>CM1</p>");
    for (const QString &refused : {u"/"_s, u"/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/"_s,
                                   u"/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/lien.html"_s, u"/travail/publication.ini"_s,
                                   u"/travail/"_s, u"/vide/"_s, u"/../"_s}) {
        SCOPED_TRACE(refused.toStdString());
        EXPECT_EQ(httpGet(host.webPort, refused), QByteArray());
    }
}

// The record says which process is the folder's server; one whose number
// now belongs to another process of the teacher's, even one that names the
// folder on its command line, is never taken for it, nor ended.
TEST_F(PublicationHost, AStaleOrForgedRecordNeverGetsAnotherProcessEnded)
{
    const QString a = folder(u"a"_s);
    start(a);
    ASSERT_TRUE(record(a));
    const localhost::HostRecord real = *record(a);
    launch({u"--arreter"_s, a});

    const struct
    {
        const char *name;
        bool rightStartTime;
    } cases[] = {{"a stale record: another start time", false}, {"a forged record: the right start time", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QProcess other;  // the folder on its command line, as the server has it
        other.start(u"/usr/bin/python3"_s, {u"-c"_s, u"import time; time.sleep(60)"_s, u"--dossier-publie"_s, real.servedFolder});
        ASSERT_TRUE(other.waitForStarted());
        localhost::HostRecord forged = real;
        forged.pid = other.processId();
        forged.startTime = localhost::processes::startTimeOf(forged.pid).value_or(0) + (c.rightStartTime ? 0 : 1);
        localhost::writeRecord(localhost::recordPath(state(), a), forged);

        const Outcome stopped = launch({u"--arreter"_s, a});
        EXPECT_EQ(stopped.code, 0) << stopped.err.toStdString();
        EXPECT_TRUE(stopped.out.contains(u"Aucun serveur de publication local ne tourne"_s)) << stopped.out.toStdString();
        EXPECT_EQ(other.state(), QProcess::Running);

        localhost::writeRecord(localhost::recordPath(state(), a), forged);
        start(a);
        EXPECT_EQ(other.state(), QProcess::Running);
        ASSERT_TRUE(record(a));
        EXPECT_NE(record(a)->pid, other.processId());
        launch({u"--arreter"_s, a});
        other.kill();
        other.waitForFinished();
    }
}

TEST_F(PublicationHost, OnlyTheWebPortChangedServesTheNewPort)
{
    const QString a = folder(u"a"_s);
    start(a);
    ASSERT_TRUE(record(a));
    const localhost::HostRecord first = *record(a);
    const int newWeb = localhost::choosePorts(localhost::processes::portIsFree, {first.ftpPort, first.webPort}).first;
    QByteArray ini = bytesOf(a + u"/publication.ini"_s);
    ini.replace("adresse_web=127.0.0.1:" + QByteArray::number(first.webPort), "adresse_web=127.0.0.1:" + QByteArray::number(newWeb));
    writeFile(a + u"/publication.ini"_s, ini);
    writeFile(a + u"-publication/index.html"_s, "accueil");

    start(a);
    ASSERT_TRUE(record(a));
    EXPECT_EQ(record(a)->webPort, newWeb);
    EXPECT_EQ(httpGet(newWeb, u"/index.html"_s), "accueil");
    EXPECT_EQ(httpGet(first.webPort, u"/index.html"_s), QByteArray());
}

namespace {

// The program's own client, except that just before it connects the folder's
// server dies and another program takes its port: what happens when that
// falls between the check before the login and the login.
class PortTakenBeforeTheLogin : public publishing::FtpClient
{
public:
    explicit PortTakenBeforeTheLogin(std::function<void()> takePort)
        : m_takePort(std::move(takePort))
    {
    }
    bool connected() const override { return m_client.connected(); }
    void disconnect() override { m_client.disconnect(); }
    void connect(const publishing::FtpLogin &login) override
    {
        m_takePort();
        m_client.connect(login);
    }
    void changeDir(const QString &remotePath) override { m_client.changeDir(remotePath); }
    void makeDir(const QString &remotePath) override { m_client.makeDir(remotePath); }
    void put(const QString &localPath, const QString &remotePath) override { m_client.put(localPath, remotePath); }

private:
    std::function<void()> m_takePort;
    platform::CurlFtpClient m_client;
};

} // namespace

// The folder's server passed the check before the login, then died, and a
// program of another user took its port before the login: it gets neither
// the user nor the password, whether it greets as the server does or
// replays a greeting the server gave another connection.
TEST_F(PublicationHost, AProgramTakingThePortAfterTheCheckGetsNoPassword)
{
    const bool asNobody = ::geteuid() == 0;
    for (const bool replays : {false, true}) {
        SCOPED_TRACE(replays ? "a greeting seen before" : "the server's banner");
        const QString a = folder(replays ? u"rejoue"_s : u"accueil"_s);
        start(a);
        ASSERT_TRUE(record(a));
        const localhost::HostRecord server = *record(a);
        QByteArray greeting = "220 Serveur de publication local de Tessavo.";
        if (replays) {
            QTcpSocket seen;
            seen.connectToHost(u"127.0.0.1"_s, quint16(server.ftpPort));
            greeting.clear();
            while (!greeting.startsWith("220 ") && (seen.canReadLine() || seen.waitForReadyRead(3000))) {
                if (seen.canReadLine())
                    greeting = seen.readLine().trimmed();
            }
            ASSERT_TRUE(greeting.startsWith("220 ")) << greeting.constData();
        }
        // A stranger that never answers is given up within seconds.
        QByteArray ini = bytesOf(a + u"/publication.ini"_s);
        ini.replace("delai=20", "delai=3");
        writeFile(a + u"/publication.ini"_s, ini);
        const QByteArray password = publishing::readPublicationSettings(a).password.toLatin1();

        std::unique_ptr<testlistener::Listener> stranger;
        PortTakenBeforeTheLogin client([&] {
            ::kill(pid_t(server.pid), SIGKILL);
            QElapsedTimer clock;
            clock.start();
            while (!localhost::processes::portIsFree(server.ftpPort) && clock.elapsed() < 10000)
                QThread::msleep(20);
            stranger = std::make_unique<testlistener::Listener>(greeting, server.ftpPort, asNobody);
        });
        const workspace::Result<void> connected = localhost::ConnexionFTP(client, a);
        ASSERT_TRUE(stranger);
        ASSERT_EQ(stranger->port(), server.ftpPort);
        EXPECT_FALSE(connected);
        EXPECT_TRUE(connected.reason().contains(u"Rien ne lui a été envoyé"_s)) << connected.reason().toStdString();
        const QByteArray received = stranger->received();
        EXPECT_TRUE(received.contains("<connexion>")) << "the test reached the stranger";
        EXPECT_FALSE(received.contains("USER")) << received.constData();
        EXPECT_FALSE(received.contains("PASS")) << received.constData();
        EXPECT_FALSE(received.contains(password)) << received.constData();
    }
}

namespace {

// Run in a child process as the user nobody, with system calls only: reads
// /proc/net/tcp as fast as it can and connects to every new port listening on
// 127.0.0.1 that the server's user holds, but the two it serves, sending
// bytes of its own, as another user of the computer could. Never returns.
[[noreturn]] void takeEveryNewPort(int ftpPort, int webPort, uid_t serverUser, std::atomic<int> &reached)
{
    // It ends with the test, however the test ends (asked after the change
    // of user, which forgets it).
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0
        || ::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
        ::_exit(1);
    static char table[1 << 16];
    int last = 0;
    for (;;) {
        const int fd = ::open("/proc/net/tcp", O_RDONLY);
        ssize_t size = 0;
        for (ssize_t n; fd >= 0 && size < ssize_t(sizeof table) - 1 && (n = ::read(fd, table + size, sizeof table - 1 - size)) > 0;)
            size += n;
        if (fd >= 0)
            ::close(fd);
        table[size] = 0;
        // "  1: 0100007F:5E3B 00000000:0000 0A ... uid ..."
        for (char *line = std::strchr(table, '\n'); line && line[1]; line = std::strchr(line + 1, '\n')) {
            unsigned local = 0, port = 0, state = 0, uid = 0;
            if (std::sscanf(line + 1, " %*d: %8X:%4X %*8X:%*4X %2X %*8X:%*8X %*2X:%*8X %*8X %u", &local, &port, &state, &uid) != 4
                || state != 0x0A || local != 0x0100007F || uid != serverUser || int(port) == ftpPort
                || int(port) == webPort || int(port) == last)
                continue;
            last = int(port);
            const int s = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(quint16(port));
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (::connect(s, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
                ::send(s, "VOLE", 4, MSG_NOSIGNAL);
                ++reached;
            }
            // Left open: the server may take it for the client's.
        }
    }
}

} // namespace

// Another user of the computer watches /proc/net/tcp and connects to each
// passive data port of the own host as soon as it opens, sending bytes of its
// own: every file is still published, each exactly as it is here.
TEST_F(PublicationHost, AnotherUserOnThePassiveDataPortsNeitherStopsNorChangesAPublication)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's program can only be started by root";
    const QString a = folder(u"a"_s);
    start(a);
    ASSERT_TRUE(record(a));
    const localhost::HostRecord server = *record(a);
    // Counts the ports it reached, in memory both processes share.
    auto *reached = static_cast<std::atomic<int> *>(
        ::mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(reached, MAP_FAILED);
    new (reached) std::atomic<int>(0);
    const pid_t stranger = ::fork();
    if (stranger == 0)
        takeEveryNewPort(server.ftpPort, server.webPort, ::getuid(), *reached);
    ASSERT_GT(stranger, 0);
    const auto stopStranger = [stranger] {
        ::kill(stranger, SIGKILL);
        ::waitpid(stranger, nullptr, 0);
    };
    auto endStranger = qScopeGuard(stopStranger);

    const QString source = a + u"/VILLE_ECOLE_CM1/lecteurs/Dupont_Jean_x/"_s;
    for (int i = 0; i < 30; ++i)
        writeFile(source + u"texte%1.html"_s.arg(i), "<p>texte " + QByteArray::number(i) + "</p>\r\n");
    platform::CurlFtpClient client;
    ASSERT_TRUE(localhost::ConnexionFTP(client, a));
    publishing::ForceFtpDirectories(client, Target);
    client.disconnect();
    ASSERT_TRUE(localhost::ConnexionFTP(client, a));
    const publishing::UploadResult result =
        publishing::uploadFiles(client, {source, Target, a}, publishing::sourceFiles(source));
    client.disconnect();
    endStranger.dismiss();
    stopStranger();

    EXPECT_EQ(result.published, 30);
    for (int i = 0; i < 30; ++i) {
        const QString name = u"texte%1.html"_s.arg(i);
        EXPECT_EQ(bytesOf(a + u"-publication/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/"_s + name), bytesOf(source + name))
            << name.toStdString();
    }
    // A race: how often it wins depends on the machine; the test below
    // makes it win every time.
    std::fprintf(stderr, "the other user connected to %d passive data ports\n", reached->load());
    ::munmap(reached, sizeof(std::atomic<int>));
}

namespace {

// One reply of an FTP server on a raw connection: its last line.
QByteArray replyOf(QTcpSocket &control)
{
    while (control.canReadLine() || control.waitForReadyRead(5000)) {
        if (!control.canReadLine())
            continue;
        const QByteArray line = control.readLine().trimmed();
        if (line.size() >= 4 && line.at(3) == ' ')
            return line;
    }
    return {};
}

} // namespace

// The same, made certain: another user connects to the passive data port
// before the client does. The server turns it away and takes the client's
// connection, and the file holds the client's bytes.
TEST_F(PublicationHost, ADataConnectionFromAnotherUserIsTurnedAway)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "another user's program can only be started by root";
    const QString a = folder(u"a"_s);
    start(a);
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(a);
    QTcpSocket control;
    control.connectToHost(u"127.0.0.1"_s, quint16(settings.port));
    ASSERT_TRUE(control.waitForConnected(5000));
    ASSERT_TRUE(replyOf(control).startsWith("220 "));
    const auto send = [&](const QByteArray &command) {
        control.write(command + "\r\n");
        control.flush();
        return replyOf(control);
    };
    ASSERT_TRUE(send("USER " + settings.user.toUtf8()).startsWith("331"));
    ASSERT_TRUE(send("PASS " + settings.password.toUtf8()).startsWith("230"));
    ASSERT_TRUE(send("TYPE I").startsWith("200"));
    const QByteArray passive = send("PASV");
    // "227 Entering passive mode (127,0,0,1,p1,p2)."
    const QList<QByteArray> numbers = passive.mid(passive.indexOf('(') + 1).split(',');
    ASSERT_EQ(numbers.size(), 6) << passive.constData();
    const int dataPort = numbers.at(4).toInt() * 256 + numbers.at(5).split(')').first().toInt();

    QProcess stranger;
    stranger.start(u"/usr/bin/setpriv"_s,
                   {u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s, u"--"_s, u"/usr/bin/python3"_s, u"-c"_s,
                    u"import socket, sys, time\ns = socket.create_connection(('127.0.0.1', int(sys.argv[1])))\n"
                    u"s.sendall(b'VOLE')\nprint('ok', flush=True)\ntime.sleep(3)\n"_s,
                    QString::number(dataPort)});
    ASSERT_TRUE(stranger.waitForReadyRead(10000));
    ASSERT_EQ(stranger.readLine().trimmed(), "ok");

    QTcpSocket data;
    data.connectToHost(u"127.0.0.1"_s, quint16(dataPort));
    ASSERT_TRUE(data.waitForConnected(5000));
    EXPECT_TRUE(send("STOR essai.txt").startsWith("1")) << "the transfer starts";
    data.write("les octets du client");
    data.flush();
    data.disconnectFromHost();
    if (data.state() != QAbstractSocket::UnconnectedState)
        data.waitForDisconnected(5000);
    EXPECT_TRUE(replyOf(control).startsWith("226"));
    EXPECT_EQ(bytesOf(a + u"-publication/essai.txt"_s), "les octets du client");
    stranger.kill();
    stranger.waitForFinished();
}

// A passive data connection that cannot be made (another program took the
// port, or it closed) is tried once more, and only once.
TEST(OwnHostClient, ADataConnectionThatFailsIsTriedOnceMore)
{
    const QString script = uR"(
import socket, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
closed = socket.socket()
closed.bind(("127.0.0.1", 0))  # bound, never listening: a connection there is refused
dead = closed.getsockname()[1]
left = [int(sys.argv[2])]
class Handler(FTPHandler):
    def ftp_EPSV(self, line):
        self.respond("500 EPSV not understood.")  # the client asks PASV then
    def ftp_PASV(self, line):
        if left[0] > 0:
            left[0] -= 1
            self.respond("227 Entering passive mode (127,0,0,1,%d,%d)." % (dead >> 8, dead & 255))
        else:
            FTPHandler.ftp_PASV(self, line)
authorizer = DummyAuthorizer()
authorizer.add_user("u", "p", sys.argv[1], perm="elradfmwMT")
Handler.authorizer = authorizer
server = FTPServer(("127.0.0.1", 0), Handler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
)"_s;
    for (const int refused : {1, 2}) {
        SCOPED_TRACE(refused);
        QTemporaryDir folder;
        QProcess server;
        server.start(u"/usr/bin/python3"_s, {u"-c"_s, script, folder.path(), QString::number(refused)});
        ASSERT_TRUE(server.waitForReadyRead(10000));
        publishing::FtpLogin login;
        login.host = u"127.0.0.1"_s;
        login.port = server.readLine().trimmed().toInt();
        login.user = u"u"_s;
        login.password = u"p"_s;
        login.timeoutSeconds = 5;
        QTemporaryDir local;
        writeFile(local.filePath(u"conte.html"_s), "<p>conte</p>");
        platform::CurlFtpClient client;
        client.connect(login);
        // Opened again after the failure, the connection is back in this folder.
        client.makeDir(u"classe"_s);
        client.changeDir(u"classe"_s);
        const QString failure = failureOf([&] { client.put(local.filePath(u"conte.html"_s), u"conte.html"_s); });
        const QString sent = folder.filePath(u"classe/conte.html"_s);
        if (refused == 1) {
            EXPECT_EQ(failure, u"<no error>"_s);
            EXPECT_EQ(bytesOf(sent), "<p>conte</p>");
        } else {
            EXPECT_NE(failure, u"<no error>"_s);
            EXPECT_FALSE(QFileInfo::exists(sent));
        }
        server.kill();
        server.waitForFinished();
    }
}

// The start says, in French, what is published and where; no search engine
// is to index it.
TEST_F(PublicationHost, SaysWhatItPublishesAndKeepsSearchEnginesAway)
{
    const QString a = folder(u"a"_s);
    const Outcome run = launch({a});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const localhost::LocalHost host = localhost::localHostOf(a, publishing::readPublicationSettings(a));
    EXPECT_TRUE(run.out.contains(u"Serveur de publication local démarré pour "_s + a)) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(localhost::whatIsPublished(host))) << run.out.toStdString();
    // Whatever the published folder holds under that name.
    writeFile(host.servedFolder + u"/robots.txt"_s, "User-agent: *\nAllow: /\n");
    EXPECT_EQ(httpGet(host.webPort, u"/robots.txt"_s), "User-agent: *\nDisallow: /\n");
    const Outcome again = launch({a});
    EXPECT_TRUE(again.out.contains(localhost::whatIsPublished(host))) << again.out.toStdString();
}

namespace {

// Runs a command; its exit code, and its output in out.
int run(const QString &program, const QStringList &arguments, QByteArray *out = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (out)
        *out = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// A second network namespace joined to this one by a veth pair, addresses of
// a test subnet that exists only between the two: a tablet on the classroom's
// network, as far as the host can tell. Removed with everything in it.
class Tablet
{
public:
    Tablet()
    {
        const QString tag = QString::number(::getpid());
        m_namespace = u"tessavo-tablette-"_s + tag;
        m_here = u"tsvh"_s + tag;
        const QString there = u"tsvt"_s + tag;
        const QList<QStringList> steps{
            {u"netns"_s, u"add"_s, m_namespace},
            {u"link"_s, u"add"_s, m_here, u"type"_s, u"veth"_s, u"peer"_s, u"name"_s, there},
            {u"link"_s, u"set"_s, there, u"netns"_s, m_namespace},
            {u"addr"_s, u"add"_s, ComputerAddress + u"/30"_s, u"dev"_s, m_here},
            {u"link"_s, u"set"_s, m_here, u"up"_s},
            {u"-n"_s, m_namespace, u"addr"_s, u"add"_s, u"10.213.0.2/30"_s, u"dev"_s, there},
            {u"-n"_s, m_namespace, u"link"_s, u"set"_s, there, u"up"_s},
            {u"-n"_s, m_namespace, u"link"_s, u"set"_s, u"lo"_s, u"up"_s},
        };
        for (const QStringList &step : steps) {
            QByteArray said;
            if (run(u"ip"_s, step, &said) != 0) {
                m_failure = u"ip "_s + step.join(u' ') + u": "_s + QString::fromLocal8Bit(said.trimmed());
                return;
            }
        }
    }

    ~Tablet()
    {
        run(u"ip"_s, {u"link"_s, u"del"_s, m_here});
        run(u"ip"_s, {u"netns"_s, u"del"_s, m_namespace});
    }

    // Why the namespace could not be made; empty when it was.
    const QString &failure() const { return m_failure; }

    // For each path, "<status> <path>" and the body's size, as the tablet
    // gets it from the computer's web port; then "ftp <refused|open>".
    QByteArray ask(int webPort, int ftpPort, const QStringList &paths) const
    {
        const QString script = uR"(
import http.client, socket, sys
address, web, ftp = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for path in sys.argv[4:]:
    connection = http.client.HTTPConnection(address, web, timeout=5)
    try:
        connection.request("GET", path)
        answer = connection.getresponse()
        body = answer.read()
        print(answer.status, path, len(body), body[:40])
    except OSError as error:
        print("erreur", path, error)
    connection.close()
try:
    socket.create_connection((address, ftp), timeout=5).close()
    print("ftp open")
except OSError:
    print("ftp refused")
)"_s;
        QByteArray out;
        run(u"ip"_s, QStringList{u"netns"_s, u"exec"_s, m_namespace, u"/usr/bin/python3"_s, u"-c"_s, script, ComputerAddress,
                                 QString::number(webPort), QString::number(ftpPort)} + paths,
            &out);
        return out;
    }

    inline static const QString ComputerAddress = u"10.213.0.1"_s;

private:
    QString m_namespace;
    QString m_here;
    QString m_failure;
};

} // namespace

// The classroom host, tried as a tablet would: from another network
// namespace, through the computer's address on the network.
TEST_F(PublicationHost, ATabletOnTheNetworkReadsAPupilsCodeFolderAndNothingElse)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a second network namespace can only be made by root";
    const Tablet tablet;
    if (!tablet.failure().isEmpty())
        GTEST_SKIP() << "no second network namespace here: " << tablet.failure().toStdString();

    const QString a = folder(u"a"_s);
    const auto [ftp, web] = localhost::choosePorts(localhost::processes::portIsFree, {});
    ASSERT_TRUE(localhost::writeFreshPublicationIni(a, localhost::freshPublicationIni(ftp, web, u"0123456789abcdef"_s)));
    const QString served = a + u"-publication"_s;
    const QString code = u"K7M2P9QRT4WXZ3HJNB6C"_s;
    ASSERT_TRUE(localhost::isPupilCode(code));
    const QString pupil = u"/Orvane_VILLE_ECOLE_CM1/"_s + code + u'/';
    const QStringList refused{
        u"/Orvane_VILLE_ECOLE_CM1/K7M2P9QRT4WXZ3HJNB6D/_Tablematieres.html"_s,  // a wrong code
        pupil,                                                        // the pupil's folder, listed
        u"/Orvane_VILLE_ECOLE_CM1/"_s,                                // the class
        u"/Orvane_VILLE_ECOLE_CM1/index.html"_s,                      // the class page
        u"/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/conte.html"_s,        // a named folder
        u"/"_s,
        u"/robots.txt"_s,
        pupil + u"..%2F..%2Findex.html"_s,
        pupil + u"lien.html"_s,                                       // a link in the folder
        u"/Orvane_VILLE_ECOLE_CM1/K7M2P9QRT4WXZ3HJNB6O/conte.html"_s,  // O is no code letter
        u"/Orvane_VILLE_ECOLE_CM1/K7M2P9QRT4WXZ3HJNB6/conte.html"_s,   // 19 letters
    };

    // Without reseau_classe=oui, nothing answers on the network.
    start(a);
    const QByteArray closed = tablet.ask(web, ftp, {pupil + u"_Tablematieres.html"_s});
    EXPECT_FALSE(closed.contains("200 ")) << closed.constData();
    EXPECT_TRUE(closed.contains("ftp refused")) << closed.constData();

    writeFile(a + u"/publication.ini"_s, bytesOf(a + u"/publication.ini"_s) + "reseau_classe=oui\r\n");
    const Outcome opened = launch({a});
    ASSERT_EQ(opened.code, 0) << opened.err.toStdString();
    EXPECT_TRUE(opened.out.contains(u"Sur le réseau local (reseau_classe=oui)"_s)) << opened.out.toStdString();
    writeFile(served + pupil + u"_Tablematieres.html"_s, "<p>table de Zoé</p>");
    writeFile(served + pupil + u"conte.html"_s, "<p>le conte</p>");
    writeFile(served + u"/Orvane_VILLE_ECOLE_CM1/index.html"_s, "<p>la classe</p>");
    writeFile(served + u"/Orvane_VILLE_ECOLE_CM1/Dupont_Jean_x/conte.html"_s, "<p>nommé</p>");
    ASSERT_TRUE(QFile::link(a + u"/publication.ini"_s, served + pupil + u"lien.html"_s));
    for (const QString &notACode : {u"K7M2P9QRT4WXZ3HJNB6O"_s, u"K7M2P9QRT4WXZ3HJNB6"_s})
        writeFile(served + u"/Orvane_VILLE_ECOLE_CM1/"_s + notACode + u"/conte.html"_s, "<p>pas un code</p>");

    const QByteArray read = tablet.ask(web, ftp, QStringList{pupil + u"_Tablematieres.html"_s, pupil + u"conte.html"_s} + refused);
    EXPECT_TRUE(read.contains("200 " + (pupil + u"_Tablematieres.html"_s).toUtf8() + " 20 b'<p>table de Zo")) << read.constData();
    EXPECT_TRUE(read.contains("200 " + (pupil + u"conte.html"_s).toUtf8() + " 15 b'<p>le conte</p>'")) << read.constData();
    EXPECT_EQ(read.count("200 "), 2) << read.constData();
    for (const QString &path : refused)
        EXPECT_TRUE(read.contains("404 " + path.toUtf8() + ' ')) << path.toStdString() << "\n" << read.constData();
    EXPECT_TRUE(read.contains("ftp refused")) << read.constData();
    // Unchanged on this computer: the class page and robots.txt.
    EXPECT_EQ(httpGet(web, u"/Orvane_VILLE_ECOLE_CM1/index.html"_s), "<p>la classe</p>");
    EXPECT_EQ(httpGet(web, u"/robots.txt"_s), "User-agent: *\nDisallow: /\n");

    // The 20th unknown address in a minute (some asked above) makes the
    // tablet wait, even for the pupil's own; not the 19th, and not this computer.
    const QString table = pupil + u"_Tablematieres.html"_s;
    const auto guesses = [&](int count, int from) {
        QStringList guessed;
        for (int i = 0; i < count; ++i)
            guessed << u"/Orvane_VILLE_ECOLE_CM1/K7M2P9QRT4WXZ3HJNB%1/_Tablematieres.html"_s.arg(from + i);
        return guessed << table;
    };
    const QByteArray nineteen = tablet.ask(web, ftp, guesses(19 - int(refused.size()), 20));
    EXPECT_TRUE(nineteen.contains("200 " + table.toUtf8())) << nineteen.constData();
    const QByteArray twenty = tablet.ask(web, ftp, guesses(1, 60));
    EXPECT_TRUE(twenty.contains("429 " + table.toUtf8())) << twenty.constData();
    EXPECT_EQ(httpGet(web, pupil + u"_Tablematieres.html"_s), "<p>table de Zoé</p>");
}
