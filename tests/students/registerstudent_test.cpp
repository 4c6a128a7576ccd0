// The registration as one call, on a working folder of its own and a host
// held in memory: what it writes, in what order, and what a refusal or a
// failure half-way leaves behind (nothing).
#include "students/registerstudent.h"
#include "testfiles.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A host in memory: the login folder is "/home", so that "../" is its root.
class MemoryHost : public publishing::FtpClient
{
public:
    bool connected() const override { return m_connected; }
    void disconnect() override { m_connected = false; }
    void connect(const publishing::FtpLogin &) override
    {
        m_connected = true;
        m_current = u"/home"_s;
    }
    void changeDir(const QString &path) override
    {
        const QString target = resolve(path);
        if (!folders.contains(target))
            throw publishing::FtpError(u"550 "_s + path);
        m_current = target;
    }
    void makeDir(const QString &path) override { folders.insert(resolve(path)); }
    void put(const QString &localPath, const QString &remotePath) override
    {
        if (refusePuts)
            throw publishing::FtpError(u"L'envoi de « %1 » a été refusé."_s.arg(remotePath));
        files.insert(resolve(remotePath), bytesOf(localPath));
    }

    QSet<QString> folders{u"/"_s, u"/home"_s};
    QMap<QString, QByteArray> files;
    bool refusePuts = false;

private:
    QString resolve(const QString &path) const
    {
        // As a server does, ".." at the root stays at the root.
        QString clean = QDir::cleanPath(path.startsWith(u'/') ? path : m_current + u'/' + path);
        while (clean.startsWith(u"/.."_s))
            clean = clean.mid(3).isEmpty() ? u"/"_s : clean.mid(3);
        return clean;
    }

    bool m_connected = false;
    QString m_current = u"/home"_s;
};

// Every file and folder under root, relative.
QStringList everything(const QString &root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(root).relativeFilePath(it.next());
    found.sort();
    return found;
}

class Registering : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(working.filePath(u"reserve"_s));
        for (const QString &name : {u"style.css"_s, u"entete.html"_s, u"FinFichier.html"_s, u"Indexdeb.txt"_s,
                                    u"Indexfin.txt"_s})
            workspace::writeLines(working.filePath(u"reserve/"_s + name), {name});
        workspace::writeBytes(working.filePath(u"reserve/fond.jpg"_s), "\xFF\xD8\xFF");
        workspace::writeBytes(working.filePath(u"publication.ini"_s),
                              "[publication]\r\nhote=ftp.exemple.fr\r\nutilisateur=classe\r\nmot_de_passe=x\r\n"
                              "adresse_web=www.exemple.fr\r\ntls=oui\r\n");
    }

    workspace::Result<students::Registration> registerTyped(const students::Identity &typed)
    {
        return students::registerStudent({working.path(), typed, {}, false}, host,
                                         [this](const QString &text) { told << text; });
    }

    QTemporaryDir working;
    MemoryHost host;
    QStringList told;
    const students::Identity zoe{u"Évry"_s, u"Jaurès"_s, u"cm1"_s, u"Le Bœuf"_s, u"Zoé"_s, u"zoe@x.fr"_s};
};

} // namespace

TEST_F(Registering, ARefusedRegistrationWritesNothingHereOrOnTheHost)
{
    const struct
    {
        const char *name;
        QString students::Identity::*field;
        QString value;
        QString reason;
    } refusals[] = {
        {"placeholder", &students::Identity::surname, u"Nom"_s, u"Entrez un Nom valide"_s},
        {"no e-mail", &students::Identity::mail, u"@"_s, u"Il faut mettre un nom d'email valide"_s},
        {"new class without a city", &students::Identity::city, QString(), u"Il faut mettre un nom de ville valide"_s},
    };
    const QStringList before = everything(working.path());
    for (const auto &refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        students::Identity typed = zoe;
        typed.*refusal.field = refusal.value;
        const workspace::Result<students::Registration> result = registerTyped(typed);
        EXPECT_EQ(result.reason(), refusal.reason);
        EXPECT_EQ(everything(working.path()), before);
        EXPECT_EQ(host.folders.size(), 2);
    }
}

TEST_F(Registering, AHostThatRefusesTheClassPagePutsEveryFileBack)
{
    const QStringList before = everything(working.path());
    host.refusePuts = true;
    EXPECT_THROW((void)registerTyped(zoe), publishing::FtpError);
    EXPECT_EQ(everything(working.path()), before);

    host.refusePuts = false;
    const workspace::Result<students::Registration> registered = registerTyped(zoe);
    ASSERT_TRUE(registered.ok()) << registered.reason().toStdString();
    EXPECT_EQ(told, QStringList());
    const QString code = workspace::readLines(registered->studentFolder + u"adresse.txt"_s).value(0);
    EXPECT_EQ(registered->remoteFolder, u"../Orvane_EVRY_JAURES_CM1/"_s + code + u'/');
    EXPECT_TRUE(host.folders.contains(u"/Orvane_EVRY_JAURES_CM1/"_s + code));
    EXPECT_EQ(host.files.keys(), QStringList{u"/Orvane_EVRY_JAURES_CM1/index.html"_s});
    EXPECT_EQ(registered->listed, QStringList{u"Le_Boeuf_Zoe_zoe@x.fr"_s});
    EXPECT_EQ(bytesOf(registered->studentsFolder + u"ListeLecteurs.txt"_s), QByteArray("Le_Boeuf;Zoe;CM1;zoe@x.fr\r\n"));
    for (const QString &name : {u"style.css"_s, u"entete.html"_s, u"FinFichier.html"_s, u"fond.jpg"_s})
        EXPECT_TRUE(QFileInfo(registered->studentFolder + name).isFile()) << name.toStdString();

    // Typed again: told, and nothing written twice.
    const workspace::Result<students::Registration> again =
        students::registerStudent({working.path(), zoe, registered->listed, true}, host,
                                  [this](const QString &text) { told << text; });
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(told, QStringList{u"Cet élève est déjà enregistré"_s});
    EXPECT_EQ(again->remoteFolder, registered->remoteFolder);
    EXPECT_EQ(bytesOf(registered->studentsFolder + u"ListeLecteurs.txt"_s), QByteArray("Le_Boeuf;Zoe;CM1;zoe@x.fr\r\n"));
}
