// Publishing a student folder: the listing, the upload loop over a recording
// client, the copy kept beside the working folder and the address opened.
#include "platform/shell.h"
#include "publishing/changedfiles.h"
#include "publishing/diffusion.h"
#include "workspace/failure.h"
#include "testfiles.h"
#include "visible.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

std::set<QString> asSet(const QStringList &names)
{
    return {names.begin(), names.end()};
}

// Remembers what each upload sent; fails on one remote path if told so.
class RecordingClient : public publishing::FtpClient
{
public:
    bool connected() const override { return true; }
    void disconnect() override {}
    void connect(const publishing::FtpLogin &) override {}
    void changeDir(const QString &) override {}
    void makeDir(const QString &) override {}
    void put(const QString &localPath, const QString &remotePath) override
    {
        if (remotePath == failOn)
            throw publishing::FtpError(u"553 Could not create file."_s);
        QFile local(localPath);
        if (!local.open(QIODevice::ReadOnly))
            throw publishing::FtpError(u"cannot read "_s + localPath);
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

// Another user of a shared parent folder plants a link on the way to the copy
// kept beside the working folder: the copy would replace another pupil's
// documents. Nothing is written through it, nothing goes up, and the teacher
// reads which link it is.
TEST_F(UploadLoop, ALinkOnTheWayToTheCopyBesideTheWorkingFolderIsRefusedByName)
{
    const QString classFolder = root.path() + u"/Orvane_PARIS_ECOLE_CM1"_s;
    const QString other = root.path() + u"/Orvane_AUTRE_ECOLE_CE2/Martin_Lea_y/"_s;
    struct Case
    {
        const char *name;
        QString link;    // made a link to another pupil's folder
        QString target;  // where it points
    };
    const Case cases[] = {
        {"the pupil's folder", classFolder + u"/Dupont_Jean_x"_s, other},
        {"the class folder", classFolder, root.path() + u"/Orvane_AUTRE_ECOLE_CE2"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(classFolder).removeRecursively();
        QFile::remove(classFolder);
        writeFile(other + u"conte.html"_s, "the other pupil's document");
        writeFile(root.path() + u"/Orvane_AUTRE_ECOLE_CE2/Dupont_Jean_x/conte.html"_s, "the other class's document");
        QDir().mkpath(QFileInfo(c.link).path());
        ASSERT_EQ(symlink(QFile::encodeName(c.target).constData(), QFile::encodeName(c.link).constData()), 0);
        client.sent.clear();

        try {
            publishing::uploadFiles(client, diffusion, files);
            ADD_FAILURE() << "the link was not refused";
        } catch (const workspace::Failure &failure) {
            EXPECT_TRUE(failure.message().contains(u"« %1 » est un lien"_s.arg(QDir::toNativeSeparators(c.link))))
                << visible(failure.message());
        }
        EXPECT_EQ(bytesOf(other + u"conte.html"_s), "the other pupil's document");
        EXPECT_EQ(bytesOf(root.path() + u"/Orvane_AUTRE_ECOLE_CE2/Dupont_Jean_x/conte.html"_s), "the other class's document");
        EXPECT_FALSE(QFileInfo::exists(other + u"style.css"_s));
        EXPECT_TRUE(client.sent.isEmpty());
    }

    // A link in place of a copied file is not written through either.
    QFile::remove(classFolder);
    QDir().mkpath(classFolder + u"/Dupont_Jean_x"_s);
    ASSERT_EQ(symlink(QFile::encodeName(other + u"conte.html"_s).constData(),
                      QFile::encodeName(besideWorkingFolder(u"conte.html"_s)).constData()), 0);
    EXPECT_THROW(publishing::uploadFiles(client, diffusion, files), workspace::Failure);
    EXPECT_EQ(bytesOf(other + u"conte.html"_s), "the other pupil's document");
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
    } catch (const publishing::FtpError &error) {
        EXPECT_EQ(error.message(), u"Le fichier « %1 » n'a pas pu être publié : 553 Could not create file."_s.arg(files.at(1)))
            << visible(error.message());
    }
    ASSERT_EQ(client.sent.size(), 1);
    EXPECT_EQ(client.sent.first().first, Target + files.first());
    EXPECT_TRUE(QFileInfo::exists(diffusion.sourceFolder + files.at(1)));
}

// A host that keeps what it is sent and lists it; it may cut a file short
// without a word, as a full disk or a dropped connection can.
class ListingHost : public RecordingClient
{
public:
    void put(const QString &localPath, const QString &remotePath) override
    {
        RecordingClient::put(localPath, remotePath);
        QByteArray bytes = sent.last().second;
        if (remotePath.endsWith(u'/' + cutShort))
            bytes.truncate(bytes.size() / 2);
        held.insert(remotePath, bytes);
    }
    std::optional<QList<publishing::RemoteFile>> list(const QString &folder) override
    {
        QList<publishing::RemoteFile> files;
        for (auto file = held.cbegin(); file != held.cend(); ++file) {
            if (file.key().startsWith(folder) && !file.key().mid(folder.size()).contains(u'/'))
                files.append({file.key().mid(folder.size()), file.value().size(), u"20261211072500"_s});
        }
        return files;
    }

    QString cutShort;
    QMap<QString, QByteArray> held;
};

TEST_F(UploadLoop, AFileTheHostHoldsCutShortIsNotRecordedAsSentAndGoesAgain)
{
    ListingHost host;
    host.cutShort = u"conte.jpg"_s;
    const QString identity = u"ftp://classe@ftp.ecole.fr:21"_s;
    publishing::uploadChangedFiles(host, diffusion, files, identity, false);

    const std::optional<publishing::SentFiles> record =
        publishing::readSentRecord(publishing::sentRecordPath(diffusion.workingFolder, identity), identity);
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->value(Target).contains(u"conte.html"_s));
    EXPECT_FALSE(record->value(Target).contains(u"conte.jpg"_s)) << "recorded as sent, cut short on the host";

    host.cutShort.clear();
    host.sent.clear();
    publishing::uploadChangedFiles(host, diffusion, files, identity, false);
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent.first().first, Target + u"conte.jpg"_s);
    EXPECT_EQ(host.held.value(Target + u"conte.jpg"_s), bytesOf(diffusion.sourceFolder + u"conte.jpg"_s));
}

