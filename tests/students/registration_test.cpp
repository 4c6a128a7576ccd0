// The rules of a registration: the checks in their order and the names it
// makes, on disk and on the publishing host.
#include "students/registration.h"
#include "students/selection.h"
#include "visible.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

students::Identity placeholders()
{
    return {u"Ville"_s, u"Ecole"_s, u"Classe"_s, u"Nom"_s, u"Prénom"_s, u"@"_s};
}

} // namespace

TEST(Registration, NamesTheFirstUnsafeFieldOfEachGroup)
{
    students::Identity fields{u"EVRY"_s, u"A/B"_s, u".."_s, u"Du\npont"_s, u"Jean"_s, u"j<@x"_s};
    EXPECT_TRUE(students::checkClassFields(fields).reason().contains(u"« Ecole »"_s));
    EXPECT_TRUE(students::checkStudentFields(fields).reason().contains(u"« Nom »"_s));
    fields.school = u"JAURES"_s;
    fields.surname = u"Dupont"_s;
    EXPECT_TRUE(students::checkClassFields(fields).reason().contains(u"« Classe »"_s));
    EXPECT_TRUE(students::checkStudentFields(fields).reason().contains(u"« Mail »"_s));
}

TEST(Registration, ChecksThePlaceholdersInTheirOrder)
{
    students::Identity fields = placeholders();
    const QString expected[] = {u"Entrez une Classe valide"_s, u"Entrez une Ville valide"_s,
                                u"Entrez une Ecole valide"_s, u"Entrez un Nom valide"_s,
                                u"Entrez un Prénom valide"_s};
    QString *filled[] = {&fields.schoolClass, &fields.city, &fields.school, &fields.surname, &fields.firstName};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(students::checkPlaceholders(fields).reason(), expected[i]);
        *filled[i] = QString();  // an empty field passes
    }
    EXPECT_TRUE(students::checkPlaceholders(fields).ok());
}

TEST(Registration, ChecksTheEmptyClassFieldsInTheirOrder)
{
    EXPECT_EQ(students::checkNewClass({}, {}, {}).reason(), u"Il faut mettre un nom de ville valide"_s);
    EXPECT_EQ(students::checkNewClass(u"V"_s, {}, {}).reason(), u"Il faut mettre un nom d'école valide"_s);
    EXPECT_EQ(students::checkNewClass(u"V"_s, u"E"_s, {}).reason(), u"Il faut mettre un nom de classe valide"_s);
    EXPECT_TRUE(students::checkNewClass(u"V"_s, u"E"_s, u"C"_s).ok());
    EXPECT_TRUE(students::isMissingMail(u"@"_s));
    EXPECT_TRUE(students::isMissingMail(QString()));
    EXPECT_FALSE(students::isMissingMail(u"@@"_s));
}

TEST(Registration, MakesTheClassAndStudentNames)
{
    struct Case { const char *name; QString typed, folded; };
    const Case classes[] = {
        {"lower case", u"cm1"_s, u"CM1"_s},
        {"accent typed in lower case", u"évry"_s, u"EVRY"_s},
        {"blank and ligature", u"cœur joie"_s, u"COEUR_JOIE"_s},
        {"letter that does not fold", u"straße"_s, u"STRAßE"_s},
    };
    for (const Case &c : classes) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(students::classFieldName(c.typed), c.folded);
        EXPECT_EQ(students::classFieldName(c.folded), c.folded);
    }

    const students::Identity fields{u"EVRY"_s, u"JAURES"_s, u"CM1"_s, u"Le Bœuf"_s, u"Zoé"_s, u"zoé@ecole.fr"_s};
    EXPECT_EQ(students::remoteStudentFolder(fields), u"../Orvane_EVRY_JAURES_CM1/Le_Boeuf_Zoe_zoe@ecole.fr/"_s);
    EXPECT_EQ(students::registerLine(fields), u"Le_Boeuf;Zoe;CM1;zoé@ecole.fr"_s);
}
