// The rules of the local publishing host: what publication.ini may ask of it,
// the file it is given, its ports and its record.
#include "localhost/classroom.h"
#include "localhost/decisions.h"
#include "localhost/proof.h"
#include "publishing/settings.h"
#include "testfiles.h"
#include "workspace/ioerror.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

publishing::PublicationSettings local(int port, const QString &web)
{
    publishing::PublicationSettings settings;
    settings.host = u"127.0.0.1"_s;
    settings.port = port;
    settings.user = u"tessavo"_s;
    settings.password = u"secret"_s;
    settings.adresse_web = web;
    return settings;
}

publishing::PublicationSettings withUser(const QString &user)
{
    publishing::PublicationSettings settings = local(2121, u"127.0.0.1:8000"_s);
    settings.user = user;
    return settings;
}

} // namespace

TEST(LocalHostRules, ServesLoopbackOnTheFilesPortsOverTheFolderBesideTheWorkingFolder)
{
    EXPECT_TRUE(localhost::namesThisComputer(u"127.0.0.1"_s));
    EXPECT_TRUE(localhost::namesThisComputer(u"LocalHost"_s));
    EXPECT_FALSE(localhost::namesThisComputer(u"ftp.ecole.fr"_s));
    EXPECT_FALSE(localhost::namesThisComputer(u"127.0.0.2"_s));

    const localhost::LocalHost host = localhost::localHostOf(u"/w/Mes textes"_s, local(2121, u"localhost:8000"_s));
    EXPECT_EQ(host.servedFolder, u"/w/Mes textes-publication"_s);
    EXPECT_EQ(host.ftpPort, 2121);
    EXPECT_EQ(host.webPort, 8000);
    EXPECT_EQ(host.password, u"secret"_s);
    EXPECT_EQ(localhost::localHostOf(u"/w"_s, local(2121, u"127.0.0.1"_s)).webPort, 80);
    // Written as a whole address, as the browser shows it.
    EXPECT_EQ(localhost::localHostOf(u"/w"_s, local(2121, u"HTTP://127.0.0.1:8000/"_s)).webPort, 8000);
}

TEST(LocalHostRules, RefusesWhatItCannotServeNamingTheKey)
{
    struct Case
    {
        const char *name;
        publishing::PublicationSettings settings;
        QString named;
    };
    publishing::PublicationSettings tls = local(2121, u"127.0.0.1:8000"_s);
    tls.tls = true;
    publishing::PublicationSettings sftp = local(2121, u"127.0.0.1:8000"_s);
    sftp.protocole = publishing::Protocol::Sftp;
    const Case cases[] = {
        {"FTPS", tls, u"tls=non"_s},
        {"a web server elsewhere", local(2121, u"www.ecole.fr:8000"_s), u"adresse_web"_s},
        {"a web port that is no number", local(2121, u"127.0.0.1:huit"_s), u"adresse_web"_s},
        {"a web port out of range", local(2121, u"127.0.0.1:70000"_s), u"adresse_web"_s},
        {"a path after the web address", local(2121, u"127.0.0.1:8000/classe"_s), u"adresse_web"_s},
        {"https, which the local web server does not speak", local(2121, u"https://127.0.0.1:8000"_s),
         u"adresse_web"_s},
        {"one port for both", local(8000, u"127.0.0.1:8000"_s), u"même port"_s},
        {"a negative web port", local(2121, u"127.0.0.1:-1"_s), u"adresse_web"_s},
        {"SFTP", sftp, u"protocole=ftp"_s},
        {"the anonymous user, let in with any password", withUser(u"anonymous"_s), u"anonyme"_s},
        {"ftp, the other anonymous name", withUser(u"FTP"_s), u"anonyme"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            localhost::localHostOf(u"/w"_s, c.settings);
            ADD_FAILURE() << "accepted";
        } catch (const publishing::SettingsError &error) {
            EXPECT_TRUE(error.message().contains(u"publication.ini"_s)) << error.what();
            EXPECT_TRUE(error.message().contains(c.named)) << error.what();
        }
    }
}

