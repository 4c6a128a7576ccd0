// Publishing only what changed, against real hosts: the program's own FTP
// server (pyftpdlib, MLSD), Debian's vsftpd with FTPS forced (LIST only) and
// OpenSSH's SFTP. The host's folder must end as a full publication leaves it.
#include "ftpserver.h"
#include "platform/curlftpclient.h"
#include "publishedfolder.h"
#include "publishing/changedfiles.h"
#include "localhost/connexion.h"
#include "publishing/diffusion.h"
#include "publishing/forcedirectories.h"
#include "publishing/settings.h"
#include "sshd.h"
#include "testfiles.h"
#include "visible.h"
#include "vsftpd.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

using fakes::contents;
using fakes::studentFolder;

const QString &Target = fakes::StudentTarget;
const QString &Published = fakes::StudentPublished;

TEST(Listings, MlsdKeepsRegularFilesWithSizeAndModifyTime)
{
    const QList<publishing::RemoteFile> files = publishing::parseMlsd(
        "type=cdir;perm=el;modify=20261211072500; .\r\n"
        "type=pdir;modify=20261211072500; ..\r\n"
        "type=file;size=1234;modify=20261211072501;perm=radfw; conte.html\r\n"
        "Type=File;Size=0;Modify=20261211072502; un nom; avec espaces.txt\r\n"
        "type=dir;modify=20261211072500; anciens\r\n"
        "type=OS.unix=symlink;size=9; lien\r\n"
        "type=file;modify=20261211072500; sans-taille\r\n"
        "n'importe quoi\r\n");
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].name, u"conte.html"_s);
    EXPECT_EQ(files[0].size, 1234);
    EXPECT_EQ(files[0].stamp, u"20261211072501"_s);
    EXPECT_EQ(files[1].name, u"un nom; avec espaces.txt"_s);
    EXPECT_EQ(files[1].size, 0);
}

TEST(Listings, ListKeepsRegularFilesInUnixAndDosForms)
{
    const QList<publishing::RemoteFile> files = publishing::parseList(
        "total 12\r\n"
        "drwxr-xr-x    2 1000     1000         4096 Dec 11 07:25 anciens\r\n"
        "-rw-r--r--    1 1000     1000         1234 Dec 11 07:25 conte.html\r\n"
        "-rw-r--r--    1 ecole    ecole          12 Jan  3  2025 vieux texte.txt\r\n"
        "lrwxrwxrwx    1 1000     1000            9 Dec 11 07:25 lien -> conte.html\n"
        "12-11-26  07:25AM                 5678 fond.jpg\r\n"
        "12-11-26  07:25AM       <DIR>          images\r\n");
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(files[0].name, u"conte.html"_s);
    EXPECT_EQ(files[0].size, 1234);
    EXPECT_EQ(files[0].stamp, u"Dec 11 07:25"_s);
    EXPECT_EQ(files[1].name, u"vieux texte.txt"_s);
    EXPECT_EQ(files[1].stamp, u"Jan 3 2025"_s);
    EXPECT_EQ(files[2].name, u"fond.jpg"_s);
    EXPECT_EQ(files[2].size, 5678);
}

TEST(Listings, EntriesShowFoldersAndLinksAsSuchAndHiddenFilesToo)
{
    using Kind = publishing::RemoteEntry::Kind;
    const QList<publishing::RemoteEntry> entries = publishing::parseEntries(
        "total 12\r\n"
        "drwxr-xr-x    2 1000     1000         4096 Dec 11 07:25 .\r\n"
        "drwxr-xr-x    2 1000     1000         4096 Dec 11 07:25 ..\r\n"
        "drwxr-xr-x    2 1000     1000         4096 Dec 11 07:25 K7WQ\r\n"
        "-rw-r--r--    1 ecole    ecole          12 Jan  3  2025 vieux texte.txt\r\n"
        "-rw-------    1 1000     1000            1 Dec 11 07:25 .cache\r\n"
        "lrwxrwxrwx    1 1000     1000            9 Dec 11 07:25 lien -> ../../etc\n"
        "lrwxrwxrwx    1 0        0               9 Dec 11 07:25 sans cible\n"
        "12-11-26  07:25AM                 5678 fond.jpg\r\n"
        "12-11-26  07:25AM       <DIR>          images\r\n"
        "n'importe quoi\r\n");
    const QList<publishing::RemoteEntry> expected = {
        {u"K7WQ"_s, Kind::Folder}, {u"vieux texte.txt"_s, Kind::File}, {u".cache"_s, Kind::File},
        {u"lien"_s, Kind::Link},   {u"sans cible"_s, Kind::Link},      {u"fond.jpg"_s, Kind::File},
        {u"images"_s, Kind::Folder},
    };
    EXPECT_EQ(entries, expected);
}

