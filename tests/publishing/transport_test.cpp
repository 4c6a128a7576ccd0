// The rules of the three protocols that need no server: SFTP's host key,
// its paths, the SFTP keys of publication.ini, and plain FTP told.
#include "publishing/plainftp.h"
#include "publishing/settings.h"
#include "publishing/transport.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A host key made by ssh-keygen, and what `ssh-keygen -lf` printed for it.
constexpr const char *PublicKey = "AAAAC3NzaC1lZDI1NTE5AAAAII3nZPA3pHqMIWte6w8IRDQsK6IB6na9X9JbWjjxEYK7";
constexpr const char *Printed = "256 SHA256:0dROU4jD+8+/YGEtIfIB3D5uAxvakaB4LHX2mnJLIP0 root@vm (ED25519)";
const QString Fingerprint = u"SHA256:0dROU4jD+8+/YGEtIfIB3D5uAxvakaB4LHX2mnJLIP0"_s;
const QString Other = u"SHA256:DpR8sYkpKl4CQlrzkHc39ts6dg4N77zaBSXtS+P+wLM"_s;

void writeIni(const QString &folder, const QByteArray &content)
{
    QFile file(QDir(folder).filePath(u"publication.ini"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

const QByteArray Common = "[publication]\r\nhote=sftp.ecole.fr\r\nutilisateur=classe\r\nadresse_web=www.ecole.fr\r\n";

} // namespace

TEST(HostKey, IsPrintedAsSshKeygenPrintsIt)
{
    const QByteArray blob = QByteArray::fromBase64(PublicKey);
    EXPECT_EQ(publishing::hostKeyFingerprint(blob), Fingerprint);
    EXPECT_EQ(publishing::hostKeyType(5), u"ED25519"_s);
    EXPECT_EQ(publishing::hostKeyType(2), u"RSA"_s);
}

TEST(HostKey, IsTakenFromWhatTheTechnicianPastes)
{
    struct Case
    {
        const char *name;
        QString value;
        QStringList pinned; // empty: refused
    } cases[] = {
        {"the fingerprint", Fingerprint, {Fingerprint}},
        {"the whole line of ssh-keygen -lf", QString::fromLatin1(Printed), {Fingerprint}},
        {"padded and with blanks around", u"  "_s + Fingerprint + u"=  "_s, {Fingerprint}},
        {"the lines of two keys", QString::fromLatin1(Printed) + u", 3072 "_s + Other + u" root@vm (RSA)"_s,
         {Fingerprint, Other}},
        {"two keys, one of them wrong", Fingerprint + u","_s + Other.chopped(2), {}},
        {"commas alone", u" , ,"_s, {}},
        {"one character short", Fingerprint.chopped(1), {}},
        {"one character too many", Fingerprint + u"A"_s, {}},
        {"an MD5 fingerprint", u"MD5:d8:3b:8e:7a:40:1c:5e:ee:1b:0a:12:ff:7e:1e:4d:09"_s, {}},
        {"the key itself", QString::fromLatin1(PublicKey), {}},
        {"lower-case algorithm", u"sha256:"_s + Fingerprint.mid(7), {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const workspace::Result<QStringList> pinned = publishing::pinnedHostKeys(c.value);
        if (c.pinned.isEmpty()) {
            ASSERT_FALSE(pinned);
            EXPECT_TRUE(pinned.reason().contains(u"cle_hote"_s)) << visible(pinned.reason());
        } else {
            ASSERT_TRUE(pinned) << visible(pinned.reason());
            EXPECT_EQ(*pinned, c.pinned);
        }
    }
}

TEST(HostKey, MatchesOnlyThePinnedKey)
{
    EXPECT_TRUE(publishing::sameHostKey(Fingerprint + u"="_s, {Fingerprint}));
    EXPECT_TRUE(publishing::sameHostKey(Fingerprint, {Other, Fingerprint}));
    EXPECT_FALSE(publishing::sameHostKey(Fingerprint, {}));
    EXPECT_FALSE(publishing::sameHostKey(Fingerprint, {Other}));
    EXPECT_FALSE(publishing::sameHostKey(Fingerprint, {Fingerprint.chopped(1) + u"Q"_s}));
    // Base64 is case-sensitive.
    EXPECT_FALSE(publishing::sameHostKey(Fingerprint, {Fingerprint.toLower()}));
}

TEST(SftpPath, KeepsEveryPathInTheLoginFolderAsAnFtpServerDoes)
{
    const QString home = u"/home/ecole/"_s;
    struct Case
    {
        const char *name;
        QString current;
        QString remote;
        QString path;
        QString login = u"/home/ecole/"_s;
    } cases[] = {
        {"a class folder from the login folder", home, u"../Orvane_A_B_C/"_s, u"/home/ecole/Orvane_A_B_C/"_s},
        {"a student folder", home, u"../Orvane_A_B_C/Dupont_Jean_x/"_s, u"/home/ecole/Orvane_A_B_C/Dupont_Jean_x/"_s},
        {"the login folder's parent is the login folder", home, u"../"_s, u"/home/ecole/"_s},
        {"many .. stay in it", home, u"../../../etc/"_s, u"/home/ecole/etc/"_s},
        {"a file relative to the current folder", u"/home/ecole/Orvane_A_B_C/"_s, u"index.html"_s,
         u"/home/ecole/Orvane_A_B_C/index.html"_s},
        {".. from a sub-folder goes up one", u"/home/ecole/Orvane_A_B_C/"_s, u"../Orvane_D_E_F/x.html"_s,
         u"/home/ecole/Orvane_D_E_F/x.html"_s},
        {"a leading / is the login folder", u"/home/ecole/Orvane_A_B_C/"_s, u"/Orvane_D_E_F/"_s,
         u"/home/ecole/Orvane_D_E_F/"_s},
        {"dots and doubled slashes", home, u"./Orvane_A_B_C//./conte.html"_s, u"/home/ecole/Orvane_A_B_C/conte.html"_s},
        {"a chrooted account", u"/"_s, u"../Orvane_A_B_C/conte.html"_s, u"/Orvane_A_B_C/conte.html"_s, u"/"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(publishing::sftpPath(c.login, c.current, c.remote), c.path);
    }
}

TEST(SftpPath, IsQuotedForLibcurlsCommands)
{
    EXPECT_EQ(publishing::sftpArgument(u"/home/é cole/a\"b\\c/"_s), QByteArray("\"/home/\xc3\xa9 cole/a\\\"b\\\\c/\""));
}

TEST(SftpPath, TheLoginFolderIsReadFromTheAnswerToPwd)
{
    EXPECT_EQ(publishing::sftpLoginFolder("257 \"/home/ecole/\" is current directory."), u"/home/ecole/"_s);
    EXPECT_EQ(publishing::sftpLoginFolder("257 \"/\" is current directory."), u"/"_s);
    EXPECT_EQ(publishing::sftpLoginFolder("257 \"/home/a \"b\"/\" is current directory."), u"/home/a \"b\"/"_s);
    EXPECT_EQ(publishing::sftpLoginFolder("257 \"home\" is current directory."), QString());
    EXPECT_EQ(publishing::sftpLoginFolder("550 no"), QString());
    EXPECT_EQ(publishing::sftpLoginFolder(""), QString());
}

TEST(PublicationSettings, ReadsTheSftpKeys)
{
    QTemporaryDir folder;
    QFile(folder.filePath(u"cle"_s)).open(QIODevice::WriteOnly);
    struct Case
    {
        const char *name;
        QByteArray keys;
        publishing::Protocol protocol;
        int port;
        QStringList hostKeys;
        bool privateKey;
    } cases[] = {
        {"ftp by default", "mot_de_passe=s\r\n", publishing::Protocol::Ftp, 21, {}, false},
        {"ftp written out", "mot_de_passe=s\r\nprotocole=FTP\r\n", publishing::Protocol::Ftp, 21, {}, false},
        {"sftp on port 22", "mot_de_passe=s\r\nprotocole=sftp\r\ncle_hote=" + Fingerprint.toLatin1() + "\r\n",
         publishing::Protocol::Sftp, 22, {Fingerprint}, false},
        {"sftp on its own port, two key lines pasted whole, tls=non",
         "mot_de_passe=s\r\nprotocole=sftp\r\nport=2222\r\ntls=non\r\ncle_hote=" + QByteArray(Printed) + ", 3072 "
             + Other.toLatin1() + " root@vm (RSA)\r\n",
         publishing::Protocol::Sftp, 2222, {Fingerprint, Other}, false},
        {"sftp without a host key: the connection refuses it", "mot_de_passe=s\r\nprotocole=sftp\r\n",
         publishing::Protocol::Sftp, 22, {}, false},
        {"a key file and no password", "protocole=sftp\r\ncle_privee=./cle\r\n", publishing::Protocol::Sftp, 22, {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(folder.path(), Common + c.keys);
        const publishing::PublicationSettings settings = publishing::readPublicationSettings(folder.path());
        const publishing::FtpLogin login = settings.login();
        EXPECT_EQ(login.protocol, c.protocol);
        EXPECT_EQ(login.port, c.port);
        EXPECT_EQ(login.hostKeys, c.hostKeys);
        EXPECT_EQ(login.privateKey, c.privateKey ? folder.filePath(u"cle"_s) : QString());
        EXPECT_FALSE(login.tls);
    }
}

TEST(PublicationSettings, RefusesSftpKeysThatCannotWork)
{
    QTemporaryDir folder;
    struct Case
    {
        const char *name;
        QByteArray keys;
        QString named;
    } cases[] = {
        {"an unknown protocol", "mot_de_passe=s\r\nprotocole=scp\r\n", u"« scp »"_s},
        {"FTPS and SFTP at once", "mot_de_passe=s\r\nprotocole=sftp\r\ntls=oui\r\n", u"tls=non"_s},
        {"a host key that is no fingerprint", "mot_de_passe=s\r\nprotocole=sftp\r\ncle_hote=AAAAC3Nza\r\n", u"ssh-keygen -lf"_s},
        {"a host key for FTP", "mot_de_passe=s\r\ncle_hote=" + Fingerprint.toLatin1() + "\r\n", u"protocole=sftp"_s},
        {"a key file for FTP", "mot_de_passe=s\r\ncle_privee=cle\r\n", u"protocole=sftp"_s},
        {"a key file that is not there", "protocole=sftp\r\ncle_privee=absente\r\n", u"absente"_s},
        {"sftp without password nor key file", "protocole=sftp\r\n", u"mot_de_passe"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(folder.path(), Common + c.keys);
        try {
            publishing::readPublicationSettings(folder.path());
            ADD_FAILURE() << "accepted";
        } catch (const publishing::SettingsError &refused) {
            EXPECT_TRUE(refused.message().contains(c.named)) << visible(refused.message());
        }
    }
}

TEST(PlainFtp, IsToldForFtpInClearToAnotherComputerOnly)
{
    const QStringList own = {u"classe-pc"_s, u"192.168.1.20"_s, u"fe80::1"_s};
    struct Case
    {
        const char *host;
        bool thisComputer;
    };
    const Case cases[] = {
        {"localhost", true},        {"LOCALHOST", true},     {"127.0.0.1", true},    {"127.1.2.3", true},
        {"::1", true},              {"[::1]", true},         {"0.0.0.0", true},      {"classe-pc", true},
        {"192.168.1.20", true},     {"[fe80::1]", true},     {" 127.0.0.1 ", true},  {"ftp.ecole.fr", false},
        {"192.168.1.21", false},    {"128.0.0.1", false},    {"localhost.ecole.fr", false},
        {"127.0.0.1.ecole.fr", false}, {"2001:db8::1", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(publishing::isThisComputer(QString::fromUtf8(c.host), own), c.thisComputer);
        publishing::FtpLogin login;
        login.host = QString::fromUtf8(c.host);
        EXPECT_EQ(publishing::sendsInClear(login, own), !c.thisComputer);
        login.tls = true;
        EXPECT_FALSE(publishing::sendsInClear(login, own));
        login.tls = false;
        login.protocol = publishing::Protocol::Sftp;
        EXPECT_FALSE(publishing::sendsInClear(login, own));
    }
    // This computer's own addresses count, whatever they are.
    EXPECT_TRUE(publishing::thisComputersAddresses().contains(u"127.0.0.1"_s));
}

TEST(PlainFtp, IsToldOnceNamingTheHostAndTheWayOut)
{
    publishing::PlainFtpNotice notice;
    publishing::FtpLogin local;
    local.host = u"127.0.0.1"_s;
    publishing::FtpLogin encrypted;
    encrypted.host = u"ftp.ecole.fr"_s;
    encrypted.tls = true;
    publishing::FtpLogin clear;
    clear.host = u"ftp.ecole.fr"_s;

    EXPECT_EQ(notice.take(local, {}), std::nullopt);
    EXPECT_EQ(notice.take(encrypted, {}), std::nullopt);
    const std::optional<QString> warning = notice.take(clear, {});
    ASSERT_TRUE(warning);
    for (const QString &part : {u"« ftp.ecole.fr »"_s, u"sans chiffrement"_s, u"mot de passe"_s, u"tls=oui"_s,
                                u"protocole=sftp"_s, u"docs/publication.md"_s})
        EXPECT_TRUE(warning->contains(part)) << visible(*warning);
    EXPECT_EQ(notice.take(clear, {}), std::nullopt);
}
