// Making sure a remote folder exists, level by level, on a real FTP server.
#include "ftpserver.h"
#include "platform/curlftpclient.h"
#include "publishing/forcedirectories.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// The real client, with each folder operation and its outcome written down.
class Recorder : public publishing::FtpClient
{
public:
    bool connected() const override { return real.connected(); }
    void disconnect() override { real.disconnect(); }
    void connect(const publishing::FtpLogin &login) override { real.connect(login); }
    void changeDir(const QString &path) override { record(u"CWD "_s + path, [&] { real.changeDir(path); }); }
    void makeDir(const QString &path) override { record(u"MKD "_s + path, [&] { real.makeDir(path); }); }
    void put(const QString &local, const QString &remote) override { real.put(local, remote); }

    platform::CurlFtpClient real;
    QStringList log;

private:
    void record(const QString &operation, const std::function<void()> &run)
    {
        try {
            run();
            log << operation;
        } catch (const publishing::FtpError &) {
            log << operation + u" refused"_s;
            throw;
        }
    }
};

const QString Student = u"../Orvane_A_B_C/Dupont_Jean_x@y.fr/"_s;

} // namespace

TEST(ForceFtpDirectories, MakesTheClassThenTheStudentOfANewClass)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    Recorder client;
    client.connect(server.login());
    publishing::ForceFtpDirectories(client, Student);
    EXPECT_EQ(client.log, (QStringList{u"CWD ../Orvane_A_B_C/Dupont_Jean_x@y.fr/ refused"_s, u"CWD ../"_s,
                                       u"CWD ../Orvane_A_B_C/ refused"_s, u"MKD ../Orvane_A_B_C/"_s,
                                       u"CWD ../Orvane_A_B_C/Dupont_Jean_x@y.fr/ refused"_s,
                                       u"MKD ../Orvane_A_B_C/Dupont_Jean_x@y.fr/"_s}));
    EXPECT_TRUE(QFileInfo(server.file(u"Orvane_A_B_C/Dupont_Jean_x@y.fr"_s)).isDir());
}

TEST(ForceFtpDirectories, EntersAnExistingClassAndMakesTheStudent)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QDir(server.root()).mkpath(u"Orvane_A_B_C/Martin_Lea_z"_s);
    Recorder client;
    client.connect(server.login());
    publishing::ForceFtpDirectories(client, Student);
    EXPECT_EQ(client.log, (QStringList{u"CWD ../Orvane_A_B_C/Dupont_Jean_x@y.fr/ refused"_s, u"CWD ../"_s,
                                       u"CWD ../Orvane_A_B_C/"_s,
                                       u"CWD ../Orvane_A_B_C/Dupont_Jean_x@y.fr/ refused"_s,
                                       u"MKD ../Orvane_A_B_C/Dupont_Jean_x@y.fr/"_s}));
    // "../" from inside the class folder names the same folders.
    EXPECT_TRUE(QFileInfo(server.file(u"Orvane_A_B_C/Dupont_Jean_x@y.fr"_s)).isDir());
    EXPECT_TRUE(QFileInfo(server.file(u"Orvane_A_B_C/Martin_Lea_z"_s)).isDir());
}

TEST(ForceFtpDirectories, EntersAnExistingStudentFolderAndMakesNothing)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    QDir(server.root()).mkpath(u"Orvane_A_B_C/Dupont_Jean_x@y.fr"_s);
    Recorder client;
    client.connect(server.login());
    publishing::ForceFtpDirectories(client, Student);
    EXPECT_EQ(client.log, QStringList{u"CWD ../Orvane_A_B_C/Dupont_Jean_x@y.fr/"_s});
}

TEST(ForceFtpDirectories, LetsAFolderTheServerRefusesReachTheCaller)
{
    fakes::FtpServer server({false, u"elr"_s});
    ASSERT_EQ(server.error(), QString());
    Recorder client;
    client.connect(server.login());
    try {
        publishing::ForceFtpDirectories(client, Student);
        ADD_FAILURE() << "no error";
    } catch (const publishing::FtpError &error) {
        EXPECT_TRUE(error.message().contains(u"../Orvane_A_B_C/"_s)) << error.what();
    }
    ASSERT_FALSE(client.log.isEmpty());
    EXPECT_EQ(client.log.last(), u"MKD ../Orvane_A_B_C/ refused"_s);
    EXPECT_FALSE(QFileInfo::exists(server.file(u"Orvane_A_B_C"_s)));
}

TEST(ForceFtpDirectories, ReachesAPathWithoutItsFinalSlash)
{
    fakes::FtpServer server;
    ASSERT_EQ(server.error(), QString());
    Recorder client;
    client.connect(server.login());
    publishing::ForceFtpDirectories(client, u"../Orvane_A_B_C"_s);
    EXPECT_TRUE(QFileInfo(server.file(u"Orvane_A_B_C"_s)).isDir());
}