TEST(SentRecord, IsReadBackAndAnythingElseMeansNoRecord)
{
    QTemporaryDir working;
    const QString identity = u"ftp://classe@ftp.ecole.fr:21"_s;
    const QString path = publishing::sentRecordPath(working.path(), identity);
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(u"publication-envois-"_s));
    EXPECT_NE(path, publishing::sentRecordPath(working.path(), u"ftp://classe@ftp.ecole.fr:2121"_s));

    publishing::SentFiles sent;
    sent[Target].insert(u"conte.html"_s, {12, QByteArray(32, 'a'), u"20261211072500"_s, u"12.1.2.3.4"_s});
    sent[Target].insert(u"été.txt"_s, {0, QByteArray(32, 'b'), QString(), QString()});
    publishing::writeSentRecord(path, identity, sent);
    const std::optional<publishing::SentFiles> read = publishing::readSentRecord(path, identity);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->value(Target).value(u"conte.html"_s).stamp, u"20261211072500"_s);
    EXPECT_EQ(read->value(Target).value(u"conte.html"_s).local, u"12.1.2.3.4"_s);
    EXPECT_EQ(read->value(Target).value(u"été.txt"_s).sha256, QByteArray(32, 'b'));
    EXPECT_FALSE(publishing::readSentRecord(path, u"ftp://autre@ftp.ecole.fr:21"_s));

    const QByteArray whole = bytesOf(path);
    const struct
    {
        const char *what;
        QByteArray bytes;
    } damaged[] = {
        {"cut in the middle of a line", whole.left(whole.size() - 10)},
        {"a field missing", QByteArray(whole).replace("\t20261211072500", "")},
        {"a short digest", QByteArray(whole).replace(QByteArray(32, 'a').toHex(), "abcd")},
        {"a size that is no number", QByteArray(whole).replace("\t12\t", "\tdouze\t")},
        {"another format", QByteArray(whole).replace("tessavo-envois 1", "tessavo-envois 2")},
        {"not UTF-8", QByteArray(whole).replace("conte", "c\xffnte")},
        {"empty", QByteArray()},
    };
    for (const auto &row : damaged) {
        writeFile(path, row.bytes);
        EXPECT_FALSE(publishing::readSentRecord(path, identity)) << row.what;
    }
    QFile::remove(path);
    EXPECT_FALSE(publishing::readSentRecord(path, identity));
    // A link is never read, whatever it points at.
    const QString elsewhere = working.filePath(u"ailleurs.txt"_s);
    writeFile(elsewhere, whole);
    ASSERT_TRUE(QFile::link(elsewhere, path));
    EXPECT_FALSE(publishing::readSentRecord(path, identity));
}

enum class Kind { Own, Vsftpd, Sftp };

// One of the three hosts, as the tests need it.
struct Host
{
    explicit Host(Kind kind)
    {
        switch (kind) {
        case Kind::Own:
            own = std::make_unique<fakes::FtpServer>();
            break;
        case Kind::Vsftpd:
            vsftpd = std::make_unique<fakes::Vsftpd>();
            break;
        case Kind::Sftp:
            sshd = std::make_unique<fakes::Sshd>();
            break;
        }
    }
    QString cannotRun() const { return vsftpd ? vsftpd->cannotRun() : sshd ? sshd->cannotRun() : QString(); }
    QString error() const { return own ? own->error() : vsftpd ? vsftpd->error() : sshd->error(); }
    QString file(const QString &relative) const
    {
        return own ? own->file(relative) : vsftpd ? vsftpd->file(relative) : sshd->file(relative);
    }
    void writePublicationIni(const QString &folder) const
    {
        if (own)
            own->writePublicationIni(folder);
        else if (vsftpd)
            vsftpd->writePublicationIni(folder);
        else
            sshd->writePublicationIni(folder);
    }

