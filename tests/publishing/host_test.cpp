// The rules of the local publishing host: what publication.ini may ask of it,
// the file it is given, its ports and its record.
#include "publishing/host.h"
#include "publishing/settings.h"
#include "testfiles.h"
#include "workspace/ioerror.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <set>
#include <sys/stat.h>

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

} // namespace

TEST(LocalHostRules, ServesLoopbackOnTheFilesPortsOverTheFolderBesideTheWorkingFolder)
{
    EXPECT_TRUE(publishing::namesThisComputer(u"127.0.0.1"_s));
    EXPECT_TRUE(publishing::namesThisComputer(u"LocalHost"_s));
    EXPECT_FALSE(publishing::namesThisComputer(u"ftp.ecole.fr"_s));
    EXPECT_FALSE(publishing::namesThisComputer(u"127.0.0.2"_s));

    const publishing::LocalHost host = publishing::localHostOf(u"/w/Mes textes"_s, local(2121, u"localhost:8000"_s));
    EXPECT_EQ(host.servedFolder, u"/w/Mes textes-publication"_s);
    EXPECT_EQ(host.ftpPort, 2121);
    EXPECT_EQ(host.webPort, 8000);
    EXPECT_EQ(host.password, u"secret"_s);
    EXPECT_EQ(publishing::localHostOf(u"/w"_s, local(2121, u"127.0.0.1"_s)).webPort, 80);
    // Written as a whole address, as the browser shows it.
    EXPECT_EQ(publishing::localHostOf(u"/w"_s, local(2121, u"HTTP://127.0.0.1:8000/"_s)).webPort, 8000);
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
    const Case cases[] = {
        {"FTPS", tls, u"tls=non"_s},
        {"a web server elsewhere", local(2121, u"www.ecole.fr:8000"_s), u"adresse_web"_s},
        {"a web port that is no number", local(2121, u"127.0.0.1:huit"_s), u"adresse_web"_s},
        {"a web port out of range", local(2121, u"127.0.0.1:70000"_s), u"adresse_web"_s},
        {"a path after the web address", local(2121, u"127.0.0.1:8000/classe"_s), u"adresse_web"_s},
        {"https, which the local web server does not speak", local(2121, u"https://127.0.0.1:8000"_s),
         u"adresse_web"_s},
        {"one port for both", local(8000, u"127.0.0.1:8000"_s), u"même port"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            publishing::localHostOf(u"/w"_s, c.settings);
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
    const QString password = publishing::randomPassword();
    EXPECT_EQ(password.size(), 16);
    EXPECT_NE(password, publishing::randomPassword());
    const mode_t previous = ::umask(0);  // what the user's mask would let through
    const bool written =
        publishing::writeFreshPublicationIni(folder.path(), publishing::freshPublicationIni(24001, 24002, password));
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
    EXPECT_FALSE(publishing::writeFreshPublicationIni(folder.path(), publishing::freshPublicationIni(1, 2, password)));
    EXPECT_EQ(bytesOf(path), QByteArray("[publication]\r\nhote=ftp.ecole.fr\r\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"publication.ini"_s});
}

TEST(LocalHostRules, ChoosesTwoFreePortsThatNoOtherFolderHas)
{
    const QList<int> taken{20001, 20002};
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        const auto [ftp, web] = publishing::choosePorts([](int port) { return port % 2 == 1; }, taken);
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
    EXPECT_THROW(publishing::choosePorts([](int) { return false; }, {}), publishing::SettingsError);
}

TEST(LocalHostRules, KeepsOneRecordPerFolderAndTellsTheOtherFoldersPorts)
{
    QTemporaryDir state;
    const publishing::HostRecord a{u"/w/a"_s, u"/w/a-publication"_s, 101, 5001, 21001, 21002};
    const publishing::HostRecord b{u"/w/b"_s, u"/w/b-publication"_s, 102, 5002, 22001, 22002};
    const QString pathA = publishing::recordPath(state.path(), a.workingFolder);
    const QString pathB = publishing::recordPath(state.path(), b.workingFolder);
    EXPECT_NE(pathA, pathB);
    EXPECT_TRUE(pathA.endsWith(u".json"_s));
    EXPECT_EQ(publishing::logPath(state.path(), a.workingFolder).chopped(4), pathA.chopped(5));
    publishing::writeRecord(pathA, a);
    publishing::writeRecord(pathB, b);

    const std::optional<publishing::HostRecord> read = publishing::readRecord(pathA);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->workingFolder, a.workingFolder);
    EXPECT_EQ(read->servedFolder, a.servedFolder);
    EXPECT_EQ(read->pid, a.pid);
    EXPECT_EQ(read->startTime, a.startTime);
    EXPECT_EQ(read->ftpPort, a.ftpPort);
    EXPECT_EQ(read->webPort, a.webPort);
    EXPECT_EQ(publishing::portsOfOtherFolders(state.path(), a.workingFolder), (QList<int>{22001, 22002}));

    writeFile(pathB, "pas un enregistrement");
    EXPECT_FALSE(publishing::readRecord(pathB));
    EXPECT_FALSE(publishing::readRecord(state.filePath(u"absent.json"_s)));
    EXPECT_TRUE(publishing::portsOfOtherFolders(state.path(), a.workingFolder).isEmpty());
}
