// Publishing over SFTP to Debian's OpenSSH server, set up as a host is: the
// host's key pinned in publication.ini, password logins (or a key file), one
// account in its own folder. Then a real host's failures: a wrong key, a
// login refused three times, a server gone midway.
#include "platform/curlftpclient.h"
#include "publishedfolder.h"
#include "localhost/connexion.h"
#include "publishing/diffusion.h"
#include "publishing/forcedirectories.h"
#include "sshd.h"
#include "testfiles.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QMap>
#include <QTcpServer>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

using fakes::contents;
using fakes::publishAll;
using fakes::pseudoRandom;
using fakes::studentFolder;

const QString &Target = fakes::StudentTarget;
const QString &Published = fakes::StudentPublished;

// Each host key of the server as a message gives it: "SHA256:... (ED25519)".
QStringList shownForms(const fakes::Sshd &server)
{
    QStringList forms;
    for (const QString &line : server.hostKeys())
        forms.append(line.section(u' ', 1, 1) + u' ' + line.section(u' ', -1));
    return forms;
}

// The server's key that the text gives, in its shown form; empty when none.
QString keyIn(const QString &text, const fakes::Sshd &server)
{
    for (const QString &form : shownForms(server)) {
        if (text.contains(form))
            return form;
    }
    return {};
}

QStringList ftpLog;

void recordFtp(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (QByteArrayView(context.category) == "tessavo.ftp")
        ftpLog.append(message);
}

class SftpHost : public testing::Test
{
protected:
    void SetUp() override
    {
        server = std::make_unique<fakes::Sshd>();
        if (!server->cannotRun().isEmpty())
            GTEST_SKIP() << server->cannotRun().toStdString();
        ASSERT_EQ(server->error(), QString());
        server->writePublicationIni(working.path());
        source = studentFolder(working);
        before = contents(source);
    }

    // The student folder went up whole, byte for byte, and only it.
    void expectPublished() const
    {
        fakes::expectPublishedWhole(server->file(Published), before);
    }

