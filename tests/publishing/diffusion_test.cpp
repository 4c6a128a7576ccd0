// Publishing a student folder: the listing, the upload loop over a recording
// client, the copy kept beside the working folder and the address opened.
#include "platform/shell.h"
#include "publishing/diffusion.h"
#include "testfiles.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <set>

using namespace Qt::StringLiterals;

namespace {

std::set<QString> asSet(const QStringList &names)
{
    return {names.begin(), names.end()};
}

// Remembers what each upload sent; fails on one remote path if told so.
class RecordingClient : public platform::FtpClient
{
public:
    bool connected() const override { return true; }
    void disconnect() override {}
    void connect(const platform::FtpLogin &) override {}
    void changeDir(const QString &) override {}
    void makeDir(const QString &) override {}
    void put(const QString &localPath, const QString &remotePath) override
    {
        if (remotePath == failOn)
            throw platform::FtpError(u"553 Could not create file."_s);
        QFile local(localPath);
        if (!local.open(QIODevice::ReadOnly))
            throw platform::FtpError(u"cannot read "_s + localPath);
        sent.append({remotePath, local.readAll()});
    }

    QString failOn;
    QList<std::pair<QString, QByteArray>> sent;
};

const QString Target = u"../Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/"_s;

// A working folder inside a temporary root, with a student folder of three
// files and a sub-folder.
class UploadLoop : public testing::Test
{
protected:
    void SetUp() override
    {
        diffusion.workingFolder = QDir::toNativeSeparators(root.path() + u"/Tessavo"_s);
        diffusion.sourceFolder = QDir::toNativeSeparators(root.path() + u"/Tessavo/Dupont_Jean_x/"_s);
        diffusion.target = Target;
        writeFile(diffusion.sourceFolder + u"conte.html"_s, "<html>conte</html>\r\n");
        writeFile(diffusion.sourceFolder + u"conte.jpg"_s, QByteArray(5000, '\xff'));
        writeFile(diffusion.sourceFolder + u"style.css"_s, "body {}\r\n");
        writeFile(diffusion.sourceFolder + u"anciens/vieux.html"_s, "old");
        files = publishing::sourceFiles(diffusion.sourceFolder);
    }

    QString besideWorkingFolder(const QString &name) const
    {
        return root.path() + u"/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/"_s + name;
    }

    QTemporaryDir root;
    publishing::Diffusion diffusion;
    QStringList files;
    RecordingClient client;
};

TEST_F(UploadLoop, SendsEveryFileOfTheFolderAndNoSubFolder)
{
    ASSERT_EQ(asSet(files), (std::set<QString>{u"conte.html"_s, u"conte.jpg"_s, u"style.css"_s}));

    const publishing::UploadResult result = publishing::uploadFiles(client, diffusion, files);

    EXPECT_EQ(result.published, 3);
    EXPECT_FALSE(result.cancelled);
    ASSERT_EQ(client.sent.size(), 3);
    for (const auto &[remote, bytes] : client.sent) {
        SCOPED_TRACE(remote.toStdString());
        ASSERT_TRUE(remote.startsWith(Target));
        EXPECT_EQ(bytes, bytesOf(diffusion.sourceFolder + remote.mid(Target.size())));
    }
}

TEST_F(UploadLoop, KeepsACopyBesideTheWorkingFolderOnlyWhenItsFolderExists)
{
    publishing::uploadFiles(client, diffusion, files);
    EXPECT_FALSE(QFileInfo::exists(besideWorkingFolder(u"conte.html"_s)));
    EXPECT_FALSE(QFileInfo::exists(root.path() + u"/Orvane_PARIS_ECOLE_CM1"_s));

    QDir().mkpath(besideWorkingFolder(QString()));
    writeFile(besideWorkingFolder(u"conte.html"_s), "an earlier, longer copy of the document");
    publishing::uploadFiles(client, diffusion, files);
    for (const QString &name : files)
        EXPECT_EQ(bytesOf(besideWorkingFolder(name)), bytesOf(diffusion.sourceFolder + name)) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(besideWorkingFolder(u"vieux.html"_s)));
}

TEST_F(UploadLoop, StopsAfterTheCurrentFileWhenCancelled)
{
    QStringList started;
    publishing::UploadWatch watch;
    watch.fileStarted = [&](const publishing::UploadStep &step) {
        started.append(step.name);
        EXPECT_EQ(step.count, 3);
        EXPECT_EQ(step.index, started.size());
    };
    watch.cancelRequested = [&] { return !started.isEmpty(); };

    const publishing::UploadResult result = publishing::uploadFiles(client, diffusion, files, watch);

    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.published, 1);
    EXPECT_EQ(result.count, 3);
    EXPECT_EQ(started, QStringList{files.first()});
    ASSERT_EQ(client.sent.size(), 1);
    EXPECT_EQ(client.sent.first().first, Target + files.first());
}

