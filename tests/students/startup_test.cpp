// The student screen starting on what a damaged disk or a long school life
// leaves in the working folder: an ecole.txt cut short, empty or filled with
// junk, and a class of ten thousand student folders.
#include "fakeplatform.h"
#include "students/Unit2.h"
#include "workingfolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <random>

using namespace Qt::StringLiterals;

namespace {

class Startup : public testing::Test
{
protected:
    void SetUp() override
    {
        RepertoireW.clear();
        NomClasse.clear();
    }

    void putEcole(const QByteArray &bytes) const
    {
        QFile file(folder.file(u"ecole.txt"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QStringList listed(const TForm2 &screen) const
    {
        QStringList items;
        for (int i = 0; i < screen.ListView1->count(); ++i)
            items.append(screen.ListView1->item(i)->text());
        return items;
    }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
};

QByteArray junk(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes;
    for (std::size_t i = 0; i < size; ++i)
        bytes.append(char(random() & 0xFF));
    return bytes;
}

} // namespace

TEST_F(Startup, AnEcoleFileCutShortOpensTheScreenOnWhatItHolds)
{
    struct Case { const char *name; QByteArray bytes; QString city, school, schoolClass; };
    const Case cases[] = {
        {"one line", "EVRY\r\n", u"EVRY"_s, QString(), QString()},
        {"two lines without an end", "EVRY\r\nJAURES", u"EVRY"_s, u"JAURES"_s, QString()},
        {"empty", "", QString(), QString(), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        putEcole(c.bytes);
        TForm2 screen;
        EXPECT_EQ(platform.messages.shown, QStringList());
        EXPECT_EQ(screen.Edit8->text(), c.city);
        EXPECT_EQ(screen.Edit9->text(), c.school);
        EXPECT_EQ(screen.Edit3->text(), c.schoolClass);
        EXPECT_EQ(listed(screen), QStringList());
    }
}

// Junk read as the three class lines: control characters, separators, "..",
// a megabyte line. The screen opens, lists nothing outside a students folder
// and never fails.
TEST_F(Startup, AnEcoleFileOfJunkNeverBreaksTheScreen)
{
    folder.makeFolder(u"outside/lecteurs/intruder"_s);
    const QByteArray cases[] = {
        junk(4096, 1),
        junk(4096, 2) + '\0' + "\r\n",
        QByteArray(1 << 20, 'x'),
        "..\r\n..\r\n..\r\n",
        "a/../../outside\r\n\r\n\r\n",
        QByteArray("\0\0\0\r\n\0\r\n\0", 10),
    };
    for (const QByteArray &bytes : cases) {
        putEcole(bytes);
        TForm2 screen;
        EXPECT_FALSE(listed(screen).contains(u"intruder"_s));
        EXPECT_TRUE(platform.messages.shown.isEmpty()) << platform.messages.shown.join(u'\n').toStdString();
        platform.messages.shown.clear();
    }
}

TEST_F(Startup, AnEcoleFileThatCannotBeReadIsReportedInFrench)
{
    folder.makeFolder(u"ecole.txt"_s);
    TForm2 screen;
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown.first().contains(u"ecole.txt"_s)) << platform.messages.shown.first().toStdString();
    EXPECT_EQ(listed(screen), QStringList());
}

TEST_F(Startup, TenThousandStudentsAreListedInUnderASecond)
{
    folder.writeText(u"ecole.txt"_s, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s});
    // Ten thousand folders take seconds to make on a slow disk: the class
    // folder is a link to a folder in memory when the host has one.
    QTemporaryDir memory(QDir(u"/dev/shm"_s).exists() ? u"/dev/shm/tessavo-XXXXXX"_s : QDir::tempPath() + u"/tessavo-XXXXXX"_s);
    ASSERT_TRUE(memory.isValid());
    ASSERT_TRUE(QFile::link(memory.path(), folder.file(u"EVRY_JAURES_CM1"_s)));
    const QString students = folder.file(u"EVRY_JAURES_CM1/lecteurs"_s);
    ASSERT_TRUE(QDir().mkpath(students));
    QStringList expected;
    for (int i = 0; i < 10000; ++i) {
        const QString name = u"Eleve%1_Prenom_e%1@ecole.fr"_s.arg(i, 5, 10, QChar(u'0'));
        ASSERT_TRUE(QDir(students).mkdir(name));
        expected.append(name);
    }
    TForm2 screen;
    EXPECT_EQ(listed(screen), expected);
    // Read again, the list holds each student once.
    screen.FormCreate();
    EXPECT_EQ(screen.ListView1->count(), 10000);
}
