#include "import/savedocument.h"
#include "testfiles.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

class SaveNewDocument : public testing::Test
{
protected:
    SaveNewDocument()
    {
        folder = QDir::toNativeSeparators(m_dir.path()) + u"/eleve/"_s;
        QDir().mkpath(folder);
        writeFile(m_dir.path() + u"/Cartes/lune.jpg"_s, "JPEG lune");
        picture = import::takePicture(m_dir.path() + u"/Cartes/lune.jpg"_s, folder, m_dir.path() + u"/Cartes/"_s);
    }

    static QString templates() { return QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/"); }

    QTemporaryDir m_dir;
    QString folder;
    import::TakenPicture picture;
    const QStringList text{u"Le loup mange."_s, u"Il dort."_s};
};

TEST_F(SaveNewDocument, WritesTheDocumentItsTextItsLogoAndItsEntry)
{
    const import::DocumentNames names = import::documentNames(folder + u"conte"_s);
    int told = 0;
    const import::TableOfContents table =
        import::saveNewDocument(names, picture, text, folder, templates(), [&] { ++told; });

    EXPECT_EQ(told, 1);
    EXPECT_EQ(bytesOf(names.textPath), "Le loup mange.\r\nIl dort.\r\n");
    const QStringList document = workspace::readLines(names.documentPath);
    EXPECT_TRUE(document.contains(u"Le loup mange.<br>"_s));
    EXPECT_TRUE(document.contains(import::pictureLine(u"conte.jpg"_s)));
    EXPECT_EQ(bytesOf(names.picturePath), "JPEG lune") << "the logo is under the document's name";
    EXPECT_FALSE(QFileInfo::exists(picture.path)) << "a card is moved, not copied";
    EXPECT_EQ(table.list.last(), workspace::readLines(folder + u"_Tablematieres.txt"_s).last());
    EXPECT_TRUE(table.list.last().contains(u"conte"_s));
}

TEST_F(SaveNewDocument, AFailedTableLeavesTheDocumentWrittenAndSaysSo)
{
    // A folder where the table of contents' list should be: it cannot be written.
    QDir().mkpath(folder + u"_Tablematieres.txt"_s);
    const import::DocumentNames names = import::documentNames(folder + u"conte"_s);
    bool told = false;
    bool existedWhenTold = false;
    EXPECT_THROW(import::saveNewDocument(names, picture, text, folder, templates(),
                                         [&] {
                                             told = true;
                                             existedWhenTold = QFileInfo::exists(names.documentPath);
                                         }),
                 workspace::IoError);
    EXPECT_TRUE(told);
    EXPECT_TRUE(existedWhenTold);
}

} // namespace
