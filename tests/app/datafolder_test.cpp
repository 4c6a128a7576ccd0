#include "app/datafolder.h"
#include "testfiles.h"
#include "workspace/ioerror.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QTemporaryDir>

#include <csignal>
#include <map>
#include <optional>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

using Tree = std::map<QString, QByteArray>;

// Every file under a folder, hidden ones included, by its path relative to
// it. Links are followed, as a copy follows them.
Tree treeOf(const QString &folder)
{
    Tree tree;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        const QString path = it.next();
        tree[QDir(folder).relativeFilePath(path)] = bytesOf(path);
    }
    return tree;
}

// Writes the files of a tree; a name that ends with "/" is an empty folder.
void writeTree(const QString &folder, const Tree &tree)
{
    for (const auto &[relative, bytes] : tree) {
        if (relative.endsWith(u'/'))
            QDir().mkpath(folder + u'/' + relative);
        else
            writeFile(folder + u'/' + relative, bytes);
    }
}

// An installed tree of the program, unpacked under a root of its own, with
// data that differs from the repository's.
const Tree InstalledData = {
    {u"reserve/style.css"_s, "body { }\r\n"},
    {u"reserve/entete.html"_s, "<html><!--DEBUT-->\r\n"},
    {u"reserve/Cartes/chat.jpg"_s, "\xFF\xD8 chat"},
    {u"reserve/Cartes/lune.jpg"_s, "\xFF\xD8 lune"},
    {u"travaux.html"_s, "<p>Travail en cours (installé)</p>\r\n"},
    {u"A_lire_une_Fois.htm"_s, "<p>Aide (installée)</p>\r\n"},
};

class InstalledTree : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        QDir().mkpath(bin);
        writeTree(root.filePath(u"usr/share/tessavo"_s), InstalledData);
    }

    QTemporaryDir root;
    const QString bin = root.filePath(u"usr/bin"_s);
    const QString working = root.filePath(u"home/maîtresse/Tessavo"_s);
};