// The record is written however the upload ends: what went up before a
// failure is not sent again, the rest is.
TEST_F(UploadLoop, WhatWentUpBeforeAFailureIsRecordedAndNotSentAgain)
{
    ListingHost host;
    host.failOn = Target + files.at(1);
    const QString identity = u"ftp://classe@ftp.ecole.fr:21"_s;
    EXPECT_THROW(publishing::uploadChangedFiles(host, diffusion, files, identity, false), publishing::FtpError);

    const std::optional<publishing::SentFiles> record =
        publishing::readSentRecord(publishing::sentRecordPath(diffusion.workingFolder, identity), identity);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->value(Target).keys(), QStringList{files.at(0)});
    EXPECT_EQ(record->value(Target).value(files.at(0)).stamp, u"20261211072500"_s) << "the stamp the host gave it";

    host.failOn.clear();
    host.sent.clear();
    const publishing::UploadResult result = publishing::uploadChangedFiles(host, diffusion, files, identity, false);
    EXPECT_EQ(result.unchanged, 1);
    ASSERT_EQ(host.sent.size(), 2);
    EXPECT_EQ(host.sent.at(0).first, Target + files.at(1));
    EXPECT_EQ(host.sent.at(1).first, Target + files.at(2));
}

TEST(SourceFiles, OnlyWhatAReaderOpensIsSent)
{
    QTemporaryDir root;
    const QString folder = root.path() + u"/Élève_Zoé_x/"_s;
    struct Case
    {
        const char *name;
        bool sent;
    };
    const Case cases[] = {
        // What the reader app and a browser open.
        {"conte.html", true}, {"leçon été.html", true}, {"vieille.htm", true}, {"conte.txt", true},
        {"vieille.txt", true}, {"conte.jpg", true}, {"photo.png", true}, {"style.css", true},
        {"fond.jpg", true}, {"police.woff2", true}, {"entete.html", true}, {"FinFichier.html", true},
        {"ListeImages.txt", true}, {"_Tablematieres.txt", true}, {"_Tablematieres.html", true},
        // The reading aloud of a document, and its script.
        {"conte.mp3", true}, {"conte.vtt", true}, {"lecture.js", true}, {"lecture.ini", false},
        {"perdu.mp3", false}, {"perdu.vtt", false}, {"autre.js", false},
        // Backups, settings, working files, printed pages, the rest.
        {"conte.html.bak", false}, {"conte.html.sansaide.bak", false}, {"conte.html.hors-tessavo.bak", false},
        {"conte.html.hors-tessavo-2.bak", false}, {"CONTE.HTML.BAK", false}, {"entendu.ini", false},
        {"publication.ini", false}, {"reglages.INI", false}, {"adresse.txt", false}, {"TexteAlire.html", false},
        {"TexteAlire2.html", false}, {"TexteAlire_copie.html", false}, {"corrections-mots.txt", false},
        {"publication-envois-0123456789abcdef.txt", false}, {"ListeLecteurs.txt", false}, {"ecole.txt", false},
        {"conte.pdf", false}, {"notes.txt", false}, {"conte.html.old", false}, {"lettre.docx", false},
        {".cache", false}, {".conte.html", false}, {"sans-extension", false},
    };
    for (const Case &c : cases)
        writeFile(folder + QString::fromUtf8(c.name), "x");
    // The style sheet names its pictures and a font; it cannot make a
    // setting public.
    writeFile(folder + u"style.css"_s, "body { background: url(fond.jpg); }\r\n@font-face { src: url( \"police.woff2\" ); }\r\n"
                                       "p { background: url('entendu.ini'); }\r\n");
    QDir().mkpath(folder + u".vieux"_s);

    const publishing::StudentFiles found = publishing::listStudentFiles(folder);
    for (const Case &c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(found.files.contains(name), c.sent) << c.name;
        EXPECT_EQ(found.kept.contains(name), !c.sent) << c.name;
    }
    EXPECT_EQ(publishing::sourceFiles(folder), found.files);
    EXPECT_TRUE(publishing::sourceFiles(root.path() + u"/absent/"_s).isEmpty());

    // Whatever list the upload is given, no setting or backup goes up.
    RecordingClient client;
    publishing::uploadFiles(client, {folder, Target, root.path()}, {u"conte.html"_s, u"entendu.ini"_s, u"conte.html.bak"_s,
                                                                   u"adresse.txt"_s, u".cache"_s});
    ASSERT_EQ(client.sent.size(), 1);
    EXPECT_EQ(client.sent.first().first, Target + u"conte.html"_s);
}

