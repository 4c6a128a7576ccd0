// publication.ini: the publishing host of the installation.
#include "localhost/connexion.h"
#include "publishing/settings.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

void writeIni(const QString &folder, const QByteArray &content)
{
    QFile file(QDir(folder).filePath(u"publication.ini"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

struct Refused
{
    const char *name;
    QByteArray content;  // empty: no file at all
    QString named;       // the text must name this too
};

} // namespace

TEST(PublicationSettings, ReadsEveryKeyAndKeepsACommaInThePassword)
{
    QTemporaryDir folder;
    writeIni(folder.path(), "[publication]\r\nhote=ftp.ecole.fr\r\nport=2121\r\nutilisateur=classe\r\n"
                            "mot_de_passe=a,b\r\nadresse_web=www.ecole.fr:8080\r\ntls=oui\r\ndelai=7\r\n"
                            "certificat=ac.pem\r\n");
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(folder.path());
    EXPECT_EQ(settings.host, u"ftp.ecole.fr"_s);
    EXPECT_EQ(settings.port, 2121);
    EXPECT_EQ(settings.user, u"classe"_s);
    EXPECT_EQ(settings.password, u"a,b"_s);
    EXPECT_EQ(settings.adresse_web, u"www.ecole.fr:8080"_s);
    EXPECT_TRUE(settings.tls);
    EXPECT_EQ(settings.delai, 7);
    EXPECT_EQ(settings.certificat, QDir(folder.path()).absoluteFilePath(u"ac.pem"_s));

    const publishing::FtpLogin login = settings.login();
    EXPECT_TRUE(login.passive);
    EXPECT_EQ(login.timeoutSeconds, 7);
    EXPECT_EQ(login.caFile, settings.certificat);
}

TEST(PublicationSettings, GivesTheDefaultsOfAMissingKeyAndReadsAQuotedValue)
{
    QTemporaryDir folder;
    writeIni(folder.path(), "[publication]\nhote=127.0.0.1\nutilisateur=u\nmot_de_passe=\"x;y\"\nadresse_web=h\n");
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(folder.path());
    EXPECT_EQ(settings.password, u"x;y"_s);  // quoted: ";" would start a comment
    EXPECT_EQ(settings.port, 21);
    EXPECT_FALSE(settings.tls);
    EXPECT_EQ(settings.delai, 20);
    EXPECT_TRUE(settings.certificat.isEmpty());
}

TEST(PublicationSettings, TakesBothEndsOfEachRangeAndTheBlanksOfAQuotedPassword)
{
    struct Case { const char *name; QByteArray port, delai; int expectedPort, expectedDelai; };
    const Case cases[] = {
        {"the highest", "65535", "3600", 65535, 3600},
        {"the lowest", "1", "1", 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        writeIni(folder.path(), "[publication]\nhote=h\nport=" + c.port + "\nutilisateur=u\nmot_de_passe=\" s3cret \"\n"
                                "adresse_web=w\ndelai=" + c.delai + "\n");
        const publishing::PublicationSettings settings = publishing::readPublicationSettings(folder.path());
        EXPECT_EQ(settings.port, c.expectedPort);
        EXPECT_EQ(settings.delai, c.expectedDelai);
        EXPECT_EQ(settings.password, u" s3cret "_s) << visible(settings.password);
    }
}

TEST(PublicationSettings, RefusesWhatItCannotUseWithATextNamingTheFileAndTheKey)
{
    // Every required key, each case then adds or changes one line.
    const QByteArray complete = "[publication]\nhote=h\nutilisateur=u\nmot_de_passe=\"s3cret;pw\"\nadresse_web=w\n";
    const Refused cases[] = {
        {"no file", {}, u"introuvable"_s},
        {"no host", "[publication]\nport=21\nutilisateur=u\nmot_de_passe=p\nadresse_web=w\n", u"clé hote"_s},
        {"host outside the group", "hote=ftp.ecole.fr\n", u"clé hote"_s},
        {"port not a number", complete + "port=vingt\n", u"port"_s},
        {"port out of range", complete + "port=70000\n", u"port"_s},
        {"delay of zero", complete + "delai=0\n", u"delai"_s},
        {"tls neither yes nor no", complete + "tls=peut-etre\n", u"tls"_s},
        {"no user", "[publication]\nhote=h\nmot_de_passe=p\nadresse_web=w\n", u"clé utilisateur"_s},
        {"an empty user", "[publication]\nhote=h\nutilisateur=\nmot_de_passe=p\nadresse_web=w\n", u"clé utilisateur"_s},
        {"no password", "[publication]\nhote=h\nutilisateur=u\nadresse_web=w\n", u"clé mot_de_passe"_s},
        {"an empty quoted password", "[publication]\nhote=h\nutilisateur=u\nmot_de_passe=\"\"\nadresse_web=w\n",
         u"clé mot_de_passe"_s},
        {"no web address", "[publication]\nhote=h\nutilisateur=u\nmot_de_passe=p\n", u"clé adresse_web"_s},
        {"a web address that is a scheme alone", complete + "adresse_web=https://\n", u"clé adresse_web"_s},
        // Qt's reader turns the escapes of a quoted value into the characters.
        {"a line break inside the quoted password",
         "[publication]\nhote=h\nutilisateur=u\nmot_de_passe=\"s3cret;pw\\r\\nMKD injected2\"\nadresse_web=w\n",
         u"clé mot_de_passe"_s},
        {"a tab in the user", "[publication]\nhote=h\nutilisateur=\"u\\tv\"\nmot_de_passe=p\nadresse_web=w\n",
         u"clé utilisateur"_s},
        {"a line feed in the host", "[publication]\nhote=\"h\\nQUIT\"\nutilisateur=u\nmot_de_passe=p\nadresse_web=w\n",
         u"clé hote"_s},
        {"a line feed in the web address",
         "[publication]\nhote=h\nutilisateur=u\nmot_de_passe=p\nadresse_web=\"w\\n<script>\"\n", u"clé adresse_web"_s},
    };
    for (const Refused &refused : cases) {
        SCOPED_TRACE(refused.name);
        QTemporaryDir folder;
        if (!refused.content.isEmpty())
            writeIni(folder.path(), refused.content);
        try {
            publishing::readPublicationSettings(folder.path());
            ADD_FAILURE() << "accepted";
        } catch (const publishing::SettingsError &error) {
            EXPECT_TRUE(error.message().contains(u"publication.ini"_s)) << error.what();
            EXPECT_TRUE(error.message().contains(refused.named)) << error.what();
            for (const QString &part : {u"s3cret"_s, u"injected"_s})
                EXPECT_FALSE(error.message().contains(part)) << error.what();
        }
    }
}

namespace {

// A client that must not be used once the settings are refused.
class CountingClient : public publishing::FtpClient
{
public:
    bool connected() const override { return isConnected; }
    void disconnect() override { ++disconnects, isConnected = false; }
    void connect(const publishing::FtpLogin &) override { ++connects, isConnected = true; }
    void changeDir(const QString &) override {}
    void makeDir(const QString &) override {}
    void put(const QString &, const QString &) override {}

    bool isConnected = false;
    int disconnects = 0;
    int connects = 0;
};

} // namespace

TEST(ConnexionFTP, ClosesTheOpenConnectionAndReportsAMissingFile)
{
    QTemporaryDir folder;
    CountingClient client;
    client.isConnected = true;
    const workspace::Result<void> connected = localhost::ConnexionFTP(client, folder.path());
    ASSERT_FALSE(connected);
    const QString shown = connected.reason();
    EXPECT_TRUE(shown.contains(u"publication.ini"_s));
    EXPECT_EQ(client.disconnects, 1);
    EXPECT_EQ(client.connects, 0);
    EXPECT_FALSE(client.connected());
}

TEST(ConnexionFTP, NeverConnectsWithALineBreakInThePassword)
{
    QTemporaryDir folder;
    writeIni(folder.path(), "[publication]\nhote=127.0.0.1\nutilisateur=u\n"
                            "mot_de_passe=\"s3cret;pw\\r\\nMKD injected2\"\nadresse_web=w\n");
    CountingClient client;
    const workspace::Result<void> connected = localhost::ConnexionFTP(client, folder.path());
    ASSERT_FALSE(connected);
    const QString shown = connected.reason();
    EXPECT_TRUE(shown.contains(u"mot_de_passe"_s)) << shown.toStdString();
    EXPECT_EQ(client.connects, 0);
}

TEST(PublicationSettings, TheWebRootHasOneSchemeAndNoSlashAtItsEnd)
{
    struct Case
    {
        const char *name;
        QString adresseWeb;
        QString root;
    };
    const Case cases[] = {
        {"host alone", u"www.monecole.fr"_s, u"http://www.monecole.fr"_s},
        {"host and port", u"127.0.0.1:29305"_s, u"http://127.0.0.1:29305"_s},
        {"with http", u"http://www.monecole.fr"_s, u"http://www.monecole.fr"_s},
        {"with http in capitals and a slash", u"HTTP://www.monecole.fr/"_s, u"http://www.monecole.fr"_s},
        {"with https", u"https://eleves.example.org"_s, u"https://eleves.example.org"_s},
        {"with https, a port and slashes", u"Https://eleves.example.org:8443//"_s,
         u"https://eleves.example.org:8443"_s},
        {"host and a slash", u"www.monecole.fr/"_s, u"http://www.monecole.fr"_s},
        {"a folder of the host", u"www.monecole.fr/tessavo/"_s, u"http://www.monecole.fr/tessavo"_s},
        {"a host named after the scheme", u"http.monecole.fr"_s, u"http://http.monecole.fr"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(publishing::webRoot(c.adresseWeb), c.root);
    }
    // As read from the file.
    QTemporaryDir folder;
    writeIni(folder.path(), "[publication]\nhote=h\nutilisateur=u\nmot_de_passe=p\nadresse_web= HTTPS://ecole.fr/ \n");
    EXPECT_EQ(publishing::webRoot(publishing::readPublicationSettings(folder.path()).adresse_web),
              u"https://ecole.fr"_s);
}

TEST(PublicationSettings, AKeyIsWrittenInItsGroupAndEveryOtherLineStays)
{
    const struct
    {
        const char *name;
        QByteArray ini, written;
    } cases[] = {
        {"added after the header", "; note\r\n[publication]\r\nhote=x\r\n",
         "; note\r\n[publication]\r\nreseau_classe=oui\r\nhote=x\r\n"},
        {"replaced in place", "[publication]\r\nhote=x\r\nReseau_Classe = non\r\nport=21\r\n",
         "[publication]\r\nhote=x\r\nreseau_classe=oui\r\nport=21\r\n"},
        {"the same key of another group stays", "[autre]\r\nreseau_classe=non\r\n[publication]\r\nhote=x\r\n",
         "[autre]\r\nreseau_classe=non\r\n[publication]\r\nreseau_classe=oui\r\nhote=x\r\n"},
        {"a comment naming the key stays", "[publication]\r\n; reseau_classe=non\r\n",
         "[publication]\r\nreseau_classe=oui\r\n; reseau_classe=non\r\n"},
        {"no group", "", "[publication]\r\nreseau_classe=oui\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(visible(QString::fromLatin1(publishing::withPublicationKey(c.ini, u"reseau_classe"_s, u"oui"_s))),
                  visible(QString::fromLatin1(c.written)));
    }
}
