// The libcurl FTP client against a real FTP server on loopback.
#include "ftpserver.h"
#include "listener.h"
#include "platform/curlftpclient.h"
#include "localhost/connexion.h"
#include "testfiles.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// The path of a file of the folder, written with the bytes.
QString writeFile(const QTemporaryDir &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder.filePath(name);
    writeFile(path, bytes);
    return path;
}

// The text of the FtpError that run raises, or "<no error>".
template <typename Run>
QString failureOf(Run run)
{
    try {
        run();
    } catch (const publishing::FtpError &error) {
        return error.message();
    }
    return u"<no error>"_s;
}

} // namespace

TEST(CurlFtpClient, StoresByteForByteAndReplacesTheRemoteFile)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QTemporaryDir local;
    platform::CurlFtpClient client;
    client.connect(server.login());
    ASSERT_TRUE(client.connected());

    client.makeDir(u"../Orvane_A_B_C/"_s);
    client.put(writeFile(local, u"a.bin"_s, everyByte()), u"../Orvane_A_B_C/Le conte été.html"_s);
    EXPECT_EQ(bytesOf(server.file(u"Orvane_A_B_C/Le conte été.html"_s)), everyByte());

    client.put(writeFile(local, u"b.bin"_s, "court"), u"../Orvane_A_B_C/Le conte été.html"_s);
    EXPECT_EQ(bytesOf(server.file(u"Orvane_A_B_C/Le conte été.html"_s)), QByteArray("court"));

    client.put(writeFile(local, u"vide.txt"_s, {}), u"../vide.txt"_s);
    EXPECT_EQ(bytesOf(server.file(u"vide.txt"_s)), QByteArray());
}

TEST(CurlFtpClient, KeepsOneConnectionAndItsCurrentFolder)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QDir(server.root()).mkpath(u"Orvane_A_B_C"_s);
    QTemporaryDir local;
    platform::CurlFtpClient client;
    client.connect(server.login());
    client.changeDir(u"../Orvane_A_B_C/"_s);
    client.makeDir(u"Dupont_Jean_x/"_s);
    client.put(writeFile(local, u"f.txt"_s, "ici"), u"f.txt"_s);
    EXPECT_EQ(bytesOf(server.file(u"Orvane_A_B_C/f.txt"_s)), QByteArray("ici"));
    EXPECT_TRUE(QFileInfo(server.file(u"Orvane_A_B_C/Dupont_Jean_x"_s)).isDir());

    // A refused command leaves the connection and the current folder as they were.
    EXPECT_NE(failureOf([&] { client.changeDir(u"absent/"_s); }), u"<no error>"_s);
    EXPECT_TRUE(client.connected());
    client.put(writeFile(local, u"g.txt"_s, "encore"), u"g.txt"_s);
    EXPECT_EQ(bytesOf(server.file(u"Orvane_A_B_C/g.txt"_s)), QByteArray("encore"));

    client.disconnect();
    EXPECT_FALSE(client.connected());
    client.disconnect();
}

TEST(CurlFtpClient, RefusesWhatTheServerRefusesWithAFrenchText)
{
    fakes::FtpServer server({false, u"elr"_s});
    ASSERT_EQ(server.error(), QString());
    QTemporaryDir local;
    platform::CurlFtpClient client;
    client.connect(server.login());

    const QString notMade = failureOf([&] { client.makeDir(u"../Orvane_A_B_C/"_s); });
    EXPECT_TRUE(notMade.contains(u"n'a pas pu créer le dossier « ../Orvane_A_B_C/ »"_s)) << notMade.toStdString();
    const QString notEntered = failureOf([&] { client.changeDir(u"../absent/"_s); });
    EXPECT_TRUE(notEntered.contains(u"« ../absent/ »"_s)) << notEntered.toStdString();
    const QString notStored = failureOf([&] { client.put(writeFile(local, u"f"_s, "x"), u"../index.html"_s); });
    EXPECT_TRUE(notStored.contains(u"L'envoi de"_s)) << notStored.toStdString();
    EXPECT_FALSE(QFileInfo::exists(server.file(u"index.html"_s)));
}

TEST(CurlFtpClient, ReportsAHostDownARefusedLoginAndNoConnection)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    platform::CurlFtpClient client;

    publishing::FtpLogin wrong = server.login();
    wrong.password = u"faux"_s;
    EXPECT_TRUE(failureOf([&] { client.connect(wrong); }).contains(u"a refusé l'utilisateur « eleve »"_s));
    EXPECT_FALSE(client.connected());

    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    publishing::FtpLogin down = server.login();
    down.port = probe.serverPort();
    probe.close();
    EXPECT_TRUE(failureOf([&] { client.connect(down); }).contains(u"Impossible de joindre"_s));

    const QString none = failureOf([&] { client.changeDir(u"../"_s); });
    EXPECT_TRUE(none.contains(u"Pas de connexion"_s)) << none.toStdString();
}