TEST(DataFolder, IsFoundBesideTheExecutablesFolder)
{
    const struct
    {
        const char *name;
        QString executableFolder;
        QString data;
    } cases[] = {
        {"installed", u"/usr/bin"_s, u"/usr/share/tessavo"_s},
        {"installed elsewhere", u"/opt/école/usr/bin"_s, u"/opt/école/usr/share/tessavo"_s},
        {"a trailing separator", u"/usr/local/bin/"_s, u"/usr/local/share/tessavo"_s},
        {"the build tree", u"/home/dev/tessavo/build/src/app"_s, u"/home/dev/tessavo/build/src/share/tessavo"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(app::dataFolder(c.executableFolder), c.data);
    }
}

TEST_F(InstalledTree, AFreshWorkingFolderGetsTheTreesOwnDataAndNothingFromTheRepository)
{
    const QStringList written = app::prepareWorkingFolder(app::dataFolder(bin), working);

    EXPECT_EQ(written, (QStringList{u"reserve"_s, u"travaux.html"_s, u"A_lire_une_Fois.htm"_s}));
    EXPECT_EQ(treeOf(working), treeOf(root.filePath(u"usr/share/tessavo"_s)));
    EXPECT_EQ(bytesOf(working + u"/travaux.html"_s), "<p>Travail en cours (installé)</p>\r\n");
    // The copies are the teacher's to change, whatever the rights of the data.
    QFile::setPermissions(root.filePath(u"usr/share/tessavo/travaux.html"_s), QFile::ReadOwner);
    QFile::remove(working + u"/travaux.html"_s);
    app::prepareWorkingFolder(app::dataFolder(bin), working);
    EXPECT_EQ(QFileInfo(working + u"/travaux.html"_s).permissions() & 0x7777, QFile::Permissions(0x6644));
    EXPECT_EQ(QFileInfo(working + u"/reserve/Cartes"_s).permissions() & 0x7777, QFile::Permissions(0x7755));
}

TEST_F(InstalledTree, WithoutItsDataTheTreeLooksNowhereElse)
{
    QDir(root.filePath(u"usr/share"_s)).removeRecursively();
    try {
        app::prepareWorkingFolder(app::dataFolder(bin), working);
        FAIL() << "no failure";
    } catch (const workspace::IoError &error) {
        EXPECT_EQ(error.path(), root.filePath(u"usr/share/tessavo/reserve"_s));
        EXPECT_TRUE(error.message().contains(u"Installez Tessavo à nouveau."_s));
    }
    // The folder is made, and nothing is put in it.
    EXPECT_TRUE(QFileInfo(working).isDir());
    EXPECT_TRUE(treeOf(working).empty());
}

// Whatever the teacher's folder holds under a name of the data stays as it
// is, even where it is not what the data has there.
TEST_F(InstalledTree, WhatTheWorkingFolderHoldsIsNeverTouched)
{
    const struct
    {
        const char *name;
        Tree teachers;
        QStringList written;
    } cases[] = {
        {"a full folder, its pictures used up and its pages changed",
         {{u"reserve/style.css"_s, "body { font-size: 20px }\r\n"},
          {u"reserve/Cartes/"_s, {}},
          {u"travaux.html"_s, "<p>à moi</p>"},
          {u"A_lire_une_Fois.htm"_s, "<p>mon aide</p>"},
          {u"ecole.txt"_s, "EVRY\r\nJAURES\r\nCM1\r\n"}},
         {}},
        {"the help page missing", {{u"reserve/"_s, {}}, {u"travaux.html"_s, "<p>à moi</p>"}}, {u"A_lire_une_Fois.htm"_s}},
        {"the templates missing, the class there",
         {{u"EVRY_JAURES_CM1/lecteurs/ListeLecteurs.txt"_s, "Dupont;Jean;CM1;j@e.fr\r\n"}},
         {u"reserve"_s, u"travaux.html"_s, u"A_lire_une_Fois.htm"_s}},
        {"files where the data has folders and the other way round",
         {{u"reserve"_s, "pas un dossier"}, {u"travaux.html/"_s, {}}, {u"A_lire_une_Fois.htm/x"_s, "y"}},
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(working).removeRecursively();
        writeTree(working, c.teachers);
        const QStringList written = app::prepareWorkingFolder(app::dataFolder(bin), working);

        EXPECT_EQ(written, c.written);
        Tree expected;
        for (const auto &[relative, bytes] : c.teachers)
            if (!relative.endsWith(u'/'))
                expected[relative] = bytes;
        for (const QString &name : written)
            for (const auto &[relative, bytes] : InstalledData)
                if (relative == name || relative.startsWith(name + u'/'))
                    expected[relative] = bytes;
        EXPECT_EQ(treeOf(working), expected);
    }
}

// Links inside the installed templates are neither followed nor copied: a
// loop would recurse forever, and one to a file would copy what it points to.
TEST_F(InstalledTree, LinksInsideTheTemplatesAreNeitherFollowedNorCopied)
{
    const QString reserve = root.filePath(u"usr/share/tessavo/reserve"_s);
    ASSERT_TRUE(QFile::link(reserve, reserve + u"/Cartes/boucle"_s));
    ASSERT_TRUE(QFile::link(reserve + u"/style.css"_s, reserve + u"/lien.css"_s));

    app::prepareWorkingFolder(app::dataFolder(bin), working);

    for (const QString &name : {u"/reserve/Cartes/boucle"_s, u"/reserve/lien.css"_s}) {
        const QFileInfo copy(working + name);
        EXPECT_FALSE(copy.exists() || copy.isSymLink()) << name.toStdString();
    }
    EXPECT_EQ(bytesOf(working + u"/reserve/Cartes/chat.jpg"_s), "\xFF\xD8 chat");
}

TEST_F(InstalledTree, ADanglingLinkIsTheTeachersToo)
{
    QDir().mkpath(working);
    ASSERT_TRUE(QFile::link(u"/nonexistent/aide.htm"_s, working + u"/A_lire_une_Fois.htm"_s));
    EXPECT_EQ(app::prepareWorkingFolder(app::dataFolder(bin), working),
              (QStringList{u"reserve"_s, u"travaux.html"_s}));
    EXPECT_EQ(QFileInfo(working + u"/A_lire_une_Fois.htm"_s).symLinkTarget(), u"/nonexistent/aide.htm"_s);
}

// A copy that fails half way (a full disk) leaves no half folder of
// templates, which would be taken for a full one at the next start.
TEST_F(InstalledTree, AFailedCopyOfTheTemplatesLeavesNothingBehind)
{
    writeFile(root.filePath(u"usr/share/tessavo/reserve/Cartes/zz.jpg"_s), QByteArray(256 * 1024, 'x'));
    // Files may not grow past 64 KiB, for any user: the last picture fails.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const rlimit small{64 * 1024, previous.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::optional<workspace::IoError> failure;
    try {
        app::prepareWorkingFolder(app::dataFolder(bin), working);
    } catch (const workspace::IoError &error) {
        failure = error;
    }
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path(), working + u"/reserve"_s);
    EXPECT_EQ(failure->message(), u"Le dossier « %1 » ne peut pas être créé."_s.arg(working + u"/reserve"_s));
    EXPECT_TRUE(QDir(working).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

TEST(WorkingFolder, IsTheOneGivenAFolderOfTemplatesOrTessavoInTheHomeFolder)
{
    QTemporaryDir root;
    const QString home = root.filePath(u"home/léa"_s);
    const QString prepared = root.filePath(u"Mes textes"_s);
    QDir().mkpath(prepared + u"/reserve"_s);
    writeFile(home + u"/reserve"_s, "un fichier, pas des modèles");

    const struct
    {
        const char *name;
        QString given;
        QString current;
        QString chosen;
    } cases[] = {
        {"the menu's start, in the home folder", {}, home, home + u"/Tessavo"_s},
        {"a folder of templates", {}, prepared, prepared},
        {"another folder", {}, root.path(), home + u"/Tessavo"_s},
        {"a folder given", u"/srv/école"_s, prepared, u"/srv/école"_s},
        {"a folder given, relative", u"../../Mes textes/CM1"_s, home, prepared + u"/CM1"_s},
        {"the current folder given", u"."_s, home, home},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(app::chooseWorkingFolder(c.given, c.current, home), c.chosen);
    }
}

#ifdef TESSAVO_PROGRAM_DIR
// The program built here finds the repository's data as an installed one
// finds its own.
TEST(DataFolder, TheBuildTreesProgramFindsTheRepositorysData)
{
    const QString data = app::dataFolder(QStringLiteral(TESSAVO_PROGRAM_DIR));
    for (const QLatin1StringView name : app::DataEntries) {
        SCOPED_TRACE(name.data());
        EXPECT_EQ(QFileInfo(data + u'/' + name).canonicalFilePath(),
                  QFileInfo(QStringLiteral(TESSAVO_SOURCE_DIR) + u'/' + name).canonicalFilePath());
    }
}
#endif

} // namespace