    std::unique_ptr<fakes::FtpServer> own;
    std::unique_ptr<fakes::Vsftpd> vsftpd;
    std::unique_ptr<fakes::Sshd> sshd;
};

struct Publication
{
    QStringList sent;   // in the order they went up
    int unchanged = -1; // as the progress window is told
};

// A publication as the screens make it: the remote folders made, then the
// connection of publication.ini and the changed files on it.
Publication publish(const QString &working, const QString &source, bool everything = false)
{
    Publication done;
    platform::CurlFtpClient client;
    const workspace::Result<void> connected = localhost::ConnexionFTP(client, working);
    EXPECT_TRUE(connected) << (connected ? std::string() : connected.reason().toStdString());
    if (!connected)
        return done;
    publishing::ForceFtpDirectories(client, Target);
    client.disconnect();
    EXPECT_TRUE(localhost::ConnexionFTP(client, working));
    publishing::UploadWatch watch;
    watch.fileStarted = [&](const publishing::UploadStep &step) { done.sent.append(step.name); };
    watch.unchangedFound = [&](int count) { done.unchanged = count; };
    const QString identity = publishing::hostIdentity(publishing::readPublicationSettings(working).login());
    const publishing::UploadResult result = publishing::uploadChangedFiles(
        client, {source, Target, working}, publishing::sourceFiles(source), identity, everything, watch);
    client.disconnect();
    EXPECT_EQ(result.published, done.sent.size());
    EXPECT_EQ(result.unchanged, done.unchanged);
    return done;
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

// Sets the file's time an hour back, as another program's write at another
// moment leaves it.
void touchEarlier(const QString &path)
{
    namespace fs = std::filesystem;
    const fs::path file(path.toStdString());
    fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(1));
}

class ChangedFiles : public testing::TestWithParam<Kind>
{
protected:
    void SetUp() override
    {
        host = std::make_unique<Host>(GetParam());
        if (!host->cannotRun().isEmpty())
            GTEST_SKIP() << host->cannotRun().toStdString();
        ASSERT_EQ(host->error(), QString());
        host->writePublicationIni(working.path());
        source = studentFolder(working);
    }

    QString remote(const QString &name = {}) const { return host->file(Published + name); }
    // The host's folder holds the student folder as it is now, byte for byte.
    void expectWhole() const { fakes::expectPublishedWhole(remote(), contents(source)); }
    QString recordPath() const
    {
        return publishing::sentRecordPath(
            working.path(), publishing::hostIdentity(publishing::readPublicationSettings(working.path()).login()));
    }

    QTemporaryDir working;
    std::unique_ptr<Host> host;
    QString source;
};

TEST_P(ChangedFiles, SendsWhatChangedHereOrOnTheHostAndLeavesTheFolderAsAFullPublication)
{
    const QStringList all = publishing::sourceFiles(source);
    Publication first = publish(working.path(), source);
    EXPECT_EQ(first.sent, all) << "no record yet: everything, in the folder's order";
    EXPECT_EQ(first.unchanged, 0);
    expectWhole();
    EXPECT_TRUE(QFileInfo(recordPath()).isFile());
    EXPECT_FALSE(QFileInfo::exists(source + QFileInfo(recordPath()).fileName()));

    Publication again = publish(working.path(), source);
    EXPECT_EQ(again.sent, QStringList());
    EXPECT_EQ(again.unchanged, all.size());
    expectWhole();

    // A correction that changes the size, another that keeps it, and even
    // its time of last write.
    writeFile(source + u"conte.html"_s, "<html>\r\n<!--DEBUT-->\r\nIl \xe9tait deux fois<br>\r\n<!--FIN-->\r\n");
    {
        namespace fs = std::filesystem;
        const fs::path style((source + u"style.css"_s).toStdString());
        const fs::file_time_type written = fs::last_write_time(style);
        writeFile(source + u"style.css"_s, "body { font-size: 32px; }\r\n");
        fs::last_write_time(style, written);
    }
    Publication corrected = publish(working.path(), source);
    EXPECT_EQ(sorted(corrected.sent), QStringList({u"conte.html"_s, u"style.css"_s}));
    EXPECT_EQ(corrected.unchanged, all.size() - 2);
    expectWhole();

    // On the host: a file deleted, one cut short, one rewritten at the same
    // size at another moment.
    ASSERT_TRUE(QFile::remove(remote(u"conte.txt"_s)));
    writeFile(remote(u"fond.jpg"_s), "abc");
    QByteArray picture = bytesOf(remote(u"conte.jpg"_s));
    picture[100] = char(picture[100] ^ 0x55);
    writeFile(remote(u"conte.jpg"_s), picture);
    touchEarlier(remote(u"conte.jpg"_s));
    Publication repaired = publish(working.path(), source);
    EXPECT_EQ(sorted(repaired.sent), QStringList({u"conte.jpg"_s, u"conte.txt"_s, u"fond.jpg"_s}));
    expectWhole();

    // "Tout republier"
    Publication everything = publish(working.path(), source, true);
    EXPECT_EQ(everything.sent, all);
    EXPECT_EQ(everything.unchanged, 0);
    expectWhole();
}