TEST(LocalHostRules, AFreshPublicationIniIsForItsOwnerAndReadsBackAsWritten)
{
    QTemporaryDir folder;
    const QString password = localhost::randomPassword();
    EXPECT_EQ(password.size(), 16);
    EXPECT_NE(password, localhost::randomPassword());
    const mode_t previous = ::umask(0);  // what the user's mask would let through
    const bool written =
        localhost::writeFreshPublicationIni(folder.path(), localhost::freshPublicationIni(24001, 24002, password));
    ::umask(previous);
    ASSERT_TRUE(written);

    const QString path = folder.filePath(u"publication.ini"_s);
    struct stat status{};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"publication.ini"_s});

    const publishing::PublicationSettings settings = publishing::readPublicationSettings(folder.path());
    EXPECT_EQ(settings.host, u"127.0.0.1"_s);
    EXPECT_EQ(settings.port, 24001);
    EXPECT_EQ(settings.user, u"tessavo"_s);
    EXPECT_EQ(settings.password, password);
    EXPECT_EQ(settings.adresse_web, u"127.0.0.1:24002"_s);
    EXPECT_FALSE(settings.tls);
    EXPECT_TRUE(bytesOf(path).contains("\r\nmot_de_passe="));

    // A file that is there already stays as it is.
    writeFile(path, "[publication]\r\nhote=ftp.ecole.fr\r\n");
    EXPECT_FALSE(localhost::writeFreshPublicationIni(folder.path(), localhost::freshPublicationIni(1, 2, password)));
    EXPECT_EQ(bytesOf(path), QByteArray("[publication]\r\nhote=ftp.ecole.fr\r\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"publication.ini"_s});
}

TEST(LocalHostRules, ChoosesTwoFreePortsThatNoOtherFolderHas)
{
    const QList<int> taken{20001, 20002};
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        const auto [ftp, web] = localhost::choosePorts([](int port) { return port % 2 == 1; }, taken);
        EXPECT_NE(ftp, web);
        for (const int port : {ftp, web}) {
            EXPECT_GE(port, 20000);
            EXPECT_LE(port, 32767);
            EXPECT_EQ(port % 2, 1);
            EXPECT_FALSE(taken.contains(port));
            seen.insert(port);
        }
    }
    EXPECT_GT(seen.size(), 100u);  // chosen at random, so two folders rarely meet
    EXPECT_THROW(localhost::choosePorts([](int) { return false; }, {}), publishing::SettingsError);
}

// Three ports left on the whole range, one of them another folder's: the
// other two are found, every time, whichever way the one is held.
TEST(LocalHostRules, NeverGivesAPortOfAnotherFolderEvenWhenFewAreLeft)
{
    const std::set<int> left{20500, 27000, 32767};
    const struct
    {
        const char *name;
        QList<int> taken;        // the ports of the other folders' records
        int listening;           // a port some server holds now
    } cases[] = {
        {"in another folder's record", {27000}, 0},
        {"held by another folder's running server", {}, 27000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        for (int round = 0; round < 50; ++round) {
            const auto [ftp, web] = localhost::choosePorts(
                [&](int port) { return left.count(port) == 1 && port != c.listening; }, c.taken);
            EXPECT_EQ((std::set<int>{ftp, web}), (std::set<int>{20500, 32767}));
        }
    }
}

TEST(LocalHostRules, KeepsOneRecordPerFolderAndTellsTheOtherFoldersPorts)
{
    QTemporaryDir state;
    const localhost::HostRecord a{u"/w/a"_s, u"/w/a-publication"_s, 101, 5001, 21001, 21002};
    const localhost::HostRecord b{u"/w/b"_s, u"/w/b-publication"_s, 102, 5002, 22001, 22002};
    const QString pathA = localhost::recordPath(state.path(), a.workingFolder);
    const QString pathB = localhost::recordPath(state.path(), b.workingFolder);
    EXPECT_NE(pathA, pathB);
    EXPECT_TRUE(pathA.endsWith(u".json"_s));
    EXPECT_EQ(localhost::logPath(state.path(), a.workingFolder).chopped(4), pathA.chopped(5));
    localhost::writeRecord(pathA, a);
    localhost::writeRecord(pathB, b);

    const std::optional<localhost::HostRecord> read = localhost::readRecord(pathA);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->workingFolder, a.workingFolder);
    EXPECT_EQ(read->servedFolder, a.servedFolder);
    EXPECT_EQ(read->pid, a.pid);
    EXPECT_EQ(read->startTime, a.startTime);
    EXPECT_EQ(read->ftpPort, a.ftpPort);
    EXPECT_EQ(read->webPort, a.webPort);
    EXPECT_EQ(localhost::portsOfOtherFolders(state.path(), a.workingFolder), (QList<int>{22001, 22002}));

    writeFile(pathB, "pas un enregistrement");
    EXPECT_FALSE(localhost::readRecord(pathB));
    localhost::HostRecord noProcess = b;
    noProcess.pid = 0;  // "kill 0" would end the whole process group
    localhost::writeRecord(pathB, noProcess);
    EXPECT_FALSE(localhost::readRecord(pathB));
    EXPECT_FALSE(localhost::readRecord(state.filePath(u"absent.json"_s)));
    EXPECT_TRUE(localhost::portsOfOtherFolders(state.path(), a.workingFolder).isEmpty());
}