TEST(CurlFtpClient, GivesUpOnAHostThatNeverAnswers)
{
    QTcpServer silent;  // the system accepts the connections; nobody answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    publishing::FtpLogin login;
    login.host = u"127.0.0.1"_s;
    login.port = silent.serverPort();
    login.timeoutSeconds = 1;
    platform::CurlFtpClient client;
    QElapsedTimer clock;
    clock.start();
    const QString text = failureOf([&] { client.connect(login); });
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(text.contains(u"n'a pas répondu dans le délai de 1 seconde"_s)) << text.toStdString();
    EXPECT_FALSE(client.connected());
}

// A host with too many connections says so at once, and closes: the teacher
// reads what it said, not that it did not answer in time.
TEST(CurlFtpClient, TellsWhatAHostThatClosesAtOnceSaid)
{
    testlistener::Listener full("421 Too many connections (600) from this IP");
    ASSERT_GT(full.port(), 0);
    publishing::FtpLogin login;
    login.host = u"127.0.0.1"_s;
    login.port = full.port();
    login.user = u"eleve"_s;
    login.password = u"secret"_s;
    platform::CurlFtpClient client;
    const QString text = failureOf([&] { client.connect(login); });
    EXPECT_EQ(text, u"Le serveur de publication 127.0.0.1:%1 a fermé la connexion (réponse du serveur : 421 Too many "
                    u"connections (600) from this IP)."_s.arg(full.port()));
    EXPECT_FALSE(client.connected());
}

TEST(CurlFtpClient, SendsNoCommandWithALineBreakInAPath)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QDir(server.root()).mkpath(u"garde"_s);
    platform::CurlFtpClient client;
    client.connect(server.login());
    EXPECT_NE(failureOf([&] { client.makeDir(u"x\r\nRMD garde"_s); }), u"<no error>"_s);
    EXPECT_NE(failureOf([&] { client.changeDir(u"x\nRMD garde"_s); }), u"<no error>"_s);
    EXPECT_TRUE(QFileInfo(server.file(u"garde"_s)).isDir());
    EXPECT_FALSE(QFileInfo::exists(server.file(u"x"_s)));
}

TEST(CurlFtpClient, SpeaksExplicitFtpsWithAVerifiedCertificate)
{
    fakes::FtpServer server({true, u"elradfmwMT"_s});
    ASSERT_EQ(server.error(), QString());
    QTemporaryDir local;
    platform::CurlFtpClient client;
    client.connect(server.login());
    client.makeDir(u"../Orvane_A_B_C/"_s);
    client.put(writeFile(local, u"a.bin"_s, everyByte()), u"../Orvane_A_B_C/index.html"_s);
    EXPECT_EQ(bytesOf(server.file(u"Orvane_A_B_C/index.html"_s)), everyByte());

    // Without the certificate among the trusted ones, nothing is sent.
    publishing::FtpLogin untrusted = server.login();
    untrusted.caFile.clear();
    const QString text = failureOf([&] { client.connect(untrusted); });
    EXPECT_TRUE(text.contains(u"certificat"_s)) << text.toStdString();
    EXPECT_FALSE(client.connected());
}

// A data connection reset by the network is no certificate fault: the
// message names the file and what broke. (libcurl meets the reset at
// different steps from one try to the next: every outcome counts.)
TEST(CurlFtpClient, AnFtpsDataConnectionResetIsNotToldAsTheCertificate)
{
    fakes::FtpServer server({true, u"elradfmwMT"_s, true});
    ASSERT_EQ(server.error(), QString());
    QTemporaryDir local;
    const QString file = writeFile(local, u"a.bin"_s, everyByte());
    platform::CurlFtpClient client;
    for (int attempt = 0; attempt < 8; ++attempt) {
        client.connect(server.login());
        const QString text = failureOf([&] { client.put(file, u"conte.html"_s); });
        EXPECT_FALSE(text.contains(u"certificat"_s)) << visible(text);
        EXPECT_TRUE(text.contains(u"« conte.html »"_s)) << visible(text);
        EXPECT_TRUE(text.contains(u"connexion"_s)) << visible(text);
    }
}

namespace {

QStringList ftpLog;

void recordFtp(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (QByteArrayView(context.category) == "tessavo.ftp")
        ftpLog << message;
}

} // namespace

TEST(CurlFtpClient, LogsCommandsAndRepliesWithThePasswordHidden)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QLoggingCategory::setFilterRules(u"tessavo.ftp=true"_s);
    const QtMessageHandler previous = qInstallMessageHandler(recordFtp);
    ftpLog.clear();
    {
        platform::CurlFtpClient client;
        client.connect(server.login());
        client.makeDir(u"../Orvane_A_B_C/"_s);
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(u"tessavo.ftp=false"_s);

    const QString log = ftpLog.join(u'\n');
    EXPECT_TRUE(ftpLog.contains(u"> USER eleve"_s)) << log.toStdString();
    EXPECT_TRUE(ftpLog.contains(u"> PASS ****"_s)) << log.toStdString();
    EXPECT_TRUE(ftpLog.contains(u"> MKD ../Orvane_A_B_C/"_s)) << log.toStdString();
    EXPECT_TRUE(log.contains(u"< 257"_s)) << log.toStdString();
    EXPECT_FALSE(log.contains(u"s3cret"_s)) << log.toStdString();
    for (const QString &line : std::as_const(ftpLog))
        EXPECT_TRUE(line.startsWith(u"> "_s) || line.startsWith(u"< "_s)) << "commands and replies only: " << line.toStdString();
}