    // Nothing reached the account's folder.
    void expectNothingSent() const
    {
        EXPECT_EQ(QDir(server->root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        EXPECT_EQ(contents(source), before);
    }

    QTemporaryDir working;
    std::unique_ptr<fakes::Sshd> server;
    QString source;
    QMap<QString, QByteArray> before;
};

} // namespace

TEST_F(SftpHost, PublishesAStudentFolderByteForByteAndReplacesItsFiles)
{
    EXPECT_EQ(publishAll(working.path(), source), std::nullopt);
    expectPublished();
    EXPECT_EQ(bytesOf(server->file(u"Orvane_PARIS_ECOLE_CM1/index.html"_s)), before.value(u"_Tablematieres.html"_s));
    // The web server reads what went up.
    EXPECT_TRUE(QFileInfo(server->file(Published + u"conte.html"_s)).permissions().testFlag(QFileDevice::ReadOther));
    EXPECT_TRUE(QFileInfo(server->file(Published)).permissions().testFlag(QFileDevice::ExeOther));

    // Published again, a shorter document replaces the longer one whole.
    writeFile(source + u"conte.html"_s, "court");
    writeFile(source + u"conte.jpg"_s, pseudoRandom(1000, 3));
    before = contents(source);
    EXPECT_EQ(publishAll(working.path(), source), std::nullopt);
    expectPublished();
}

TEST_F(SftpHost, LogsWhatItDoesWithThePasswordNeverShown)
{
    QLoggingCategory::setFilterRules(u"tessavo.ftp=true"_s);
    const QtMessageHandler previous = qInstallMessageHandler(recordFtp);
    ftpLog.clear();
    {
        platform::CurlFtpClient client;
        client.connect(server->login());
        publishing::ForceFtpDirectories(client, Target);
        client.put(source + u"conte.html"_s, Target + u"conte.html"_s);
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(u"tessavo.ftp=false"_s);

    const QString log = ftpLog.join(u'\n');
    const QString root = server->root();
    const QString shown = keyIn(log, *server);
    EXPECT_TRUE(ftpLog.contains(u"< clé d'hôte "_s + shown)) << log.toStdString();
    EXPECT_TRUE(ftpLog.contains(u"< 257 \"%1/\" is current directory."_s.arg(root))) << log.toStdString();
    EXPECT_TRUE(ftpLog.contains(u"> mkdir %1/%2"_s.arg(root, Published))) << log.toStdString();
    EXPECT_TRUE(ftpLog.contains(u"> put %1/%2conte.html"_s.arg(root, Published))) << log.toStdString();
    EXPECT_FALSE(log.contains(server->login().password)) << log.toStdString();
    for (const QString &line : std::as_const(ftpLog))
        EXPECT_TRUE(line.startsWith(u"> "_s) || line.startsWith(u"< "_s)) << line.toStdString();
}

TEST_F(SftpHost, IsRefusedWithoutThePinnedHostKeyAndShowsTheKeyTheHostGave)
{
    const QString other = u"SHA256:0dROU4jD+8+/YGEtIfIB3D5uAxvakaB4LHX2mnJLIP0"_s;
    ASSERT_FALSE(server->hostKeys().join(u' ').contains(other));
    struct Case
    {
        const char *name;
        QString pinned;
        QString said;
    } cases[] = {
        {"no key in publication.ini", u"-"_s, u"ne donne aucune clé à attendre"_s},
        {"another host's key", other, u"et non celle que publication.ini attend (cle_hote=%1)"_s.arg(other)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server->writePublicationIni(working.path(), {}, c.pinned);
        const std::optional<QString> shown = publishAll(working.path(), source);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->contains(c.said)) << visible(*shown);
        // The key to check and paste, as ssh-keygen -lf prints it, and its type.
        const QString key = keyIn(*shown, *server);
        ASSERT_FALSE(key.isEmpty()) << visible(*shown);
        EXPECT_TRUE(shown->endsWith(u"cle_hote="_s + key.section(u' ', 0, 0))) << visible(*shown);
        EXPECT_TRUE(shown->contains(u"rien n'a été envoyé"_s)) << visible(*shown);
    }
    expectNothingSent();
}

TEST_F(SftpHost, ALoginRefusedThreeTimesChangesNothingAndTheRightPasswordPublishes)
{
    server->writePublicationIni(working.path(), u"faux"_s);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        SCOPED_TRACE(attempt);
        const std::optional<QString> shown = publishAll(working.path(), source);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->startsWith(u"Le serveur de publication 127.0.0.1:%1 a refusé l'utilisateur « tessavo-test-sftp »"_s
                                          .arg(server->port())))
            << visible(*shown);
    }
    expectNothingSent();

    server->writePublicationIni(working.path());
    EXPECT_EQ(publishAll(working.path(), source), std::nullopt);
    expectPublished();
}

TEST_F(SftpHost, LogsInWithAKeyFileAndNoPassword)
{
    QFile ini(working.filePath(u"publication.ini"_s));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(u"[publication]\r\nprotocole=sftp\r\nhote=127.0.0.1\r\nport=%1\r\nutilisateur=tessavo-test-sftp\r\n"
              u"adresse_web=127.0.0.1:8000\r\ndelai=5\r\ncle_hote=%2\r\ncle_privee=%3\r\n"_s
                  .arg(QString::number(server->port()), server->hostKeys().join(u", "_s), server->clientKey())
                  .toUtf8());
    ini.close();
    EXPECT_EQ(publishAll(working.path(), source), std::nullopt);
    expectPublished();

    // A key the account does not take.
    QFile::remove(QFileInfo(server->clientKey()).dir().filePath(u"cles_autorisees"_s));
    const std::optional<QString> shown = publishAll(working.path(), source);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->contains(u"a refusé l'utilisateur « tessavo-test-sftp » avec la clé privée « %1 »"_s.arg(
        server->clientKey())))
        << visible(*shown);
}

