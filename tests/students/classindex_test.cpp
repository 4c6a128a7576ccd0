// The class index page: its link lines, byte for byte, and the page.
#include "students/classindex.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {


} // namespace

TEST(ClassIndex, PutsTheNewStudentFirstThenTheListedOnes)
{
    const QStringList links = students::classIndexLinks(
        u"127.0.0.1:8000"_s, u"EVRY"_s, u"JAURES"_s, u"CM1"_s, u"Hélène"_s, u"Zoé"_s, u"h@x.fr"_s,
        {u"Dupont_Jean_j@x.fr"_s, u"Martin_Lea_lé@x.fr"_s});
    const QStringList expected{
        u"<a href=\"http://127.0.0.1:8000/Orvane_EVRY_JAURES_CM1/Helene_Zoe_h@x.fr/_Tablematieres.html\">Hélène_Zoé_h@x.fr</a><br>"_s,
        u"<a href=\"http://127.0.0.1:8000/Orvane_EVRY_JAURES_CM1/Dupont_Jean_j@x.fr/_Tablematieres.html\">Dupont_Jean_j@x.fr</a><br>"_s,
        // A listed folder keeps its name in the target, e-mail part unfolded.
        u"<a href=\"http://127.0.0.1:8000/Orvane_EVRY_JAURES_CM1/Martin_Lea_lé@x.fr/_Tablematieres.html\">Martin_Lea_lé@x.fr</a><br>"_s,
    };
    ASSERT_EQ(links.size(), expected.size());
    for (qsizetype i = 0; i < links.size(); ++i)
        EXPECT_EQ(links[i], expected[i]) << visible(links[i]);
}

TEST(ClassIndex, LinksThroughTheWebAddressWithOneSchemeAndNoDoubleSlash)
{
    struct Case
    {
        const char *name;
        QString webAddress;
        QString link;
    };
    const Case cases[] = {
        {"host alone", u"www.monecole.fr"_s,
         u"<a href=\"http://www.monecole.fr/Orvane_A_B_C/Zoe_Li_z/_Tablematieres.html\">Zoe_Li_z</a><br>"_s},
        {"with http", u"http://www.monecole.fr"_s,
         u"<a href=\"http://www.monecole.fr/Orvane_A_B_C/Zoe_Li_z/_Tablematieres.html\">Zoe_Li_z</a><br>"_s},
        {"with https in capitals and a slash", u"HTTPS://www.monecole.fr/"_s,
         u"<a href=\"https://www.monecole.fr/Orvane_A_B_C/Zoe_Li_z/_Tablematieres.html\">Zoe_Li_z</a><br>"_s},
        {"host and a slash", u"www.monecole.fr/"_s,
         u"<a href=\"http://www.monecole.fr/Orvane_A_B_C/Zoe_Li_z/_Tablematieres.html\">Zoe_Li_z</a><br>"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString link = students::classIndexLink(c.webAddress, u"A"_s, u"B"_s, u"C"_s, u"Zoe_Li_z"_s, u"Zoe_Li_z"_s);
        EXPECT_EQ(link, c.link) << visible(link);
    }
}

TEST(ClassIndex, WritesTheTemplatesAroundTheLinks)
{
    QTemporaryDir folder;
    const QString templates = folder.filePath(u"reserve/"_s);
    const QString classFolder = folder.filePath(u"classe/"_s);
    QDir().mkpath(templates);
    QDir().mkpath(classFolder);
    QFile(templates + u"Indexdeb.txt"_s).open(QIODevice::WriteOnly);  // empty: one empty line
    workspace::writeLines(templates + u"Indexfin.txt"_s, {u"</body>"_s});

    students::writeClassIndex(templates, classFolder, {u"<a>é</a><br>"_s});
    EXPECT_EQ(bytesOf(classFolder + u"index.html"_s), QByteArray("\r\n<a>\xE9</a><br>\r\n</body>\r\n"));

    // A missing closing template leaves the earlier page whole.
    QFile::remove(templates + u"Indexfin.txt"_s);
    EXPECT_ANY_THROW(students::writeClassIndex(templates, classFolder, {u"autre"_s}));
    EXPECT_EQ(bytesOf(classFolder + u"index.html"_s), QByteArray("\r\n<a>\xE9</a><br>\r\n</body>\r\n"));
}

TEST(ClassIndex, PublishesThePageInTheFoldedRemoteClassFolder)
{
    EXPECT_EQ(students::remoteClassIndexPath(u"EVRY"_s, u"JAURES"_s, u"CM1"_s),
              u"../Orvane_EVRY_JAURES_CM1/index.html"_s);
    EXPECT_EQ(students::remoteClassIndexPath(u"SAINT ETIENNE"_s, u"A"_s, u"B"_s),
              u"../Orvane_SAINT_ETIENNE_A_B/index.html"_s);
}
