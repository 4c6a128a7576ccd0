// The pupil's discreet address: the code, the name the class page shows,
// adresse.txt, and the remote folder each way a pupil becomes the current one.
#include "students/classindex.h"
#include "students/publicaddress.h"
#include "testfiles.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const students::Identity Evry{u"EVRY"_s, u"JAURES"_s, u"CM1"_s, u"Le Bœuf"_s, u"Zoé"_s, u"zoe@x.fr"_s};

} // namespace

TEST(PublicAddress, ACodeIsRandomAndHoldsOnlyLettersThatAreNotConfused)
{
    QSet<QString> codes;
    for (int i = 0; i < 200; ++i) {
        const QString code = students::newAddressCode();
        ASSERT_TRUE(students::isAddressCode(code)) << code.toStdString();
        for (const QChar confused : u"01ilo"_s)
            EXPECT_FALSE(code.contains(confused)) << code.toStdString();
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), 200);
    for (const QString &notCode : {QString(), u"abc"_s, u"K7DQM3XA9PR2TB8WZ5HN"_s, u"k7dqm3xa9pr2tb8wz5h0"_s,
                                   u"k7dqm3xa9pr2tb8wz5hn/"_s, u"../dqm3xa9pr2tb8wz5h"_s})
        EXPECT_FALSE(students::isAddressCode(notCode)) << notCode.toStdString();
}