TEST(CurlFtpClient, SendsNothingAndLogsNothingOfALoginHoldingALineBreak)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QTemporaryDir working;
    QFile ini(QDir(working.path()).filePath(u"publication.ini"_s));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[publication]\nhote=127.0.0.1\nport=" + QByteArray::number(server.port())
              + "\nutilisateur=eleve\nmot_de_passe=\"s3cret;pw\\r\\nMKD injected2\"\nadresse_web=127.0.0.1:8000\n");
    ini.close();
    QLoggingCategory::setFilterRules(u"tessavo.ftp=true"_s);
    const QtMessageHandler previous = qInstallMessageHandler(recordFtp);
    ftpLog.clear();

    platform::CurlFtpClient client;
    const workspace::Result<void> connected = localhost::ConnexionFTP(client, working.path());
    // The client refuses such a login too, whoever gives it.
    publishing::FtpLogin injected = server.login();
    injected.password = u"s3cret;pw\r\nMKD injected3"_s;
    const QString refusedPassword = failureOf([&] { client.connect(injected); });
    injected = server.login();
    injected.user = u"eleve\r\nMKD injected4"_s;
    const QString refusedUser = failureOf([&] { client.connect(injected); });

    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(u"tessavo.ftp=false"_s);
    ASSERT_FALSE(connected);
    const QString shown = connected.reason();
    EXPECT_TRUE(shown.contains(u"mot_de_passe"_s)) << shown.toStdString();
    EXPECT_TRUE(refusedPassword.contains(u"caractère de contrôle"_s)) << refusedPassword.toStdString();
    EXPECT_TRUE(refusedUser.contains(u"caractère de contrôle"_s)) << refusedUser.toStdString();
    EXPECT_FALSE(client.connected());
    EXPECT_EQ(QDir(server.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_TRUE(ftpLog.isEmpty()) << ftpLog.join(u'\n').toStdString();
    for (const QString &text : {shown, refusedPassword, refusedUser}) {
        EXPECT_FALSE(text.contains(u"s3cret"_s)) << text.toStdString();
        EXPECT_FALSE(text.contains(u"injected"_s)) << text.toStdString();
    }
}

TEST(CurlFtpClient, StoresNothingUnderARemoteNameHoldingAControlCharacter)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QTemporaryDir local;
    const QString file = writeFile(local, u"conte.html"_s, "texte");
    platform::CurlFtpClient client;
    client.connect(server.login());
    QLoggingCategory::setFilterRules(u"tessavo.ftp=true"_s);
    const QtMessageHandler previous = qInstallMessageHandler(recordFtp);
    ftpLog.clear();
    const QString names[] = {u"conte.html\r\nDELE garde.txt"_s, u"conte\t.html"_s, u"conte\x7f.html"_s};
    QStringList refusals;
    for (const QString &name : names)
        refusals << failureOf([&] { client.put(file, name); });
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(u"tessavo.ftp=false"_s);

    for (qsizetype i = 0; i < refusals.size(); ++i) {
        SCOPED_TRACE(visible(names[i]));
        EXPECT_EQ(refusals[i], u"Le chemin distant « %1 » contient un caractère de contrôle : il n'est pas envoyé."_s.arg(names[i]))
            << visible(refusals[i]);
    }
    EXPECT_TRUE(ftpLog.filter(u"STOR"_s).isEmpty()) << ftpLog.join(u'\n').toStdString();
    EXPECT_EQ(QDir(server.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_TRUE(client.connected()) << "the connection stays for the next file";
}

TEST(ConnexionFTP, ConnectsWithPublicationIniAndShowsWhyItCannot)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QTemporaryDir working;
    platform::CurlFtpClient client;

    server.writePublicationIni(working.path());
    EXPECT_TRUE(localhost::ConnexionFTP(client, working.path()));
    EXPECT_TRUE(client.connected());
    client.makeDir(u"../ok/"_s);
    EXPECT_TRUE(QFileInfo(server.file(u"ok"_s)).isDir());

    QFile::remove(QDir(working.path()).filePath(u"publication.ini"_s));
    const workspace::Result<void> connected = localhost::ConnexionFTP(client, working.path());
    ASSERT_FALSE(connected);
    const QString shown = connected.reason();
    EXPECT_TRUE(shown.contains(u"publication.ini"_s));
    EXPECT_FALSE(client.connected());
}
