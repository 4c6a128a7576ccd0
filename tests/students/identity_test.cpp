// What an identity field may hold: the cleaning of a paste and the characters
// refused, for every path that makes names of the fields.
#include "publishing/remotepaths.h"
#include "students/identity.h"
#include "students/registration.h"
#include "students/selection.h"
#include "students/studentlist.h"
#include "visible.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(IdentityFields, AreCleanedOfWhatAPasteBrings)
{
    struct Case { const char *name; QString typed, cleaned; };
    const Case cases[] = {
        {"blanks at either end", u"  Dupont "_s, u"Dupont"_s},
        {"trailing blank of a mail", u"j@x.fr "_s, u"j@x.fr"_s},
        {"no-break space inside", u"Saint\u00A0Denis"_s, u"Saint Denis"_s},
        {"thin and narrow spaces", u"CM\u2009A\u202FB\u2007C\u200AD"_s, u"CM A B C D"_s},
        {"no-break space at the end", u"CM1\u00A0"_s, u"CM1"_s},
        {"zero-width space", u"CM1\u200B"_s, u"CM1"_s},
        {"joiners and byte order mark", u"\uFEFFZo\u200Ce\u200D"_s, u"Zoe"_s},
        {"soft hyphen", u"Jean\u00ADPaul"_s, u"JeanPaul"_s},
        {"non-breaking hyphen", u"Saint\u2011Denis"_s, u"Saint-Denis"_s},
        {"hyphen", u"Saint\u2010Denis"_s, u"Saint-Denis"_s},
        {"a name that needs nothing", u"O'Neil"_s, u"O'Neil"_s},
        {"blanks only", u" \u00A0\u200B "_s, QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(visible(students::cleanField(c.typed)), visible(c.cleaned));
    }
    const students::Identity cleaned = students::cleanIdentity(
        {u" évry"_s, u"jaurès\u00A0"_s, u"cm1\u200B"_s, u"Le\u00A0Bœuf"_s, u"Zoé "_s, u"zoe@x.fr "_s});
    EXPECT_EQ(cleaned.city, u"évry"_s);
    EXPECT_EQ(cleaned.school, u"jaurès"_s);
    EXPECT_EQ(cleaned.schoolClass, u"cm1"_s);
    EXPECT_EQ(cleaned.surname, u"Le Bœuf"_s);
    EXPECT_EQ(cleaned.firstName, u"Zoé"_s);
    EXPECT_EQ(cleaned.mail, u"zoe@x.fr"_s);
}

TEST(IdentityFields, RefuseACharacterTheFilesOrTheLinksCannotHoldNamingIt)
{
    struct Case { const char *name; QString value; QString shown; };
    const Case cases[] = {
        {"Polish L", u"Łódź"_s, u"« Ł » (U+0141)"_s},
        {"dotted capital I", u"İzmir"_s, u"« İ » (U+0130)"_s},
        {"s with comma", u"Iași"_s, u"« ș » (U+0219)"_s},
        {"c with caron", u"Čakovec"_s, u"« Č » (U+010C)"_s},
        {"g with breve", u"Çağlar"_s, u"« ğ » (U+011F)"_s},
        {"Cyrillic a that looks Latin", u"P\u0430ris"_s, u"« а » (U+0430)"_s},
        {"left-to-right mark", u"CM1\u200E"_s, u"un caractère invisible (U+200E)"_s},
        {"emoji", u"Zoé😀"_s, u"« 😀 » (U+1F600)"_s},
        {"hash", u"Exercice#2"_s, u"« # »"_s},
        {"percent", u"100%"_s, u"« % »"_s},
        {"question mark", u"Qui?"_s, u"« ? »"_s},
        {"slash", u"a/b"_s, u"« / »"_s},
        {"backslash", u"a\\b"_s, u"« \\ »"_s},
        {"colon", u"a:b"_s, u"« : »"_s},
        {"quote", u"a\"b"_s, u"« \" »"_s},
        {"line feed", u"a\nDELE x"_s, u"un retour à la ligne (U+000A)"_s},
        {"tab", u"a\tb"_s, u"une tabulation (U+0009)"_s},
        {"nul", QString(QChar(0)), u"un caractère invisible (U+0000)"_s},
        {"undefined byte of the code page", u"a\u0081"_s, u"un caractère invisible (U+0081)"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QString> message = students::unsafeFieldMessage(u"Ville"_s, c.value);
        ASSERT_TRUE(message);
        EXPECT_TRUE(message->startsWith(u"Le champ « Ville » contient "_s + c.shown)) << visible(*message);
    }
    for (const QString &dots : {u"."_s, u".."_s})
        EXPECT_EQ(students::unsafeFieldMessage(u"Nom"_s, dots), u"Le champ « Nom » ne peut pas être « . » ni « .. » : corrigez-le."_s);
}

// A folder's name longer than a disk or the host lets it be is refused before
// anything is written, naming the longest field; names at the limit pass.
TEST(IdentityFields, RefuseNamesTooLongForAFolderBeforeAnythingIsWritten)
{
    const students::Identity plain = {u"Paris"_s, u"Jaures"_s, u"CM1"_s, u"Dupont"_s, u"Jean"_s, u"j@x.fr"_s};
    struct Case { const char *name; students::Identity fields; QString refusal; };
    const auto with = [&](auto change) {
        students::Identity fields = plain;
        change(fields);
        return fields;
    };
    const Case cases[] = {
        {"Surname of 300 characters", with([](auto &f) { f.surname = QString(300, u'a'); }),
         u"Le champ « Nom » est trop long : le nom du dossier de l'élève"_s},
        {"Three fields that fit alone", with([](auto &f) { f.surname = f.firstName = QString(130, u'b'); }),
         u"Le champ « Nom » est trop long"_s},
        {"Accents take two bytes on the disk", with([](auto &f) { f.mail = QString(130, u'\u00DF') + u"@x.fr"_s; }),
         u"Le champ « Mail » est trop long"_s},
        {"Long school", with([](auto &f) { f.school = QString(250, u'E'); }),
         u"Le champ « Ecole » est trop long : le nom du dossier de la classe"_s},
        {"Fine", plain, QString()},
        {"Student folder at the limit", with([](auto &f) { f.surname = QString(255 - 12, u'a'); }), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<QString> refused = students::unsafeClassMessage(c.fields);
        if (!refused)
            refused = students::unsafeStudentMessage(c.fields);
        EXPECT_EQ(refused.value_or(QString()).left(c.refusal.size()), c.refusal) << visible(refused.value_or(QString()));
        EXPECT_EQ(refused.has_value(), !c.refusal.isEmpty());
    }
    EXPECT_EQ(students::pathTooLongMessage(u"/home/prof/Tessavo"_s, plain), std::nullopt);
    const std::optional<QString> deep = students::pathTooLongMessage(u"/home/"_s + QString(3900, u'd'), plain);
    ASSERT_TRUE(deep);
    EXPECT_TRUE(deep->endsWith(u"Démarrez Tessavo dans un dossier moins profond."_s));
}

TEST(IdentityFields, KeepTheNamesThatWorkToday)
{
    for (const QString &value : {QString(), u"Évry"_s, u"6ème"_s, u"Straße"_s, u"Zoë"_s, u"O'Neil"_s, u"Jean-Paul"_s,
                                 u"De La Fontaine"_s, u"x.y@ecole.fr"_s, u"..."_s, u".a"_s, u"Bœuf Éloïse"_s,
                                 u"l'été & co"_s, u"€uro"_s, u"Žofia"_s}) {
        SCOPED_TRACE(visible(value));
        EXPECT_EQ(students::unsafeFieldMessage(u"Nom"_s, value), std::nullopt);
    }
}

TEST(IdentityFields, AClassChangeIsAnyOfTheThreeClassFieldsChanged)
{
    const workspace::SchoolClass paris{u"PARIS"_s, u"ECOLE"_s, u"CM1"_s};
    struct Case { const char *name; workspace::SchoolClass inUse; QString city, school, schoolClass; bool change; };
    const Case cases[] = {
        {"the same class", paris, u"PARIS"_s, u"ECOLE"_s, u"CM1"_s, false},
        {"another city, the same class name", paris, u"LYON"_s, u"ECOLE"_s, u"CM1"_s, true},
        {"another school", paris, u"PARIS"_s, u"JAURES"_s, u"CM1"_s, true},
        {"another class", paris, u"PARIS"_s, u"ECOLE"_s, u"CM2"_s, true},
        {"the same, typed with accents and in lower case", {u"EVRY"_s, u"JAURES"_s, u"6EME"_s}, u"évry"_s,
         u"jaurès"_s, u"6ème"_s, false},
        {"a class file written with an accent", {u"éVRY"_s, u"ECOLE"_s, u"CM1"_s}, u"EVRY"_s, u"ECOLE"_s, u"CM1"_s,
         false},
        {"no class in use", {}, u"LYON"_s, u"ECOLE"_s, u"CM1"_s, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const students::Identity typed{c.city, c.school, c.schoolClass, u"Nom"_s, u"Prénom"_s, u"@"_s};
        EXPECT_EQ(students::isClassChange(typed, c.inUse), c.change);
    }
}

TEST(RemotePaths, AStudentFolderIsOneHomeForRegistrationAndTheList)
{
    const students::Identity registered{u"EVRY"_s, u"JAURES"_s, u"CM1"_s, u"Le Bœuf"_s, u"Zoé"_s, u"zoe@x.fr"_s};
    const QString path = students::remoteStudentFolder(registered);
    EXPECT_EQ(path, u"../Orvane_EVRY_JAURES_CM1/Le_Boeuf_Zoe_zoe@x.fr/"_s);
    EXPECT_EQ(students::remoteStudentFolder({u"EVRY"_s, u"JAURES"_s, u"CM1"_s, {}, {}, {}},
                                            students::splitStudentFolderName(u"Le_Boeuf_Zoe_zoe@x.fr"_s)),
              path);
}

TEST(RemotePaths, APlainPathHoldsNoDotsSeparatorOrControl)
{
    struct Case { const char *name; QString path; bool plain; };
    const Case cases[] = {
        {"class and student", u"../Orvane_A_B_C/Dupont_Jean_x/"_s, true},
        {"dots inside a name", u"../Orvane_A_B_C/J..P_x/"_s, true},
        {"a name that climbs", u"../Orvane_X/../../Y_B_C/D_J_x/"_s, false},
        {"a name that is a dot", u"../Orvane_A_B_C/./"_s, false},
        {"a backslash", u"../Orvane_A_B_C/a\\b_J_x/"_s, false},
        {"a line feed", u"../Orvane_A_B_C/a\nDELE_J_x/"_s, false},
        {"an empty name", u"../Orvane_A_B_C//x/"_s, false},
        {"no leading dots", u"Orvane_A_B_C/x/"_s, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(publishing::isPlainRemotePath(c.path), c.plain) << visible(c.path);
    }
}

} // namespace
