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

TEST(StudentFolderName, TheRegisterSaysWhereTheSurnameEnds)
{
    QTemporaryDir dir;
    const QString students = dir.path() + u'/';
    QFile register_(students + u"ListeLecteurs.txt"_s);
    ASSERT_TRUE(register_.open(QIODevice::WriteOnly));
    register_.write("Dupont;Jean;CM1;j@x.fr\r\n"
                    "Le_Goff;Anne-Laure;CM1;al@x.fr\r\n"
                    "Martin;Lea_Rose;CM1;lr@x.fr\r\n"
                    "broken line\r\n"
                    "Da_Silva;Ana;CM1;old@x.fr\r\n"
                    "Da;Silva_Ana;CM1;old@x.fr\r\n"
                    "Le_Roux;Tom;CM1;t;r@x.fr\r\n");
    register_.close();

    struct Case { const char *name; QString folder; QString surname, firstName, mail; QString shown; };
    const Case cases[] = {
        {"a plain name", u"Dupont_Jean_j@x.fr"_s, u"Dupont"_s, u"Jean"_s, u"j@x.fr"_s, u"Dupont Jean"_s},
        {"a surname with a blank", u"Le_Goff_Anne-Laure_al@x.fr"_s, u"Le_Goff"_s, u"Anne-Laure"_s, u"al@x.fr"_s,
         u"Le Goff Anne-Laure"_s},
        {"a first name with a blank", u"Martin_Lea_Rose_lr@x.fr"_s, u"Martin"_s, u"Lea_Rose"_s, u"lr@x.fr"_s,
         u"Martin Lea Rose"_s},
        {"two lines for one folder: the newest", u"Da_Silva_Ana_old@x.fr"_s, u"Da"_s, u"Silva_Ana"_s,
         u"old@x.fr"_s, u"Da Silva Ana"_s},
        {"an e-mail holding \";\" after a surname with a blank", u"Le_Roux_Tom_t;r@x.fr"_s, u"Le_Roux"_s, u"Tom"_s,
         u"t;r@x.fr"_s, u"Le Roux Tom"_s},
        {"a folder the register does not name", u"De_La_Fontaine_z@x.fr"_s, u"De"_s, u"La"_s, u"Fontaine_z@x.fr"_s,
         u"De La"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const students::StudentIdentity identity = students::listedStudent(students, c.folder);
        EXPECT_EQ(identity.surname, c.surname);
        EXPECT_EQ(identity.firstName, c.firstName);
        EXPECT_EQ(identity.mail, c.mail);
        EXPECT_EQ(students::shownName(identity.surname) + u' ' + students::shownName(identity.firstName), c.shown);
        EXPECT_EQ(identity.surname + u'_' + identity.firstName + u'_' + identity.mail, c.folder)
            << "the parts make the folder's name again";
    }
    EXPECT_EQ(students::listedStudent(students + u"absent/"_s, u"Le_Goff_Anne_a@x.fr"_s).surname, u"Le"_s)
        << "no register: cut at the first two \"_\"";
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