// A record that another user could have written or swapped is never trusted.
TEST(LocalHostRules, TrustsNoRecordThatIsALinkOrThatOthersCanWrite)
{
    QTemporaryDir state;
    const localhost::HostRecord a{u"/w/a"_s, u"/w/a-publication"_s, 101, 5001, 21001, 21002};
    const QString real = state.filePath(u"vrai.json"_s);
    localhost::writeRecord(real, a);
    ASSERT_TRUE(localhost::readRecord(real));
    const QString link = state.filePath(u"lien.json"_s);
    ASSERT_TRUE(QFile::link(real, link));
    EXPECT_FALSE(localhost::readRecord(link));
    EXPECT_FALSE(localhost::checkOwnPlace(link, u"l'état du serveur"_s));
    QFile::setPermissions(real, QFile::permissions(real) | QFile::WriteOther);
    EXPECT_FALSE(localhost::readRecord(real));
}

TEST(LocalHostRules, TheProgramsOwnPublicationIniIsMarkedOrExactlyAsEarlierVersionsWroteIt)
{
    const QByteArray earlier = "[publication]\r\nhote=127.0.0.1\r\nport=24117\r\nutilisateur=tessavo\r\n"
                               "mot_de_passe=0a1b2c3d4e5f6789\r\nadresse_web=127.0.0.1:29305\r\ntls=non\r\ndelai=20\r\n";
    const struct
    {
        const char *name;
        std::optional<QByteArray> ini;
        bool own;
    } cases[] = {
        {"none", std::nullopt, false},
        {"written now", localhost::freshPublicationIni(24117, 29305, u"0a1b2c3d4e5f6789"_s), true},
        {"as earlier versions wrote it", earlier, true},
        {"an earlier one, edited", QByteArray(earlier).replace("tls=non", "tls=oui"), false},
        {"a person's, naming this computer",
         "[publication]\r\nhote=127.0.0.1\r\nport=21\r\nutilisateur=prof\r\nmot_de_passe=x\r\nadresse_web=127.0.0.1\r\n", false},
        {"a person's, with LF line ends", QByteArray(earlier).replace("\r\n", "\n"), false},
        {"marked, written by hand", "[publication]\nserveur_local = oui\nhote=127.0.0.1\n", true},
        {"marked no", "[publication]\r\nserveur_local=non\r\nhote=127.0.0.1\r\n", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        if (c.ini)
            writeFile(folder.filePath(u"publication.ini"_s), *c.ini);
        EXPECT_EQ(localhost::isProgramsOwnIni(folder.path()), c.own);
    }
    // The comment that says what the mark means is no key, and the file reads back whole.
    QTemporaryDir folder;
    writeFile(folder.filePath(u"publication.ini"_s), localhost::freshPublicationIni(24117, 29305, u"0a1b2c3d4e5f6789"_s));
    EXPECT_TRUE(bytesOf(folder.filePath(u"publication.ini"_s)).contains("\r\n; "));
    EXPECT_EQ(publishing::readPublicationSettings(folder.path()).password, u"0a1b2c3d4e5f6789"_s);
}

TEST(LauncherDecisions, StartsKeepsOrReplacesOnlyTheProgramsOwnHost)
{
    using localhost::HostAction;
    const struct
    {
        bool ownFile, thisComputer, runs, same, account;
        HostAction action;
    } cases[] = {
        {false, true, false, false, false, HostAction::LeaveAlone},  // a person's file naming this computer
        {false, true, true, true, true, HostAction::LeaveAlone},
        {true, false, false, false, false, HostAction::LeaveAlone},  // the program's file, edited to a real host
        {true, true, false, false, false, HostAction::Start},
        {true, true, true, true, true, HostAction::Keep},
        {true, true, true, false, false, HostAction::Replace},  // a port or the folder changed
        {true, true, true, true, false, HostAction::Replace},   // the password changed
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.ownFile << c.thisComputer << c.runs << c.same << c.account);
        EXPECT_EQ(localhost::hostAction({c.ownFile, c.thisComputer, c.runs, c.same, c.account}), c.action);
    }
}