TEST_F(UploadLoop, ACancelWhileConnectingSendsNothing)
{
    publishing::UploadWatch watch;
    watch.cancelRequested = [] { return true; };

    const publishing::UploadResult result = publishing::uploadFiles(client, diffusion, files, watch);

    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.published, 0);
    EXPECT_TRUE(client.sent.isEmpty());
}

TEST_F(UploadLoop, ACancelDuringTheLastFileIsNoCancel)
{
    publishing::UploadWatch watch;
    int started = 0;
    watch.fileStarted = [&](const publishing::UploadStep &) { ++started; };
    watch.cancelRequested = [&] { return started == 3; };

    const publishing::UploadResult result = publishing::uploadFiles(client, diffusion, files, watch);

    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.published, 3);
}

TEST_F(UploadLoop, SkipsAFileDeletedAfterTheListing)
{
    const QString gone = files.at(1);
    publishing::UploadWatch watch;
    watch.fileStarted = [&](const publishing::UploadStep &step) {
        if (step.index == 1)
            QFile::remove(diffusion.sourceFolder + gone);
    };

    const publishing::UploadResult result = publishing::uploadFiles(client, diffusion, files, watch);

    EXPECT_EQ(result.published, 2);
    EXPECT_EQ(result.vanished, QStringList{gone});
    ASSERT_EQ(client.sent.size(), 2);
    EXPECT_NE(client.sent.at(1).first, Target + gone);
}

TEST_F(UploadLoop, AFailedUploadNamesTheFileAndTheHostsReplyAndEndsTheLoop)
{
    client.failOn = Target + files.at(1);
    try {
        publishing::uploadFiles(client, diffusion, files);
        FAIL() << "the failure was not raised";
    } catch (const platform::FtpError &error) {
        EXPECT_EQ(error.message(), u"Le fichier « %1 » n'a pas pu être publié : 553 Could not create file."_s.arg(files.at(1)))
            << visible(error.message());
    }
    ASSERT_EQ(client.sent.size(), 1);
    EXPECT_EQ(client.sent.first().first, Target + files.first());
    EXPECT_TRUE(QFileInfo::exists(diffusion.sourceFolder + files.at(1)));
}

TEST(SourceFiles, HiddenFilesArePublishedAndAMissingFolderListsNothing)
{
    QTemporaryDir root;
    const QString folder = root.path() + u"/Élève_Zoé_x/"_s;
    writeFile(folder + u".cache"_s, "x");
    writeFile(folder + u"leçon été.html"_s, "x");
    QDir().mkpath(folder + u".vieux"_s);

    EXPECT_EQ(asSet(publishing::sourceFiles(folder)), (std::set<QString>{u".cache"_s, u"leçon été.html"_s}));
    EXPECT_TRUE(publishing::sourceFiles(root.path() + u"/absent/"_s).isEmpty());
}

TEST(TableOfContents, AddressIsTheWebAddressAndTheRemoteFolderWithoutItsDots)
{
    struct Case
    {
        const char *name;
        QString webAddress;
        QString target;
        QString address;
        QString opened;
    };
    const Case cases[] = {
        {"host name", u"www.tessavo.fr"_s, Target,
         u"www.tessavo.fr/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s,
         u"http://www.tessavo.fr/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s},
        {"local host with a port", u"127.0.0.1:8080"_s, Target,
         u"127.0.0.1:8080/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s,
         u"http://127.0.0.1:8080/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s},
        {"web address with its scheme", u"https://eleves.example.org"_s, u"../Orvane_A_B_C/Zoe_Li_z@x.fr/"_s,
         u"https://eleves.example.org/Orvane_A_B_C/Zoe_Li_z@x.fr/_Tablematieres.html"_s,
         u"https://eleves.example.org/Orvane_A_B_C/Zoe_Li_z@x.fr/_Tablematieres.html"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString address = publishing::tableOfContentsAddress(c.webAddress, c.target);
        EXPECT_EQ(address, c.address) << visible(address);
        EXPECT_EQ(platform::browserAddress(address), c.opened);
    }
    EXPECT_EQ(platform::browserAddress(u"file:///C:/Aide.htm"_s), u"file:///C:/Aide.htm"_s);
}

} // namespace