TEST(SourceFiles, TheStyleSheetNamesPlainFilesOfTheFolderOnly)
{
    EXPECT_EQ(publishing::namedByStyleSheet("a{background:url(fond.jpg)} b{background:URL( \"b.png\" )}"
                                            "c{background:url('d.gif')} d{background:url(fond.jpg)}"),
              (QStringList{u"fond.jpg"_s, u"b.png"_s, u"d.gif"_s}));
    EXPECT_EQ(publishing::namedByStyleSheet("a{background:url(../../publication.ini)} b{background:url(/etc/passwd)}"
                                            "c{background:url(http://x.fr/a.png)} d{background:url(data:image/png;base64,AA)}"
                                            "e{background:url(..)} f{background:url(\"a\\b.png\")}"),
              QStringList());
}

TEST(SourceFiles, OnlyTheStudentsOwnRegularFilesAreSent)
{
    QTemporaryDir root;
    const QString working = root.path() + u"/Tessavo/"_s;
    const QString folder = working + u"PARIS_ECOLE_CM1/lecteurs/Dupont_Jean_x/"_s;
    writeFile(working + u"publication.ini"_s, "mot_de_passe=secret\n");
    writeFile(folder + u"conte.html"_s, "x");
    writeFile(folder + u"conte.html.qWeRtY"_s, "half a save");
    writeFile(folder + u"style.css.AbCd12"_s, "half a save");
    writeFile(folder + u"conte.html.old"_s, "the teacher's own copy");
    writeFile(folder + u"notes.qWeRtY"_s, "not a file of Tessavo");
    const QByteArray badName = QFile::encodeName(folder) + "caf\xe9.txt";
    const int fd = ::open(badName.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    ASSERT_EQ(symlink("../../../publication.ini", QFile::encodeName(folder + u"lien.txt"_s).constData()), 0);
    ASSERT_EQ(symlink("/etc", QFile::encodeName(folder + u"systeme"_s).constData()), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + u"tube"_s).constData(), 0644), 0);
    // A second name of publication.ini: its password would be published.
    ASSERT_EQ(::link(QFile::encodeName(working + u"publication.ini"_s).constData(),
                     QFile::encodeName(folder + u"copie.html"_s).constData()), 0);
    QDir().mkpath(folder + u"anciens"_s);

    const publishing::StudentFiles found = publishing::listStudentFiles(folder);
    EXPECT_EQ(asSet(found.files), (std::set<QString>{u"conte.html"_s}));
    EXPECT_EQ(asSet(found.kept), (std::set<QString>{u"conte.html.old"_s, u"notes.qWeRtY"_s}));
    EXPECT_EQ(asSet(found.links), (std::set<QString>{u"lien.txt"_s, u"systeme"_s, u"copie.html"_s}));
    EXPECT_EQ(found.unreadable, QStringList{u"caf\uFFFD.txt"_s});
    EXPECT_EQ(asSet(found.leftovers), (std::set<QString>{u"conte.html.qWeRtY"_s, u"style.css.AbCd12"_s}));
    EXPECT_EQ(publishing::sourceFiles(folder), found.files);

    publishing::removeLeftovers(folder, found.leftovers);
    EXPECT_FALSE(QFileInfo::exists(folder + u"conte.html.qWeRtY"_s));
    EXPECT_TRUE(QFileInfo::exists(folder + u"conte.html"_s));

    // A student folder that is a link is not the student's.
    ASSERT_EQ(symlink(QFile::encodeName(folder).constData(), QFile::encodeName(working + u"lie"_s).constData()), 0);
    EXPECT_TRUE(publishing::isLinkedFolder(working + u"lie/"_s));
    EXPECT_TRUE(publishing::isLinkedFolder(working + u"lie"_s));
    EXPECT_FALSE(publishing::isLinkedFolder(folder));
}

