#include "visible.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

TEST(WorkingPaths, AreReadFromTheCurrentDirectoryAtEachCall)
{
    const QString previous = QDir::currentPath();
    QTemporaryDir root;
    const QString first = root.path() + u"/École du Pré"_s;
    const QString second = root.path() + u"/autre"_s;
    QDir().mkpath(first);
    QDir().mkpath(second);

    QDir::setCurrent(first);
    EXPECT_EQ(workspace::workingFolder(), QDir::toNativeSeparators(first));
    QDir::setCurrent(second);
    EXPECT_EQ(workspace::workingFolder(), QDir::toNativeSeparators(second));
    QDir::setCurrent(previous);
}

TEST(WorkingPaths, KeepTheWorkingFolderAsItIsAndEndFoldersWithTheSeparator)
{
    const QString sep = workspace::separator();
    const QString working = QDir::toNativeSeparators(u"/home/maîtresse/Mes textes"_s);
    const QString name = workspace::classFolderName(u"EVRY"_s, u"JULES_FERRY"_s, u"CM1"_s);
    EXPECT_EQ(name, u"EVRY_JULES_FERRY_CM1"_s);
    EXPECT_EQ(workspace::templateFolderPath(working), working + sep + u"reserve"_s + sep);
    EXPECT_EQ(workspace::picturesFolderPath(working), working + sep + u"reserve"_s + sep + u"Cartes"_s);
    EXPECT_EQ(workspace::classFolderPath(working, name), working + sep + name + sep);
    EXPECT_EQ(workspace::studentsFolderPath(working, name), working + sep + name + sep + u"lecteurs"_s + sep);
}

TEST(WorkingPaths, FoldTheNamesOfAStudentButNotTheMail)
{
    EXPECT_EQ(workspace::studentFolderName(u"De La Fontaine"_s, u"Zoé"_s, u"zoé@école.fr"_s),
              u"De_La_Fontaine_Zoe_zoé@école.fr"_s);
    EXPECT_EQ(workspace::studentFolderName(QString(), u"Léa"_s, u"l@x.fr"_s), u"_Lea_l@x.fr"_s);
}

TEST(WorkingPaths, TheWaitingPageIsAFileAddressOfTheWorkingFolder)
{
    const QString working = QDir::toNativeSeparators(u"/srv/Mes Documents/Tessavo é"_s);
    const QUrl address = workspace::travauxAddress(working);
    EXPECT_TRUE(address.isLocalFile());
    EXPECT_EQ(QDir::toNativeSeparators(address.toLocalFile()), working + workspace::separator() + u"travaux.html"_s);
}

TEST(EcoleFile, ReadsThreeLinesIgnoringMoreAndMissingOnesAreEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"ecole.txt"_s);
    workspace::writeLines(path, {u"EVRY"_s, u"JAURES"_s, u"CM1"_s, u"surplus"_s});
    const workspace::SchoolClass full = workspace::readEcole(path);
    EXPECT_EQ(full.city, u"EVRY"_s);
    EXPECT_EQ(full.school, u"JAURES"_s);
    EXPECT_EQ(full.schoolClass, u"CM1"_s);

    workspace::writeLines(path, {u"EVRY"_s});
    EXPECT_EQ(workspace::readEcole(path).schoolClass, QString());

    workspace::writeEcole(path, {u"A"_s, u"B"_s, u"C"_s});
    EXPECT_EQ(workspace::readLines(path), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
}

} // namespace