TEST_P(ChangedFiles, AMissingOrDamagedRecordMeansAFullPublication)
{
    const QStringList all = publishing::sourceFiles(source);
    publish(working.path(), source);
    ASSERT_TRUE(QFile::remove(recordPath()));
    EXPECT_EQ(publish(working.path(), source).sent, all);

    const QByteArray record = bytesOf(recordPath());
    writeFile(recordPath(), record.left(record.size() / 2));
    EXPECT_EQ(publish(working.path(), source).sent, all);
    // Written whole again: the next one leaves everything out.
    EXPECT_EQ(publish(working.path(), source).sent, QStringList());
    expectWhole();
}

TEST_P(ChangedFiles, TwoWorkingFoldersOnOneHostKeepTheirOwnRecords)
{
    // A second working folder publishing the same student folder, with
    // another text of its own.
    QTemporaryDir other;
    host->writePublicationIni(other.path());
    const QString otherSource = studentFolder(other);
    writeFile(otherSource + u"conte.html"_s, "<html>une autre version, plus longue</html>\r\n");

    publish(working.path(), source);
    EXPECT_EQ(publish(other.path(), otherSource).sent, publishing::sourceFiles(otherSource))
        << "the second folder has no record of its own: it sends everything";
    fakes::expectPublishedWhole(remote(), contents(otherSource));
    EXPECT_EQ(publish(other.path(), otherSource).sent, QStringList());

    // The first folder sent its own conte.html, which the host no longer
    // holds. (The other files the second folder wrote again, with the same
    // bytes, go again too when the host gives them another time than the
    // one recorded: a listing cannot tell the same bytes written later.)
    EXPECT_TRUE(publish(working.path(), source).sent.contains(u"conte.html"_s));
    expectWhole();
}

INSTANTIATE_TEST_SUITE_P(Hosts, ChangedFiles, testing::Values(Kind::Own, Kind::Vsftpd, Kind::Sftp),
                         [](const testing::TestParamInfo<Kind> &info) {
                             return info.param == Kind::Own ? "OwnFtp" : info.param == Kind::Vsftpd ? "Vsftpd" : "Sftp";
                         });

// One working folder, two hosts: each host has its record, and what went to
// one says nothing of the other.
TEST(ChangedFilesTwoHosts, EachHostHasItsOwnRecord)
{
    QTemporaryDir working;
    const QString source = studentFolder(working);
    const QStringList all = publishing::sourceFiles(source);
    fakes::FtpServer first;
    fakes::FtpServer second;
    ASSERT_EQ(first.error(), QString());
    ASSERT_EQ(second.error(), QString());

    first.writePublicationIni(working.path());
    EXPECT_EQ(publish(working.path(), source).sent, all);
    second.writePublicationIni(working.path());
    EXPECT_EQ(publish(working.path(), source).sent, all);
    first.writePublicationIni(working.path());
    EXPECT_EQ(publish(working.path(), source).sent, QStringList());
    fakes::expectPublishedWhole(second.file(Published), contents(source));
}

} // namespace
