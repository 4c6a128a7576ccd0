// Publishing over FTPS to a second real server, Debian's vsftpd, set up as a
// host is: TLS forced on the login and the data, no anonymous access, one
// chrooted account. Then a real host's limits: a login refused three times, a
// refused upload, a full disk, a server gone midway.
#include "platform/curlftpclient.h"
#include "publishedfolder.h"
#include "localhost/connexion.h"
#include "publishing/diffusion.h"
#include "publishing/forcedirectories.h"
#include "testfiles.h"
#include "visible.h"
#include "vsftpd.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using fakes::contents;
using fakes::publishAll;
using fakes::pseudoRandom;
using fakes::studentFolder;

const QString &Target = fakes::StudentTarget;
const QString &Published = fakes::StudentPublished;

class VsftpdHost : public testing::Test
{
protected:
    void start(const fakes::Vsftpd::Options &options = {})
    {
        server = std::make_unique<fakes::Vsftpd>(options);
        if (!server->cannotRun().isEmpty())
            GTEST_SKIP() << server->cannotRun().toStdString();
        ASSERT_EQ(server->error(), QString());
        server->writePublicationIni(working.path());
        source = studentFolder(working);
        before = contents(source);
    }

    // False when the server could not run here (the test says why) or did not start.
    bool ready() const { return !IsSkipped() && !HasFatalFailure(); }

    // The student folder went up whole, byte for byte, and only it.
    void expectPublished(const QString &remote = Published) const
    {
        fakes::expectPublishedWhole(server->file(remote), before);
    }

    QTemporaryDir working;
    std::unique_ptr<fakes::Vsftpd> server;
    QString source;
    QMap<QString, QByteArray> before;
};

} // namespace

TEST_F(VsftpdHost, PublishesAStudentFolderByteForByteOverForcedFtps)
{
    start();
    if (!ready())
        return;

    EXPECT_EQ(publishAll(working.path(), source), std::nullopt);
    expectPublished();
    EXPECT_EQ(bytesOf(server->file(u"Orvane_PARIS_ECOLE_CM1/index.html"_s)), before.value(u"_Tablematieres.html"_s));
    const QByteArray log = bytesOf(QFileInfo(server->certificate()).dir().filePath(u"vsftpd.log"_s));
    EXPECT_TRUE(log.contains("\"AUTH TLS\"")) << log.toStdString();
    EXPECT_TRUE(log.contains("\"PROT P\"")) << log.toStdString();

    // The server takes no login in clear, and no anonymous one.
    platform::CurlFtpClient client;
    for (const auto &[user, tls] : {std::pair{QString(), false}, std::pair{u"anonymous"_s, true}}) {
        publishing::FtpLogin login = server->login();
        login.tls = tls;
        if (!user.isEmpty())
            login.user = user;
        try {
            client.connect(login);
            ADD_FAILURE() << "logged in as " << login.user.toStdString() << (tls ? " over TLS" : " in clear");
        } catch (const publishing::FtpError &error) {
            EXPECT_TRUE(error.message().contains(u"a refusé l'utilisateur"_s)) << visible(error.message());
        }
    }
}

TEST_F(VsftpdHost, IsRefusedWithoutTheRightCertificate)
{
    start();
    if (!ready())
        return;
    QTemporaryDir other;
    ASSERT_EQ(QProcess::execute(u"/usr/bin/python3"_s, {QStringLiteral(TESSAVO_SOURCE_DIR) + u"/tests/support/ftpserver.py"_s,
                                                        u"--make-certificate"_s, other.path()}),
              0);
    // The system's authorities, then another certificate of the same name.
    for (const QString &trusted : {QString(), other.filePath(u"cert.pem"_s)}) {
        SCOPED_TRACE(trusted.toStdString());
        QByteArray ini = bytesOf(working.filePath(u"publication.ini"_s));
        ini.replace(server->certificate().toUtf8(), trusted.toUtf8());
        writeFile(working.filePath(u"publication.ini"_s), ini);
        const std::optional<QString> shown = publishAll(working.path(), source);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->contains(u"certificat n'a pas pu être vérifié"_s)) << visible(*shown);
        server->writePublicationIni(working.path());
    }
    EXPECT_EQ(QDir(server->root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(contents(source), before);
}

TEST_F(VsftpdHost, ALoginRefusedThreeTimesChangesNothingAndTheRightPasswordPublishes)
{
    start();
    if (!ready())
        return;
    server->writePublicationIni(working.path(), u"faux"_s);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        SCOPED_TRACE(attempt);
        const std::optional<QString> shown = publishAll(working.path(), source);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(shown->startsWith(u"Le serveur de publication 127.0.0.1:%1 a refusé l'utilisateur « tessavo-test-ftp »"_s
                                          .arg(server->port())))
            << visible(*shown);
    }
    EXPECT_EQ(QDir(server->root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_EQ(contents(source), before);

    server->writePublicationIni(working.path());
    EXPECT_EQ(publishAll(working.path(), source), std::nullopt);
    expectPublished();
}

TEST_F(VsftpdHost, AnUploadTheServerRefusesNamesTheFileAndTheNextPublicationStartsClean)
{
    start();
    if (!ready())
        return;
    // A student folder the account may enter but not write into.
    QDir().mkpath(server->file(Published));
    const passwd *account = ::getpwnam("tessavo-test-ftp");
    ASSERT_TRUE(account);
    ASSERT_EQ(::chown(QFile::encodeName(server->file(u"Orvane_PARIS_ECOLE_CM1"_s)).constData(), account->pw_uid,
                      account->pw_gid),
              0);
    const QString first = publishing::sourceFiles(source).first();

    const std::optional<QString> shown = publishAll(working.path(), source);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->contains(first)) << visible(*shown);
    EXPECT_TRUE(shown->contains(u"553"_s)) << visible(*shown);
    EXPECT_TRUE(contents(server->file(Published)).isEmpty());
    EXPECT_EQ(contents(source), before);

    ASSERT_EQ(::chown(QFile::encodeName(server->file(Published)).constData(), account->pw_uid, account->pw_gid), 0);
    EXPECT_EQ(publishAll(working.path(), source), std::nullopt);
    expectPublished();
}

TEST_F(VsftpdHost, AFullDiskStopsAtTheFileThatDoesNotFitAndTheNextPublicationStartsClean)
{
    start({u"Orvane_PLEIN_ECOLE_CM1"_s});
    if (!ready())
        return;
    const QString target = u"../Orvane_PLEIN_ECOLE_CM1/Dupont_Jean_x/"_s;
    const QString remote = u"Orvane_PLEIN_ECOLE_CM1/Dupont_Jean_x/"_s;

    const std::optional<QString> shown = publishAll(working.path(), source, target);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->contains(u"conte.jpg"_s)) << visible(*shown);
    // The server's "451 Failure writing to local file", or, when the data
    // connection is closed before that reply is read, the cut itself.
    EXPECT_TRUE(shown->contains(u"451"_s) || shown->contains(u"le serveur a coupé la connexion pendant l'envoi"_s))
        << visible(*shown);
    EXPECT_LT(QFileInfo(server->file(remote + u"conte.jpg"_s)).size(), before.value(u"conte.jpg"_s).size());
    EXPECT_EQ(contents(source), before);

    ASSERT_TRUE(server->enlargeSmallDisk());
    EXPECT_EQ(publishAll(working.path(), source, target), std::nullopt);
    expectPublished(remote);
}

TEST_F(VsftpdHost, AServerGoneMidwayNamesTheFileAndTheNextPublicationStartsClean)
{
    start();
    if (!ready())
        return;
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