TEST(PublicAddress, TheClassPageShowsTheFirstNameAndTheSurnamesInitial)
{
    const struct
    {
        const char *name;
        QString firstName, surname, shown;
    } cases[] = {
        {"plain", u"Zoé"_s, u"Dupont"_s, u"Zoé D."_s},
        {"accented, lower case", u"Zoé"_s, u"éloi"_s, u"Zoé É."_s},
        {"two words", u"Anne-Laure"_s, u"le Goff"_s, u"Anne-Laure L."_s},
        {"blanks around", u" Zoé "_s, u"  Dupont"_s, u"Zoé D."_s},
        {"no surname", u"Zoé"_s, QString(), u"Zoé"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(students::classPageName(c.firstName, c.surname), c.shown);
    }
}

TEST(PublicAddress, ARegisteredPupilGetsACodeOnceAndKeepsIt)
{
    QTemporaryDir working;
    const QString studentFolder = working.filePath(u"Le_Boeuf_Zoe_zoe@x.fr/"_s);

    const students::RemoteFolderChoice first = students::registrationRemoteFolder(Evry, studentFolder, false);
    ASSERT_TRUE(first.newAddress.has_value());
    EXPECT_EQ(first.newAddress->shownName, u"Zoé L."_s);
    EXPECT_EQ(first.remoteFolder, u"../Orvane_EVRY_JAURES_CM1/"_s + first.newAddress->code + u'/');
    EXPECT_FALSE(first.remoteFolder.contains(u"Boeuf"_s) || first.remoteFolder.contains(u"zoe"_s));

    QDir().mkpath(studentFolder);
    students::writePublicAddress(studentFolder, *first.newAddress);
    EXPECT_EQ(bytesOf(studentFolder + u"adresse.txt"_s), (first.newAddress->code + u"\r\nZo\u00e9 L.\r\n"_s).toLatin1());
    const students::RemoteFolderChoice again = students::registrationRemoteFolder(Evry, studentFolder, false);
    EXPECT_EQ(again.remoteFolder, first.remoteFolder);
    EXPECT_FALSE(again.newAddress.has_value());
    EXPECT_EQ(students::listedRemoteFolder(Evry, {u"Le_Boeuf"_s, u"Zoe"_s, u"zoe@x.fr"_s}, studentFolder, false),
              first.remoteFolder);
}

TEST(PublicAddress, NamedAddressesKeepTheNamedFolder)
{
    QTemporaryDir working;
    const QString named = u"../Orvane_EVRY_JAURES_CM1/Le_Boeuf_Zoe_zoe@x.fr/"_s;
    const QString studentFolder = working.filePath(u"Le_Boeuf_Zoe_zoe@x.fr/"_s);
    // adresses=noms, for a new pupil as for one with a code.
    EXPECT_EQ(students::registrationRemoteFolder(Evry, studentFolder, true).remoteFolder, named);
    QDir().mkpath(studentFolder);
    // A pupil registered before the codes keeps the address published.
    EXPECT_EQ(students::registrationRemoteFolder(Evry, studentFolder, false).remoteFolder, named);
    students::writePublicAddress(studentFolder, {students::newAddressCode(), u"Zoé L."_s});
    EXPECT_EQ(students::listedRemoteFolder(Evry, {u"Le_Boeuf"_s, u"Zoe"_s, u"zoe@x.fr"_s}, studentFolder, true), named);

    const struct
    {
        const char *name;
        QByteArray ini;
        bool named;
    } settings[] = {
        {"noms", "[publication]\r\nadresses=noms\r\n", true},
        {"upper case, blanks", "[publication]\r\nadresses = Noms \r\n", true},
        {"absent", "[publication]\r\nhote=x\r\n", false},
        {"another value", "[publication]\r\nadresses=nom\r\n", false},
        {"another group", "[autre]\r\nadresses=noms\r\n", false},
    };
    for (const auto &c : settings) {
        SCOPED_TRACE(c.name);
        workspace::writeBytes(working.filePath(u"publication.ini"_s), c.ini);
        EXPECT_EQ(students::namedAddresses(working.path()), c.named);
    }
    QFile::remove(working.filePath(u"publication.ini"_s));
    EXPECT_FALSE(students::namedAddresses(working.path()));
}

TEST(PublicAddress, ADamagedAddressFileIsRefusedNotPublishedUnderTheName)
{
    QTemporaryDir working;
    const QString studentFolder = working.path() + u'/';
    for (const QByteArray &damaged : {QByteArray(), QByteArray("\r\n"), QByteArray("Le_Boeuf_Zoe\r\nZo\xe9 L.\r\n")}) {
        workspace::writeBytes(studentFolder + u"adresse.txt"_s, damaged);
        EXPECT_THROW(students::readPublicAddress(studentFolder), workspace::IoError) << damaged.toStdString();
        EXPECT_THROW(students::registrationRemoteFolder(Evry, studentFolder, false), workspace::IoError);
    }
}

TEST(ClassIndex, DiscreetPupilsAreListedByShownNameAndLinkedByCode)
{
    QTemporaryDir working;
    const QString studentsFolder = working.path() + u'/';
    const QString code = students::newAddressCode();
    QDir().mkpath(studentsFolder + u"Dupont_Jean_j@x.fr"_s);
    QDir().mkpath(studentsFolder + u"Le_Boeuf_Zoe_zoe@x.fr"_s);
    students::writePublicAddress(studentsFolder + u"Le_Boeuf_Zoe_zoe@x.fr/"_s, {code, u"Zoé L."_s});
    const QStringList listed{u"Dupont_Jean_j@x.fr"_s, u"Le_Boeuf_Zoe_zoe@x.fr"_s};

    const QStringList links = students::classIndexLinks(u"h:8000"_s, u"A"_s, u"B"_s, u"C"_s,
                                                        students::listedEntries(studentsFolder, listed, false));
    EXPECT_EQ(links, (QStringList{
                         u"<a href=\"http://h:8000/Orvane_A_B_C/Dupont_Jean_j@x.fr/_Tablematieres.html\">Dupont_Jean_j@x.fr</a><br>"_s,
                         u"<a href=\"http://h:8000/Orvane_A_B_C/"_s + code + u"/_Tablematieres.html\">Zoé L.</a><br>"_s}))
        << "a pupil published under the name before keeps that address";
    EXPECT_EQ(students::classIndexLinks(u"h:8000"_s, u"A"_s, u"B"_s, u"C"_s,
                                        students::listedEntries(studentsFolder, listed, true))
                  .last(),
              u"<a href=\"http://h:8000/Orvane_A_B_C/Le_Boeuf_Zoe_zoe@x.fr/_Tablematieres.html\">Le_Boeuf_Zoe_zoe@x.fr</a><br>"_s);
}
