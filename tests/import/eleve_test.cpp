#include "import/eleve.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ImportIdentity, CutsTheRegisteredIdentityToTheShortFields)
{
    struct Case { const char *name; QString surname, firstName, mail; QString nom, prenom, shownMail; };
    const QString longSurname = u"Abcdefghijklmnopqrstuvwxyzabcdefghi"_s;
    const Case cases[] = {
        {"Plain", u"Dupont"_s, u"Jean"_s, u"jean@ecole.fr"_s, u"Dupont"_s, u"Jean"_s, u"jean@ecole.fr"_s},
        {"SurnameWithABlank", u"Le Goff"_s, u"Anne-Laure"_s, u"al@x.fr"_s, u"Le Goff"_s, u"Anne-Laure"_s, u"al@x.fr"_s},
        {"SurnameCutTo30", longSurname, u"Jean"_s, u"j@x.fr"_s, longSurname.left(30), u"Jean"_s, u"j@x.fr"_s},
        {"MailWithoutAt", u"Dupont"_s, u"Jean"_s, u"jean.ecole.fr"_s, u"Dupont"_s, u"Jean"_s, QString()},
        {"MailWithUnderscore", u"Dupont"_s, u"Jean"_s, u"jean_d@x.fr"_s, u"Dupont"_s, u"Jean"_s, u"jean_d@x.fr"_s},
        {"OutsideTheCodePage", u"Nowak"_s, u"Łucja"_s, u"l@x.fr"_s, u"Nowak"_s, u"?ucja"_s, u"l@x.fr"_s},
        {"Empty", QString(), QString(), QString(), QString(), QString(), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const import::TEleve eleve = import::shortFields(c.surname, c.firstName, c.mail);
        EXPECT_EQ(eleve.nom, c.nom);
        EXPECT_EQ(eleve.prenom, c.prenom);
        EXPECT_EQ(eleve.classe, QString());
        EXPECT_EQ(eleve.mail, c.shownMail);
    }
}

} // namespace
