// The remote folders against the three real servers (pyftpdlib for FTP,
// vsftpd for FTPS, OpenSSH for SFTP): a pupil and a class removed from the
// host, and links planted on the host, which no upload and no removal ever
// passes through.
#include "platform/curlftpclient.h"
#include "publishedfolder.h"
#include "publishing/diffusion.h"
#include "publishing/forcedirectories.h"
#include "publishing/remotefolders.h"
#include "ftpserver.h"
#include "sshd.h"
#include "testfiles.h"
#include "visible.h"
#include "vsftpd.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using fakes::contents;
using fakes::studentFolder;

const QString &Target = fakes::StudentTarget;
const QString &Published = fakes::StudentPublished;

// One of the three servers, as the tests start it.
class Host
{
public:
    explicit Host(const std::string &protocol)
    {
        if (protocol == "FTP")
            m_ftp = std::make_unique<fakes::FtpServer>();
        else if (protocol == "FTPS")
            m_vsftpd = std::make_unique<fakes::Vsftpd>();
        else
            m_sshd = std::make_unique<fakes::Sshd>();
    }

    QString cannotRun() const
    {
        return m_vsftpd ? m_vsftpd->cannotRun() : m_sshd ? m_sshd->cannotRun() : QString();
    }
    QString error() const { return m_ftp ? m_ftp->error() : m_vsftpd ? m_vsftpd->error() : m_sshd->error(); }
    QString root() const { return m_ftp ? m_ftp->root() : m_vsftpd ? m_vsftpd->root() : m_sshd->root(); }
    publishing::FtpLogin login() const { return m_ftp ? m_ftp->login() : m_vsftpd ? m_vsftpd->login() : m_sshd->login(); }
    bool sftp() const { return bool(m_sshd); }

private:
    std::unique_ptr<fakes::FtpServer> m_ftp;
    std::unique_ptr<fakes::Vsftpd> m_vsftpd;
    std::unique_ptr<fakes::Sshd> m_sshd;
};

class RemoteFolders : public testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        host = std::make_unique<Host>(GetParam());
        if (!host->cannotRun().isEmpty())
            GTEST_SKIP() << host->cannotRun().toStdString();
        ASSERT_EQ(host->error(), QString());
        client.connect(host->login());
    }

    // Sends bytes to the remote path, through the client.
    void send(const QString &remotePath, const QByteArray &bytes)
    {
        const QString local = working.filePath(u"envoi"_s);
        writeFile(local, bytes);
        client.put(local, remotePath);
    }

    // A link planted on the host, as another account would.
    void plant(const QString &relative, const QString &pointsTo) const
    {
        ASSERT_EQ(::symlink(QFile::encodeName(pointsTo).constData(), QFile::encodeName(host->root() + u'/' + relative).constData()),
                  0)
            << relative.toStdString();
    }

    QString onHost(const QString &relative) const { return host->root() + u'/' + relative; }

    // A folder of the host that Tessavo does not publish to, with one file.
    void makeElsewhere()
    {
        publishing::ForceFtpDirectories(client, u"../Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y/"_s);
        send(u"../Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y/conte.html"_s, "the other pupil's document");
        client.disconnect();
        client.connect(host->login());
    }

    std::unique_ptr<Host> host;
    QTemporaryDir working;
    platform::CurlFtpClient client;
};

