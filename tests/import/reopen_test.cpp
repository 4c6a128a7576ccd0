#include "import/readingdocument.h"
#include "import/reopen.h"
#include "import/tableofcontents.h"
#include "layout/aidcommands.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A student folder holding three documents saved in turn, "a", "conte" and
// "b", from the shipped templates, each with its logo.
class Reopen : public testing::Test
{
protected:
    Reopen()
    {
        folder = QDir::toNativeSeparators(m_dir.path()) + QDir::separator();
        for (const QString &name : {u"a"_s, u"conte"_s, u"b"_s})
            save(name, {u"Le loup de "_s + name + u"."_s, u"Il mange\u00A0!"_s});
    }

    void save(const QString &name, const QStringList &text)
    {
        const import::DocumentNames names = import::documentNames(folder + name);
        writeFile(names.picturePath, "JPEG " + name.toUtf8());
        import::writeDocument(names, text, folder, templates());
        import::writeTable(folder, names.documentName, names.pictureName);
    }

    static QString templates() { return QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/"); }

    // Every file of the folder with its bytes.
    QMap<QString, QByteArray> files() const
    {
        QMap<QString, QByteArray> all;
        for (const QString &name : QDir(folder).entryList(QDir::Files))
            all.insert(name, bytesOf(folder + name));
        return all;
    }

    QTemporaryDir m_dir;
    QString folder;
};

TEST_F(Reopen, RecognisesTheStudentsDocumentsAndTheirTextCopiesOnly)
{
    const QTemporaryDir other;
    const QString elsewhere = other.path() + u"/conte.html"_s;
    QFile::copy(folder + u"conte.html"_s, elsewhere);
    QDir(folder).mkdir(u"vieux"_s);
    QFile::copy(folder + u"conte.html"_s, folder + u"vieux/conte.html"_s);
    QFile::copy(folder + u"conte.html"_s, folder + u"TexteAlire_copie.html"_s);
    QFile::copy(folder + u"conte.html"_s, folder + u"conte.html.bak"_s);
    writeFile(folder + u"notes.txt"_s, "Des notes.\r\n");
    writeFile(folder + u"page.html"_s, "<html><body><p>Une page.</p></body></html>\r\n");
    writeFile(folder + u"page.txt"_s, "Une page.\r\n");
    writeFile(folder + u"marques.html"_s, "<!--FIN-->\r\n<!--DEBUT-->\r\n<img>\r\n");

    struct Case { const char *name; QString chosen; bool recognised; };
    const Case cases[] = {
        {"Document", folder + u"conte.html"_s, true},
        {"TextCopy", folder + u"conte.txt"_s, true},
        {"DocumentOfAnotherFolder", elsewhere, false},
        {"DocumentOfASubfolder", folder + u"vieux/conte.html"_s, false},
        {"TableOfContents", folder + u"_Tablematieres.html"_s, false},
        {"Header", folder + u"entete.html"_s, false},
        {"WorkingCopy", folder + u"TexteAlire_copie.html"_s, false},
        {"Backup", folder + u"conte.html.bak"_s, false},
        {"TextWithoutDocument", folder + u"notes.txt"_s, false},
        {"PageWithoutMarkers", folder + u"page.html"_s, false},
        {"TextBesideAPageWithoutMarkers", folder + u"page.txt"_s, false},
        {"MarkersInTheWrongOrder", folder + u"marques.html"_s, false},
        {"Missing", folder + u"absent.html"_s, false},
        {"Picture", folder + u"conte.jpg"_s, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<import::DocumentNames> names = import::studentDocument(c.chosen, folder);
        EXPECT_EQ(names.has_value(), c.recognised);
        if (names) {
            EXPECT_EQ(names->documentPath, folder + u"conte.html"_s);
        }
    }
}

TEST_F(Reopen, GivesTheTypedTextTitleAndPicture)
{
    const import::ReopenedDocument reopened = import::reopenDocument(*import::studentDocument(folder + u"conte.txt"_s, folder));
    EXPECT_EQ(reopened.text, (QStringList{u"Le loup de conte."_s, u"Il mange\u00A0!"_s}));
    EXPECT_EQ(reopened.names.documentName, u"conte.html"_s);
    EXPECT_EQ(reopened.names.pictureName, u"conte.jpg"_s);

    // Without its text copy, the document's body.
    QFile::remove(folder + u"conte.txt"_s);
    EXPECT_EQ(import::reopenDocument(reopened.names).text, reopened.text);
}

TEST_F(Reopen, SavedAgainInPlaceWithTheSameLogo)
{
    const QMap<QString, QByteArray> before = files();
    const import::DocumentNames names = *import::studentDocument(folder + u"conte.html"_s, folder);
    const QStringList corrected = {u"Le loup du conte."_s, u"Il mange\u00A0!"_s};
    import::saveAgain(names, corrected, folder, templates());

    QMap<QString, QByteArray> after = files();
    EXPECT_EQ(after.take(u"conte.txt"_s), workspace::encodeLines(corrected));
    const QStringList document = workspace::readLines(folder + u"conte.html"_s);
    EXPECT_TRUE(document.contains(u"Le loup du conte.<br>"_s));
    EXPECT_TRUE(document.contains(u"<img src=\"conte.jpg\"  width=\"70\" height= \"70\">"_s));
    EXPECT_FALSE(document.contains(u"Le loup de conte.<br>"_s));
    after.remove(u"conte.html"_s);
    QMap<QString, QByteArray> unchanged = before;
    unchanged.remove(u"conte.txt"_s);
    unchanged.remove(u"conte.html"_s);
    // The picture, the list of pictures and the table of contents (its order
    // included) are as they were.
    EXPECT_EQ(after, unchanged);

    // The list for the screen: newest first, with the logos.
    const QList<import::StudentDocument> listed = import::studentDocuments(folder);
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed[0].title, u"b.html"_s);
    EXPECT_EQ(listed[1].title, u"conte.html"_s);
    EXPECT_EQ(listed[1].documentPath, folder + u"conte.html"_s);
    EXPECT_EQ(listed[1].picturePath, folder + u"conte.jpg"_s);
    EXPECT_EQ(listed[2].title, u"a.html"_s);
}

TEST(TableInPlace, KeepsTheEntryWhereItIsAndAddsOneItLacks)
{
    const QString a = import::tableEntry(u"a.html"_s, u"a.jpg"_s);
    const QString b = import::tableEntry(u"b.html"_s, u"b.jpg"_s);
    const QString la = import::tableEntry(u"la.html"_s, u"la.jpg"_s);
    const QString newA = import::tableEntry(u"a.html"_s, u"a (2).jpg"_s);
    const auto kept = [](const QStringList &earlier, const QString &name, const QString &entry) {
        return import::rebuildTable(earlier, name, entry, {u"<h>"_s}, {u"</h>"_s}, import::EntryPlace::Kept);
    };
    const import::TableOfContents inPlace = kept({a, la, b}, u"a.html"_s, newA);
    EXPECT_EQ(inPlace.list, (QStringList{newA, la, b}));
    EXPECT_EQ(inPlace.page, (QStringList{u"<h>"_s, b, QString(), la, newA, u"</h>"_s}));
    EXPECT_EQ(kept({a, b, a}, u"a.html"_s, newA).list, (QStringList{newA, b}));
    EXPECT_EQ(kept({la, b}, u"a.html"_s, a).list, (QStringList{la, b, a}));
    // A save moves the entry to the newest place, as before.
    EXPECT_EQ(import::rebuildTable({a, la, b}, u"a.html"_s, newA, {}, {}).list, (QStringList{la, b, newA}));
}

TEST_F(Reopen, ADocumentCarryingAnAidIsSavedWithoutItAndTheAidGivesTheCorrectedText)
{
    // The layout screen put syllables in colours on the document, and wrote
    // the backups of the teacher's text.
    QFile::copy(templates() + u"style.css"_s, folder + u"style.css"_s);
    layout::Css css = layout::loadCss(folder);
    const layout::WorkingCopies files{folder, folder + u"conte.html"_s};
    const QByteArray oldPlain = bytesOf(files.document);
    workspace::writeLines(files.bak(), workspace::readLines(files.document));
    QStringList documentLines = workspace::readLines(files.document);
    layout::AidBoxes boxes = layout::clickAidBox(layout::AidBox::SyllablesInColours, {}, css, files, documentLines).boxes;
    ASSERT_TRUE(layout::carriesAid(workspace::readLines(files.document)));
    ASSERT_TRUE(QFile::exists(files.own()));
    // The highlight changes the document's own head, which a save again keeps.
    layout::changeHighlight(true, files, documentLines);
    const QStringList untransformed = layout::untransformedLines(files);
    const QStringList head = untransformed.first(untransformed.indexOf(u"<!--DEBUT-->"_s) + 1);
    ASSERT_NE(head, workspace::readLines(folder + u"entete.html"_s));

    // Reopened, the text is the teacher's, not the aid's.
    const import::ReopenedDocument reopened = import::reopenDocument(*import::studentDocument(files.document, folder));
    EXPECT_EQ(reopened.text, (QStringList{u"Le loup de conte."_s, u"Il mange\u00A0!"_s}));
    QStringList corrected = reopened.text;
    corrected[0] = u"Le loup du conte."_s;
    import::saveAgain(reopened.names, corrected, folder, templates());

    const QByteArray saved = bytesOf(files.document);
    EXPECT_FALSE(layout::carriesAid(workspace::readLines(files.document)));
    EXPECT_TRUE(saved.contains("Le loup du conte.<br>"));
    EXPECT_FALSE(QFile::exists(files.own()));
    EXPECT_FALSE(QFile::exists(files.copie()));
    EXPECT_EQ(bytesOf(files.bak()), saved);
    EXPECT_NE(saved, oldPlain);
    EXPECT_EQ(workspace::readLines(files.document).first(head.size()), head);

    // The layout screen opens on it with the box still checked (the flags are
    // the student's): off, on and off again give the corrected text.
    documentLines = workspace::readLines(files.document);
    boxes = layout::clickAidBox(layout::AidBox::SyllablesInColours, boxes, css, files, documentLines).boxes;
    EXPECT_EQ(bytesOf(files.document), saved);
    boxes = layout::clickAidBox(layout::AidBox::SyllablesInColours, boxes, css, files, documentLines).boxes;
    EXPECT_TRUE(layout::carriesAid(workspace::readLines(files.document)));
    layout::clickAidBox(layout::AidBox::SyllablesInColours, boxes, css, files, documentLines);
    EXPECT_EQ(bytesOf(files.document), saved);
}

TEST_F(Reopen, ADocumentWhoseTextCannotBeFoundIsRefused)
{
    // An aid on, then its backups and the text copy lost.
    QFile::copy(templates() + u"style.css"_s, folder + u"style.css"_s);
    layout::Css css = layout::loadCss(folder);
    const layout::WorkingCopies files{folder, folder + u"conte.html"_s};
    QStringList documentLines = workspace::readLines(files.document);
    layout::clickAidBox(layout::AidBox::SyllablesInColours, {}, css, files, documentLines);
    for (const QString &lost : {files.own(), files.copie(), folder + u"conte.txt"_s})
        QFile::remove(lost);
    try {
        import::reopenDocument(*import::studentDocument(files.document, folder));
        FAIL() << "the aid's output was taken for the text";
    } catch (const workspace::IoError &error) {
        EXPECT_TRUE(error.message().contains(u"« conte.txt » a disparu"_s)) << error.message();
    }
}

} // namespace