TEST(LauncherDecisions, ReadsTheServersLineByItsWordsNotByPlaces)
{
    using localhost::ServerReply;
    const struct
    {
        QString line;
        ServerReply::Kind kind;
        qint64 pid;
        int port;
        QString text;
    } cases[] = {
        {u"PRET 4242"_s, ServerReply::Ready, 4242, 0, u"PRET 4242"_s},
        {u"PORT_PRIS 2121"_s, ServerReply::PortTaken, 0, 2121, u"PORT_PRIS 2121"_s},
        {u"MODULE_ABSENT pyftpdlib"_s, ServerReply::ModuleMissing, 0, 0, u"pyftpdlib"_s},
        {u"ERREUR compte vide"_s, ServerReply::Failed, 0, 0, u"compte vide"_s},
        {u"PRET"_s, ServerReply::Unknown, 0, 0, u"PRET"_s},
        {u"PRET 0"_s, ServerReply::Unknown, 0, 0, u"PRET 0"_s},
        {u"PRET -1"_s, ServerReply::Unknown, -1, 0, u"PRET -1"_s},
        {u"PRETE 12"_s, ServerReply::Unknown, 0, 0, u"PRETE 12"_s},
        {u"PORT_PRIS 70000"_s, ServerReply::Unknown, 0, 70000, u"PORT_PRIS 70000"_s},
        {u"PORT_PRIS deux"_s, ServerReply::Unknown, 0, 0, u"PORT_PRIS deux"_s},
        {u"MODULE_ABSENT"_s, ServerReply::Unknown, 0, 0, u"MODULE_ABSENT"_s},
        {u"Traceback (most recent call last):"_s, ServerReply::Unknown, 0, 0, u"Traceback (most recent call last):"_s},
        {QString(), ServerReply::Unknown, 0, 0, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ServerReply reply = localhost::parseServerReply(c.line);
        EXPECT_EQ(reply.kind, c.kind);
        if (c.kind == ServerReply::Ready) {
            EXPECT_EQ(reply.pid, c.pid);
        }
        if (c.kind == ServerReply::PortTaken) {
            EXPECT_EQ(reply.port, c.port);
        }
        EXPECT_EQ(reply.text, c.text);
    }
}

// Whether the password of publication.ini may be sent: a file of the
// program's own names its local host, which must be this folder's server.
TEST(LauncherDecisions, ThePasswordGoesToTheOwnHostOnlyWhenItsServerIsThisFolders)
{
    const struct
    {
        const char *name;
        bool ownFile, thisComputer, ours, held;
        const char *refusal;  // nothing: logged in
    } cases[] = {
        {"a person's file naming this computer, port held", false, true, false, true, nullptr},
        {"a person's file naming this computer, port free", false, true, false, false, nullptr},
        {"the program's file, its server running", true, true, true, true, nullptr},
        {"the program's file, another program on its port", true, true, false, true, "tenu par un autre programme"},
        {"the program's file, a record that does not match", true, true, false, true, "Rien ne lui a été envoyé"},
        {"the program's file, nothing on its port", true, true, false, false, "rien n'écoute sur le port 24117"},
        {"the program's file, edited to a real host", true, false, false, false, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const workspace::Result<void> verdict = localhost::ownHostVerdict({c.ownFile, c.thisComputer, c.ours, c.held, 24117});
        EXPECT_EQ(verdict.ok(), c.refusal == nullptr) << verdict.reason().toStdString();
        if (c.refusal) {
            EXPECT_TRUE(verdict.reason().contains(QString::fromUtf8(c.refusal))) << verdict.reason().toStdString();
            EXPECT_TRUE(verdict.reason().startsWith(u"Le serveur de publication local de ce dossier de travail ne tourne pas"_s));
        }
    }
}

// The published folder and the state folder are made by the launcher, for
// its user alone; one that was there before is used only when it is the
// user's own and no one else can write it.
TEST(LocalHostRules, MakesItsFoldersItselfAndRefusesOnesItCannotTrust)
{
    QTemporaryDir root;
    const QString fresh = root.filePath(u"Tessavo-publication"_s);
    ASSERT_TRUE(localhost::makeOwnFolder(fresh, u"le dossier publié"_s));
    struct stat status{};
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_TRUE(localhost::makeOwnFolder(fresh, u"le dossier publié"_s)) << "its own, made before";

    const struct
    {
        const char *name;
        std::function<bool(const QString &)> make;
        const char *said;
    } cases[] = {
        {"a link to the working folder", [&](const QString &p) { return QFile::link(root.path(), p); }, "est un lien"},
        {"a dangling link", [&](const QString &p) { return QFile::link(root.filePath(u"ailleurs"_s), p); }, "est un lien"},
        {"a folder at mode 777", [](const QString &p) { return QDir().mkdir(p) && ::chmod(QFile::encodeName(p).constData(), 0777) == 0; },
         "peut être modifié par d'autres"},
        {"a file", [](const QString &p) { writeFile(p, "x"); return true; }, "est un fichier"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = root.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(c.make(path));
        const workspace::Result<void> made = localhost::makeOwnFolder(path, u"le dossier publié"_s);
        ASSERT_FALSE(made);
        EXPECT_TRUE(made.reason().startsWith(u"le dossier publié « "_s + path + u" » "_s)) << made.reason().toStdString();
        EXPECT_TRUE(made.reason().contains(QString::fromUtf8(c.said))) << made.reason().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(root.filePath(u"ailleurs"_s))) << "nothing made through a link";
}

// Another user of the computer made the folder first: the test runs as root
// and hands a folder to the user nobody.
TEST(LocalHostRules, RefusesAFolderAnotherUserMade)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a folder of another user can only be made by root";
    QTemporaryDir root;
    const QString path = root.filePath(u"Tessavo-publication"_s);
    ASSERT_TRUE(QDir().mkdir(path));
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    const workspace::Result<void> made = localhost::makeOwnFolder(path, u"le dossier publié"_s);
    ASSERT_FALSE(made);
    EXPECT_TRUE(made.reason().contains(u"a été créé par un autre utilisateur de cet ordinateur"_s)) << made.reason().toStdString();
}

// The own host's greeting proves it to be the folder's: only for the
// connection it answers, and only with the account's password.
TEST(LauncherDecisions, TheOwnHostsGreetingProvesItOnlyForThisConnectionAndPassword)
{
    const publishing::PublicationSettings settings = local(24117, u"127.0.0.1:24118"_s);
    const QString address = localhost::randomLoopbackAddress();
    EXPECT_TRUE(address.startsWith(u"127."_s)) << address.toStdString();
    EXPECT_NE(address, u"127.0.0.1"_s);
    EXPECT_NE(address, localhost::randomLoopbackAddress());
    const QByteArray right = "220 " + localhost::ownHostProof(u"secret"_s, 24117, address, 40001);
    EXPECT_EQ(localhost::ownHostGreetingRefused(settings, right + "\r\n", address, 40001), QString());
    const struct
    {
        const char *name;
        QByteArray greeting;
        QString address;
        int port;
    } refused[] = {
        {"the banner alone", "220 Serveur de publication local de Tessavo.", address, 40001},
        {"another connection's port", right, address, 40002},
        {"another connection's address", right, u"127.0.0.1"_s, 40001},
        {"another password", "220 " + localhost::ownHostProof(u"autre"_s, 24117, address, 40001), address, 40001},
        {"another server port", "220 " + localhost::ownHostProof(u"secret"_s, 24118, address, 40001), address, 40001},
        {"the proof with more after it", right + " x", address, 40001},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(c.name);
        const QString why = localhost::ownHostGreetingRefused(settings, c.greeting, c.address, c.port);
        EXPECT_TRUE(why.contains(u"le port 24117 de cet ordinateur (clé port de publication.ini) est tenu par un autre "
                                 u"programme, qui n'est pas ce serveur. Rien ne lui a été envoyé"_s))
            << why.toStdString();
    }
}

TEST(LocalHostRules, TellsWhatItPublishesAndWhere)
{
    localhost::LocalHost host;
    host.webPort = 24118;
    EXPECT_EQ(localhost::whatIsPublished(host),
              u"Y sont publiés, pour chaque élève, ses documents avec leurs images et leur feuille de style, et sa table "
              u"des matières, à l'adresse http://127.0.0.1:24118/Orvane_<VILLE>_<ECOLE>_<CLASSE>/<code de l'élève>/"
              u"_Tablematieres.html (le code est tiré au hasard à l'enregistrement ; avec adresses=noms dans "
              u"publication.ini, c'est le nom de l'élève), ainsi que la page de la classe, "
              u"http://127.0.0.1:24118/Orvane_<VILLE>_<ECOLE>_<CLASSE>/index.html. Ces adresses ne sont joignables que "
              u"depuis cet ordinateur, et les moteurs de recherche sont priés de ne rien en indexer "
              u"(http://127.0.0.1:24118/robots.txt)."_s);
}

TEST(ClassroomHost, KnowsAPupilsCodeAndTheAddressATabletOpens)
{
    const struct
    {
        QString text;
        bool code;
    } codes[] = {
        {u"K7M2P9QRT4WXZ3HJNB6C"_s, true},
        {u"k7m2p9qrt4wxz3hjnb6c"_s, true},   // typed in lower case on a tablet
        {u"K7M2P9QRT4WXZ3HJNB6"_s, false},   // 19: too short
        {QString(65, u'K'), false},
        {u"K7M2P9QRT4WXZ3HJNB6O"_s, false},  // O, taken for 0
        {u"K7M2P9QRT4WXZ3HJNB61"_s, false},
        {u"K7M2P9QRT4WXZ3HJNB6I"_s, false},
        {u"K7M2P9QRT4WXZ3HJNB6l"_s, false},
        {u"Dupont_Jean_parent@mail"_s, false},
        {u"K7M2P9QRT4WXZ3HJNB6C/"_s, false},
    };
    for (const auto &c : codes)
        EXPECT_EQ(localhost::isPupilCode(c.text), c.code) << c.text.toStdString();

    const QString table = u"http://192.168.1.20:24118/Orvane_A_B_C/K7M2P9QRT4WXZ3HJNB6C/_Tablematieres.html"_s;
    EXPECT_EQ(localhost::tabletAddress(u"192.168.1.20"_s, 24118, u"../Orvane_A_B_C/K7M2P9QRT4WXZ3HJNB6C/"_s), table);
    EXPECT_EQ(localhost::tabletAddress(u"192.168.1.20"_s, 24118, u"/Orvane_A_B_C/K7M2P9QRT4WXZ3HJNB6C"_s), table);
    EXPECT_EQ(localhost::tabletAddress(QString(), 24118, u"../Orvane_A_B_C/K7M2P9QRT4WXZ3HJNB6C/"_s), QString());

    const QByteArray route = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n"
                             "veth0\t0000D50A\t00000000\t0001\t0\t0\t0\tFCFFFFFF\n"
                             "wlan0\t00000000\t0101A8C0\t0003\t0\t0\t600\t00000000\n";
    EXPECT_EQ(localhost::defaultRouteInterface(route), u"wlan0"_s);
    EXPECT_EQ(localhost::defaultRouteInterface(QByteArray(route).replace("\t0003\t", "\t0002\t")), QString())
        << "a default route that is down";
    EXPECT_EQ(localhost::defaultRouteInterface(route.left(route.indexOf("wlan0"))), QString());
}

TEST(ClassroomHost, TheNetworkAddressIsTheDefaultRoutesElseTheFirstInterfaceUp)
{
    const localhost::NetworkInterface loopback{u"lo"_s, u"127.0.0.1"_s, true, true};
    const localhost::NetworkInterface docker{u"docker0"_s, u"172.17.0.1"_s, true, false};
    const localhost::NetworkInterface wifi{u"wlan0"_s, u"192.168.1.20"_s, true, false};
    const localhost::NetworkInterface wifiDown{u"wlan0"_s, u"192.168.1.20"_s, false, false};
    const localhost::NetworkInterface wifiIpv6Only{u"wlan0"_s, QString(), true, false};
    const struct
    {
        const char *name;
        QString route;
        QList<localhost::NetworkInterface> interfaces;
        QString address;
    } cases[] = {
        {"the default route's, though not first", u"wlan0"_s, {loopback, docker, wifi}, u"192.168.1.20"_s},
        {"no default route: the first up", QString(), {loopback, docker, wifi}, u"172.17.0.1"_s},
        {"the default route's interface down", u"wlan0"_s, {wifiDown, docker}, u"172.17.0.1"_s},
        {"the default route's interface without IPv4", u"wlan0"_s, {wifiIpv6Only, docker}, u"172.17.0.1"_s},
        {"loopback alone", u"lo"_s, {loopback}, QString()},
        {"none", QString(), {}, QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(localhost::chooseNetworkAddress(c.route, c.interfaces), c.address) << c.name;
}

TEST(ClassroomHost, IsOnlyWithReseauClasseOuiAndSaysWhatTheNetworkGets)
{
    const struct
    {
        const char *line;
        std::optional<bool> classroom;  // nothing: refused
    } cases[] = {{"", false}, {"reseau_classe=non\r\n", false}, {"reseau_classe=oui\r\n", true},
                 {"reseau_classe= OUI \r\n", true}, {"reseau_classe=peut-etre\r\n", std::nullopt}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        QTemporaryDir folder;
        writeFile(folder.filePath(u"publication.ini"_s), localhost::freshPublicationIni(24117, 24118, u"0a1b2c3d4e5f6789"_s) + c.line);
        if (!c.classroom) {
            EXPECT_THROW(publishing::readPublicationSettings(folder.path()), publishing::SettingsError);
            continue;
        }
        const publishing::PublicationSettings settings = publishing::readPublicationSettings(folder.path());
        EXPECT_EQ(settings.reseau_classe, *c.classroom);
        EXPECT_EQ(localhost::localHostOf(folder.path(), settings).classroom, *c.classroom);
        const QString student = u"../Orvane_A/K7M2P9QRT4WXZ3HJNB6C/"_s;
        const std::optional<QString> tablet =
            localhost::tabletAddressOf(folder.path(), student, [] { return u"192.168.1.20"_s; });
        if (!*c.classroom) {
            EXPECT_FALSE(tablet);
        } else {
            EXPECT_EQ(tablet, u"http://192.168.1.20:24118/Orvane_A/K7M2P9QRT4WXZ3HJNB6C/_Tablematieres.html"_s);
            EXPECT_FALSE(localhost::tabletAddressOf(folder.path(), student, [] { return QString(); }))
                << "a computer without a network address";
        }
    }

    localhost::LocalHost host;
    host.webPort = 24118;
    host.classroom = true;
    const QString told = localhost::whatIsPublished(host, u"192.168.1.20"_s);
    EXPECT_TRUE(told.contains(u"http://192.168.1.20:24118/Orvane_<VILLE>_<ECOLE>_<CLASSE>/<code de l'élève>/_Tablematieres.html"_s))
        << told.toStdString();
    EXPECT_FALSE(told.contains(u"ne sont joignables que depuis cet ordinateur"_s)) << told.toStdString();
    EXPECT_TRUE(told.contains(u"ni la page de la classe ni aucune liste de dossiers"_s)) << told.toStdString();
}
