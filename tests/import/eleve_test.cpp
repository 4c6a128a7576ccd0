#include "import/eleve.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ImportIdentity, SplitsTheStudentFolderNameIntoTheShortFields)
{
    struct Case { const char *name; QString identity; QString nom, prenom, classe, mail; };
    const QString longSurname = u"Abcdefghijklmnopqrstuvwxyzabcdefghi"_s;
    const Case cases[] = {
        {"Plain", u"Dupont_Jean_jean@ecole.fr"_s, u"Dupont"_s, u"Jean"_s, u"jean@ecole.fr"_s, u"jean@ecole.fr"_s},
        {"SurnameCutTo30", longSurname + u"_Jean_j@x.fr"_s, longSurname.left(30), u"Jean"_s, u"j@x.fr"_s, u"j@x.fr"_s},
        {"MailWithoutAt", u"Dupont_Jean_jean.ecole.fr"_s, u"Dupont"_s, u"Jean"_s, u"jean.ecole.fr"_s, QString()},
        {"MailWithUnderscore", u"Dupont_Jean_jean_d@x.fr"_s, u"Dupont"_s, u"Jean"_s, u"jean"_s, u"d@x.fr"_s},
        {"SurnameWithUnderscore", u"De_La_Fontaine_z@x.fr"_s, u"De"_s, u"La"_s, u"Fontaine"_s, u"z@x.fr"_s},
        {"OutsideTheCodePage", u"Nowak_Łucja_l@x.fr"_s, u"Nowak"_s, u"?ucja"_s, u"l@x.fr"_s, u"l@x.fr"_s},
        {"Empty", QString(), QString(), QString(), QString(), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const import::TEleve eleve = import::splitIdentity(c.identity);
        EXPECT_EQ(eleve.nom, c.nom);
        EXPECT_EQ(eleve.prenom, c.prenom);
        EXPECT_EQ(eleve.classe, c.classe);
        EXPECT_EQ(eleve.mail, c.mail);
    }
}

} // namespace