TEST_P(RemoteFolders, APupilAndThenTheClassAreRemovedWithEverythingInThemAndNothingBeyond)
{
    makeElsewhere();
    publishing::ForceFtpDirectories(client, u"../Orvane_A_B_C/K7WQ/"_s);
    publishing::ForceFtpDirectories(client, u"../Orvane_A_B_C/M3XP/"_s);
    client.disconnect();
    client.connect(host->login());
    for (const QString &name : {u"conte.html"_s, u"conte.txt"_s, u".cache"_s, u"Le conte été.html"_s})
        send(u"../Orvane_A_B_C/K7WQ/"_s + name, "x");
    send(u"../Orvane_A_B_C/M3XP/conte.html"_s, "the second pupil");
    send(u"../Orvane_A_B_C/index.html"_s, "<html>class page</html>");
    // A link in the pupil's folder goes, and not what it leads to.
    plant(u"Orvane_A_B_C/K7WQ/lien.html"_s, u"../../Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y/conte.html"_s);
    plant(u"Orvane_A_B_C/K7WQ/dossier"_s, u"../../Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s);
    const QMap<QString, QByteArray> elsewhere = contents(onHost(u"Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s));

    publishing::removeRemoteFolder(client, u"../Orvane_A_B_C/K7WQ/"_s);
    EXPECT_FALSE(QFileInfo::exists(onHost(u"Orvane_A_B_C/K7WQ"_s)));
    EXPECT_FALSE(QFileInfo(onHost(u"Orvane_A_B_C/K7WQ"_s)).isSymLink());
    EXPECT_EQ(bytesOf(onHost(u"Orvane_A_B_C/M3XP/conte.html"_s)), "the second pupil");
    EXPECT_EQ(contents(onHost(u"Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s)), elsewhere);
    // Not there: removed already.
    EXPECT_NO_THROW(publishing::removeRemoteFolder(client, u"../Orvane_A_B_C/K7WQ"_s));
    EXPECT_NO_THROW(publishing::removeRemoteFolder(client, u"../Orvane_X_Y_Z/K7WQ/"_s));

    EXPECT_EQ(publishing::removeRemoteClass(client, u"../Orvane_A_B_C/"_s), QStringList());
    EXPECT_FALSE(QFileInfo::exists(onHost(u"Orvane_A_B_C"_s)));
    EXPECT_EQ(publishing::removeRemoteClass(client, u"../Orvane_A_B_C/"_s), QStringList());
    EXPECT_EQ(contents(onHost(u"Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s)), elsewhere);
    // The connection is still usable.
    send(u"../apres.txt"_s, "y");
    EXPECT_EQ(bytesOf(onHost(u"apres.txt"_s)), "y");
}

TEST_P(RemoteFolders, AClassKeepsWhatTessavoDidNotPutAndSaysWhat)
{
    publishing::ForceFtpDirectories(client, u"../Orvane_A_B_C/K7WQ/"_s);
    client.disconnect();
    client.connect(host->login());
    send(u"../Orvane_A_B_C/K7WQ/conte.html"_s, "x");
    send(u"../Orvane_A_B_C/index.html"_s, "page");
    send(u"../Orvane_A_B_C/lisez-moi.txt"_s, "the host's own file");

    EXPECT_EQ(publishing::removeRemoteClass(client, u"../Orvane_A_B_C/"_s), QStringList{u"lisez-moi.txt"_s});
    EXPECT_EQ(QDir(onHost(u"Orvane_A_B_C"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{u"lisez-moi.txt"_s});
}

// A link in place of the pupil's folder or of the class folder is refused by
// name, and nothing is removed, there or where it leads.
TEST_P(RemoteFolders, ALinkInPlaceOfTheFolderIsRefusedAndNothingIsRemoved)
{
    makeElsewhere();
    const QMap<QString, QByteArray> elsewhere = contents(onHost(u"Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s));
    publishing::ForceFtpDirectories(client, u"../Orvane_A_B_C/"_s);
    client.disconnect();
    client.connect(host->login());
    plant(u"Orvane_A_B_C/K7WQ"_s, u"../Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s);
    plant(u"Orvane_LIEN"_s, u"Orvane_AUTRE_ECOLE_CE2"_s);

    struct Case
    {
        const char *name;
        std::function<void()> remove;
        QString link;
    };
    const Case cases[] = {
        {"a pupil's folder", [&] { publishing::removeRemoteFolder(client, u"../Orvane_A_B_C/K7WQ/"_s); },
         u"../Orvane_A_B_C/K7WQ"_s},
        {"a class folder on the way", [&] { publishing::removeRemoteFolder(client, u"../Orvane_LIEN/Martin_Lea_y/"_s); },
         u"../Orvane_LIEN"_s},
        {"a class", [&] { publishing::removeRemoteClass(client, u"../Orvane_LIEN/"_s); }, u"../Orvane_LIEN"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.remove();
            ADD_FAILURE() << "the link was not refused";
        } catch (const publishing::FtpError &error) {
            EXPECT_TRUE(error.message().contains(u"« %1 » est un lien"_s.arg(c.link))) << visible(error.message());
        }
        EXPECT_EQ(contents(onHost(u"Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s)), elsewhere);
    }
    EXPECT_TRUE(QFileInfo(onHost(u"Orvane_A_B_C/K7WQ"_s)).isSymLink());
}

// A link planted on the host never takes an upload: one on the way to the
// pupil's folder is refused by name before anything is sent; one that
// replaced a published file is removed and the file written in its place.
TEST_P(RemoteFolders, APublicationNeverWritesThroughALinkOnTheHost)
{
    makeElsewhere();
    const QString other = onHost(u"Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s);
    const QMap<QString, QByteArray> elsewhere = contents(other);
    const QString source = studentFolder(working, 2000);
    const QStringList files = publishing::sourceFiles(source);
    const publishing::Diffusion diffusion{source, Target, working.path()};
    // Outside the login folder: beside the SFTP account's home, or where an
    // FTP server's account cannot reach.
    QDir(host->root() + u"/.."_s).mkpath(u"dehors"_s);
    const QString outside = QDir::cleanPath(host->root() + u"/../dehors"_s);
    QFile::setPermissions(outside, QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther
                                       | QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    struct Case
    {
        const char *name;
        QString link;      // from the server's root
        QString pointsTo;  // as the link holds it
    };
    const Case cases[] = {
        {"the pupil's folder, to another pupil's", u"Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x"_s,
         u"../Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y"_s},
        {"the pupil's folder, out of the login folder", u"Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x"_s, u"../../dehors"_s},
        {"the class folder", u"Orvane_PARIS_ECOLE_CM1"_s, u"Orvane_AUTRE_ECOLE_CE2"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(onHost(u"Orvane_PARIS_ECOLE_CM1"_s)).removeRecursively();
        QFile::remove(onHost(u"Orvane_PARIS_ECOLE_CM1"_s));
        if (c.link.contains(u'/'))
            publishing::ForceFtpDirectories(client, u"../Orvane_PARIS_ECOLE_CM1/"_s);
        client.disconnect();
        client.connect(host->login());
        plant(c.link, c.pointsTo);
        try {
            publishing::uploadFiles(client, diffusion, files);
            ADD_FAILURE() << "the link was not refused";
        } catch (const publishing::FtpError &error) {
            EXPECT_TRUE(error.message().contains(u"« ../%1 » est un lien"_s.arg(c.link))) << visible(error.message());
        }
        EXPECT_EQ(contents(other), elsewhere);
        EXPECT_EQ(QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        client.disconnect();
        client.connect(host->login());
    }

    // Published, then a published file replaced by a link to another
    // pupil's document: publishing again removes the link and writes the file.
    QFile::remove(onHost(u"Orvane_PARIS_ECOLE_CM1"_s));
    publishing::ForceFtpDirectories(client, Target);
    client.disconnect();
    client.connect(host->login());
    const QString identity = u"ftp://essai@hote:21"_s;
    publishing::uploadChangedFiles(client, diffusion, files, identity, false);
    ASSERT_TRUE(QFile::remove(onHost(Published + u"conte.html"_s)));
    plant(Published + u"conte.html"_s, u"../../Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y/conte.html"_s);
    publishing::uploadChangedFiles(client, diffusion, files, identity, false);
    EXPECT_FALSE(QFileInfo(onHost(Published + u"conte.html"_s)).isSymLink());
    EXPECT_EQ(bytesOf(onHost(Published + u"conte.html"_s)), bytesOf(source + u"conte.html"_s));
    EXPECT_EQ(contents(other), elsewhere);
}

// What an earlier version published of the backups, the settings and the
// working files is taken down by the next publication; the host's own hidden
// files and a printed page stay.
TEST_P(RemoteFolders, BackupsAndSettingsPublishedBeforeAreTakenDown)
{
    const QString source = studentFolder(working, 2000);
    publishing::ForceFtpDirectories(client, Target);
    client.disconnect();
    client.connect(host->login());
    for (const QString &name : {u"conte.html.bak"_s, u"conte.html.sansaide.bak"_s, u"entendu.ini"_s, u"adresse.txt"_s,
                                u"TexteAlire_copie.html"_s, u".htaccess"_s, u"conte.pdf"_s})
        send(Target + name, "earlier");

    publishing::uploadChangedFiles(client, {source, Target, working.path()}, publishing::sourceFiles(source),
                                   u"ftp://essai@hote:21"_s, false);

    QMap<QString, QByteArray> expected = contents(source);
    expected.insert(u".htaccess"_s, "earlier");
    expected.insert(u"conte.pdf"_s, "earlier");
    QMap<QString, QByteArray> published;
    for (const QString &name : QDir(onHost(Published)).entryList(QDir::Files | QDir::Hidden))
        published.insert(name, bytesOf(onHost(Published + name)));
    EXPECT_EQ(published.keys(), expected.keys());
    EXPECT_EQ(published, expected);
}

INSTANTIATE_TEST_SUITE_P(Hosts, RemoteFolders, testing::Values("FTP", "FTPS", "SFTP"),
                         [](const testing::TestParamInfo<std::string> &info) { return info.param; });

} // namespace
