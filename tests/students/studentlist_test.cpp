#include "students/selection.h"
#include "students/studentlist.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

TEST(StudentFolderName, SplitsAtTheFirstTwoUnderscores)
{
    struct Case { const char *name; QString folder; QString surname, firstName, mail; };
    const Case cases[] = {
        {"Plain", u"Dupont_Jean_jean@ecole.fr"_s, u"Dupont"_s, u"Jean"_s, u"jean@ecole.fr"_s},
        {"SurnameWithBlanks", u"De_La_Fontaine_Zoe_z@x.fr"_s, u"De"_s, u"La"_s, u"Fontaine_Zoe_z@x.fr"_s},
        {"NoUnderscore", u"solo"_s, QString(), QString(), u"solo"_s},
        {"OneUnderscore", u"a_b"_s, u"a"_s, QString(), u"b"_s},
        {"EmptySurname", u"_Lea_l@x.fr"_s, QString(), u"Lea"_s, u"l@x.fr"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const students::StudentIdentity identity = students::splitStudentFolderName(c.folder);
        EXPECT_EQ(identity.surname, c.surname);
        EXPECT_EQ(identity.firstName, c.firstName);
        EXPECT_EQ(identity.mail, c.mail);
    }
}

TEST(StudentFolderName, TheRemoteFolderJoinsThePartsAgain)
{
    const auto identity = students::splitStudentFolderName(u"De_La_Fontaine_Zoe_z@x.fr"_s);
    EXPECT_EQ(students::remoteStudentFolder({u"EVRY"_s, u"JAURES"_s, u"CM1"_s, {}, {}, {}}, identity),
              u"../Orvane_EVRY_JAURES_CM1/De_La_Fontaine_Zoe_z@x.fr/"_s);
}

TEST(StudentList, ListsTheSubFoldersByNameAndNothingElse)
{
    QTemporaryDir dir;
    QDir root(dir.path());
    for (const QString &name : {u"martin_Léa_l@x.fr"_s, u"Dupont_Jean_j@x.fr"_s, u"Bernard_Ali_a@x.fr"_s})
        root.mkdir(name);
    QFile register_(root.filePath(u"ListeLecteurs.txt"_s));
    ASSERT_TRUE(register_.open(QIODevice::WriteOnly));
    register_.close();

    EXPECT_EQ(students::studentFolderNames(dir.path()),
              (QStringList{u"Bernard_Ali_a@x.fr"_s, u"Dupont_Jean_j@x.fr"_s, u"martin_Léa_l@x.fr"_s}));
    EXPECT_TRUE(students::studentFolderNames(dir.path() + u"/absent"_s).isEmpty());
    EXPECT_TRUE(students::studentFolderNames(QString()).isEmpty()) << "no class: no folder to list";
}

} // namespace
