// A pupil removed: the archive's place, the register without the pupil, and
// a folder that is a link removed without following it.
#include "students/removal.h"
#include "testfiles.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

TEST(Removal, AnArchivedFolderNeverReplacesAnEarlierOne)
{
    QTemporaryDir working;
    const QString students = working.filePath(u"EVRY_JAURES_CM1/lecteurs/"_s);
    for (int round = 1; round <= 3; ++round) {
        QDir().mkpath(students + u"Le_Boeuf_Zoe_x"_s);
        workspace::writeLines(students + u"Le_Boeuf_Zoe_x/conte.txt"_s, {QString::number(round)});
        const QString kept = students::archiveStudentFolder(working.path(), u"EVRY_JAURES_CM1"_s, students + u"Le_Boeuf_Zoe_x/"_s);
        EXPECT_EQ(kept, working.filePath(u"archives/EVRY_JAURES_CM1/Le_Boeuf_Zoe_x"_s)
                            + (round == 1 ? QString() : u'_' + QString::number(round)));
        EXPECT_EQ(workspace::readLines(kept + u"/conte.txt"_s), QStringList{QString::number(round)});
        EXPECT_FALSE(QFileInfo::exists(students + u"Le_Boeuf_Zoe_x"_s));
    }
}

TEST(Removal, TheRegisterLosesThePupilsLinesOnly)
{
    QTemporaryDir working;
    const QString students = working.path() + u'/';
    const QByteArray before = "Le_Goff;Anne;CM1;a@x.fr\r\n# une note\r\nLe_Goff_Anne;x;CM1;y\r\nLe_Goff;Anne;CM1;a@x.fr\r\n";
    workspace::writeBytes(students + u"ListeLecteurs.txt"_s, before);
    students::removeFromRegister(students, u"Le_Goff_Anne_a@x.fr"_s);
    EXPECT_EQ(bytesOf(students + u"ListeLecteurs.txt"_s), QByteArray("# une note\r\nLe_Goff_Anne;x;CM1;y\r\n"));
    students::removeFromRegister(students, u"Nobody_x_y"_s);
    EXPECT_EQ(bytesOf(students + u"ListeLecteurs.txt"_s), QByteArray("# une note\r\nLe_Goff_Anne;x;CM1;y\r\n"));
}

TEST(Removal, AStudentFolderThatIsALinkIsRemovedWithoutFollowingIt)
{
    QTemporaryDir working;
    const QString other = working.filePath(u"autre"_s);
    QDir().mkpath(other);
    workspace::writeLines(other + u"/conte.txt"_s, {u"à garder"_s});
    ASSERT_TRUE(QFile::link(other, working.filePath(u"Le_Boeuf_Zoe_x"_s)));
    students::deleteStudentFolder(working.filePath(u"Le_Boeuf_Zoe_x/"_s));
    EXPECT_FALSE(QFileInfo(working.filePath(u"Le_Boeuf_Zoe_x"_s)).isSymLink());
    EXPECT_TRUE(QFileInfo(other + u"/conte.txt"_s).isFile());
}