TEST(SourceFiles, AnInterruptedSaveIsRecognisedByItsSixLetters)
{
    for (const QString &name : {u"conte.html.qWeRtY"_s, u"_Tablematieres.txt.abcdef"_s, u"conte.jpg.AAAAAA"_s,
                                u"style.css.Zz09aB"_s, u"conte.html.sansaide.bak.QwErTy"_s, u"Le loup.HTML.html.abcdef"_s})
        EXPECT_TRUE(publishing::isInterruptedSave(name)) << name;
    for (const QString &name : {u"conte.html"_s, u"conte.html.old"_s, u"conte.html.abcdefg"_s, u"conte.html.abc-ef"_s,
                                u"notes.abcdef"_s, u".html.abcdef"_s, u"conte.html.bak"_s})
        EXPECT_FALSE(publishing::isInterruptedSave(name)) << name;
}

TEST(TableOfContents, AddressIsTheWebAddressAndTheRemoteFolderWithoutItsDots)
{
    struct Case
    {
        const char *name;
        QString webAddress;
        QString target;
        QString address;
    };
    const Case cases[] = {
        {"host name", u"www.tessavo.fr"_s, Target,
         u"http://www.tessavo.fr/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s},
        {"local host with a port", u"127.0.0.1:8080"_s, Target,
         u"http://127.0.0.1:8080/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s},
        {"web address with its scheme", u"https://eleves.example.org"_s, u"../Orvane_A_B_C/Zoe_Li_z@x.fr/"_s,
         u"https://eleves.example.org/Orvane_A_B_C/Zoe_Li_z@x.fr/_Tablematieres.html"_s},
        {"web address with its scheme in capitals and a slash", u"HTTP://www.tessavo.fr/"_s, Target,
         u"http://www.tessavo.fr/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s},
        {"host name and a slash", u"www.tessavo.fr/"_s, Target,
         u"http://www.tessavo.fr/Orvane_PARIS_ECOLE_CM1/Dupont_Jean_x/_Tablematieres.html"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString address = publishing::tableOfContentsAddress(c.webAddress, c.target);
        EXPECT_EQ(address, c.address) << visible(address);
        EXPECT_EQ(platform::browserAddress(address), c.address) << "opened as it is";
    }
    EXPECT_EQ(platform::browserAddress(u"file:///C:/Aide.htm"_s), u"file:///C:/Aide.htm"_s);
}

} // namespace