TEST_F(SftpHost, AFolderTheHostRefusesNamesItAndKeepsTheConnection)
{
    // The class folder exists and belongs to root: the student folder cannot
    // be made in it.
    QDir().mkpath(server->file(u"Orvane_PARIS_ECOLE_CM1"_s));
    platform::CurlFtpClient client;
    client.connect(server->login());
    try {
        publishing::ForceFtpDirectories(client, Target);
        ADD_FAILURE() << "made";
    } catch (const publishing::FtpError &refused) {
        EXPECT_TRUE(refused.message().startsWith(u"Le serveur de publication n'a pas pu créer le dossier « %1 » "
                                                 u"(réponse du serveur : "_s.arg(Target)))
            << visible(refused.message());
    }
    EXPECT_TRUE(client.connected());
    // The folder that the host did make is entered on the same connection.
    client.changeDir(u"../Orvane_PARIS_ECOLE_CM1/"_s);
    try {
        client.put(source + u"conte.html"_s, u"conte.html"_s);
        ADD_FAILURE() << "sent";
    } catch (const publishing::FtpError &refused) {
        EXPECT_TRUE(refused.message().contains(u"conte.html"_s)) << visible(refused.message());
        EXPECT_TRUE(refused.message().contains(u"Permission denied"_s)) << visible(refused.message());
    }
    EXPECT_TRUE(client.connected());
}

TEST_F(SftpHost, TellsTheBytesOfEachFileAndStopsAfterTheFileWhenCancelled)
{
    platform::CurlFtpClient client;
    client.connect(server->login());
    publishing::ForceFtpDirectories(client, Target);
    qint64 largest = 0;
    client.setProgress([&](qint64 sent, qint64 total) {
        EXPECT_LE(sent, total);
        largest = std::max(largest, sent);
    });
    QStringList started;
    publishing::UploadWatch watch;
    watch.fileStarted = [&](const publishing::UploadStep &step) { started.append(step.name); };
    watch.cancelRequested = [&] { return started.contains(u"conte.jpg"_s); };
    const QStringList files = {u"conte.html"_s, u"conte.jpg"_s, u"style.css"_s};

    const publishing::UploadResult result = publishing::uploadFiles(client, {source, Target, working.path()}, files, watch);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.published, 2);
    EXPECT_EQ(started, files.first(2));
    EXPECT_EQ(largest, before.value(u"conte.jpg"_s).size());
    EXPECT_EQ(contents(server->file(Published)).keys(), files.first(2));
}

TEST_F(SftpHost, AServerGoneMidwayNamesTheFileAndTheNextPublicationStartsClean)
{
    writeFile(source + u"conte.jpg"_s, pseudoRandom(6 * 1024 * 1024, 11));
    before = contents(source);
    bool ended = false;
    const auto endMidway = [&](qint64 sent, qint64 total) {
        if (!ended && total > 1024 * 1024 && sent > total / 4) {
            ended = true;
            server->endSessions();
        }
    };

    const std::optional<QString> shown = publishAll(working.path(), source, Target, endMidway);
    ASSERT_TRUE(ended);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->contains(u"conte.jpg"_s)) << visible(*shown);
    EXPECT_TRUE(shown->contains(u"le serveur a coupé la connexion pendant l'envoi"_s)) << visible(*shown);
    EXPECT_LT(QFileInfo(server->file(Published + u"conte.jpg"_s)).size(), before.value(u"conte.jpg"_s).size());
    EXPECT_EQ(contents(source), before);

    EXPECT_EQ(publishAll(working.path(), source), std::nullopt);
    expectPublished();
}

TEST(SftpLogin, GivesUpOnAHostThatNeverAnswers)
{
    // The system takes the connection; nothing ever answers on it.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    publishing::FtpLogin login;
    login.protocol = publishing::Protocol::Sftp;
    login.host = u"127.0.0.1"_s;
    login.port = silent.serverPort();
    login.user = u"classe"_s;
    login.password = u"secret"_s;
    login.timeoutSeconds = 1;
    platform::CurlFtpClient client;
    QElapsedTimer clock;
    clock.start();
    try {
        client.connect(login);
        ADD_FAILURE() << "connected";
    } catch (const publishing::FtpError &error) {
        EXPECT_EQ(error.message(), u"Le serveur de publication 127.0.0.1:%1 n'a pas répondu dans le délai de 1 seconde."_s
                                       .arg(login.port));
    }
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_FALSE(client.connected());
}
