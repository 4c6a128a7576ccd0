#include "import/readingdocument.h"
#include "import/reopen.h"
#include "import/tableofcontents.h"
#include "layout/aidcommands.h"
#include "layout/entendubox.h"
#include "layout/opening.h"
#include "layout/reapply.h"
#include "readingaids/bodyaids.h"
#include "readingaids/corrections.h"
#include "readingaids/frame.h"
#include "readingaids/markup.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <functional>
#include <string_view>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A student folder holding three documents saved in turn, "a", "conte" and
// "b", from the shipped templates, each with its logo.
class ThreeDocuments
{
public:
    ThreeDocuments()
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
    // The working folder whose templates and corrections a correction takes.
    static QString workingFolder() { return QStringLiteral(TESSAVO_SOURCE_DIR); }

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

class Reopen : public testing::Test, protected ThreeDocuments
{
};

// Bytes as text, their invisible characters named.
std::string shown(const QByteArray &bytes)
{
    return visible(QString::fromLatin1(bytes));
}

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
    const import::ReopenedDocument reopened = *import::reopenDocument(*import::studentDocument(folder + u"conte.txt"_s, folder));
    EXPECT_EQ(reopened.text, (QStringList{u"Le loup de conte."_s, u"Il mange\u00A0!"_s}));
    EXPECT_EQ(reopened.names.documentName, u"conte.html"_s);
    EXPECT_EQ(reopened.names.pictureName, u"conte.jpg"_s);

    // Without its text copy, the document's body.
    QFile::remove(folder + u"conte.txt"_s);
    EXPECT_EQ(import::reopenDocument(reopened.names)->text, reopened.text);
}

TEST_F(Reopen, KeepsTheBlankLineBetweenParagraphsAndWhatCameFromAFile)
{
    // A title typed, then a file's paragraph whose "<" and "&" are text.
    const QStringList text = {u"Le <b>titre</b>"_s, QString(), u"Tom & <Jerry>"_s};
    const QStringList markup = {u"Le <b>titre</b>"_s, QString(), u"Tom &amp; &lt;Jerry&gt;"_s};
    const import::DocumentNames names = import::documentNames(folder + u"fichier"_s);
    writeFile(names.picturePath, "JPEG");
    import::writeDocument(names, import::BoxLines(text, markup), folder, templates());
    import::writeTable(folder, names.documentName, names.pictureName);

    const import::ReopenedDocument reopened = *import::reopenDocument(names);
    EXPECT_EQ(reopened.text, text) << "the blank line between the two stays";
    EXPECT_EQ(reopened.broughtIn, (QList<bool>{false, false, true}));
}

TEST_F(Reopen, SavedAgainInPlaceWithTheSameLogo)
{
    // The student's flags name the aid of another document: a document that
    // carries none leaves them, and no aid is put on it.
    layout::Css flags = layout::loadCss(folder);
    flags[layout::line::AidSecondSlot] = layout::flag::Syllabe;
    flags[layout::line::BoxesOn] = layout::flag::SyllabesCouleurs;
    layout::SauveCSS(folder, flags);
    const QMap<QString, QByteArray> before = files();
    const import::DocumentNames names = *import::studentDocument(folder + u"conte.html"_s, folder);
    const QStringList corrected = {u"Le loup du conte."_s, u"Il mange\u00A0!"_s};
    import::saveAgain(names, corrected, folder, workingFolder());

    QMap<QString, QByteArray> after = files();
    EXPECT_EQ(after.take(u"conte.txt"_s), workspace::encodeLines(corrected));
    const QStringList document = workspace::readLines(folder + u"conte.html"_s);
    EXPECT_TRUE(document.contains(u"Le loup du conte.<br>"_s));
    EXPECT_TRUE(document.contains(u"<img src=\"conte.jpg\"  width=\"70\" height= \"70\">"_s));
    EXPECT_FALSE(document.contains(u"Le loup de conte.<br>"_s));
    EXPECT_FALSE(layout::carriesAid(document));
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

// The aids as the layout screen puts them on conte.html, over the style sheet
// and the working copies of its student folder.
struct LayoutActions
{
    QString folder;
    readingaids::Corrections corrections; // the teacher's, as the screen read them (before files() is used)
    layout::Css css;
    QStringList lines;
    layout::AidBoxes boxes;

    explicit LayoutActions(const QString &studentFolder)
        : folder(studentFolder)
        , css(layout::loadCss(studentFolder))
        , lines(workspace::readLines(files().document))
    {
    }
    layout::WorkingCopies files() const { return {folder, folder + u"conte.html"_s, corrections}; }

    // The aid's box clicked, or the sound typed into its field.
    void putOn(const layout::CarriedAid &aid)
    {
        layout::WorkingCopies inItsColours = files();
        inItsColours.colours = aid.colours;
        boxes = aid.box ? layout::clickAidBox(*aid.box, boxes, css, inItsColours, lines, aid.byEar).boxes
                        : layout::changeSound(aid.sound, boxes, css, files(), lines, aid.byEar).boxes;
    }
    void highlightAndBorder()
    {
        layout::changeHighlight(true, files(), lines);
        layout::changeBorder(readingaids::Border::GreenRed, {false, true}, boxes, css, files(), lines);
    }
};

TEST_F(Reopen, ACorrectionPutsTheAidTheDocumentCarriedOnTheCorrectedText)
{
    // Each aid put on conte.html, then the text corrected and saved again;
    // against a twin folder where the teacher corrected the plain text and
    // then put the same aid on by hand: every file the same, byte for byte.
    using layout::AidBox;
    struct Case
    {
        const char *name;
        layout::CarriedAid aid;
        bool highlightAndBorder;
    };
    const Case cases[] = {
        {"syllables in colours", {AidBox::SyllablesInColours, {}, false}, false},
        {"syllables in colours by ear", {AidBox::SyllablesInColours, {}, true}, false},
        {"syllables in colours à la suite",
         {AidBox::SyllablesInColours, {}, false, readingaids::SyllableColours::InARow}, false},
        {"syllables with dashes", {AidBox::SyllablesWithDashes, {}, false}, false},
        {"syllables with dashes by ear", {AidBox::SyllablesWithDashes, {}, true}, false},
        {"silent letters", {AidBox::SilentLetters, {}, false}, false},
        {"silent letters by ear", {AidBox::SilentLetters, {}, true}, false},
        {"sentences in colours", {AidBox::SentencesInColours, {}, false}, false},
        {"a sound by its letters", {std::nullopt, u"ou"_s, false}, false},
        {"a sound by ear", {std::nullopt, u"on"_s, true}, false},
        {"syllables in colours, a highlight and borders", {AidBox::SyllablesInColours, {}, true}, true},
        {"a sound, a highlight and borders", {std::nullopt, u"ou"_s, false}, true},
    };
    const QStringList corrected = {u"Le loup du conte bondit."_s, u"Il mange\u00A0!"_s};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ThreeDocuments aided;
        ThreeDocuments byHand;
        for (const ThreeDocuments *student : {&aided, &byHand}) {
            QFile::copy(templates() + u"style.css"_s, student->folder + u"style.css"_s);
            workspace::writeLines(student->folder + u"conte.html.bak"_s,
                                  workspace::readLines(student->folder + u"conte.html"_s));
            // The student's "entendu" box: by ear when espeak-ng is there and
            // nothing says otherwise.
            if (!c.aid.byEar)
                writeFile(student->folder + u"entendu.ini"_s, "entendu=non\r\n");
        }

        LayoutActions before(aided.folder);
        before.putOn(c.aid);
        if (c.highlightAndBorder)
            before.highlightAndBorder();
        ASSERT_TRUE(layout::carriesAid(workspace::readLines(aided.folder + u"conte.html"_s)));
        const std::optional<import::DocumentNames> names =
            import::studentDocument(aided.folder + u"conte.html"_s, aided.folder);
        ASSERT_TRUE(names) << "a document that carries the aid is the student's";
        const import::SavedAgain saved = import::saveAgain(*names, corrected, aided.folder, workingFolder());
        ASSERT_TRUE(saved.aid.has_value());
        EXPECT_FALSE(saved.aidLost);
        EXPECT_EQ(*saved.aid, c.aid) << "the same aid, in the same mode";

        // By hand: the highlight and borders on the plain text, which the
        // correction keeps; then the aid put on, and the settings saved.
        if (c.highlightAndBorder)
            LayoutActions(byHand.folder).highlightAndBorder();
        import::saveAgain(*import::studentDocument(byHand.folder + u"conte.html"_s, byHand.folder), corrected,
                          byHand.folder, workingFolder());
        LayoutActions after(byHand.folder);
        after.putOn(c.aid);
        if (c.highlightAndBorder) {
            layout::recordSettings(after.css, after.css[layout::line::ViewWidth], after.css[layout::line::ViewHeight],
                                   {false, true}, after.boxes);
            layout::SauveCSS(byHand.folder, after.css);
        }

        const QMap<QString, QByteArray> written = aided.files();
        const QMap<QString, QByteArray> expected = byHand.files();
        EXPECT_EQ(written.keys(), expected.keys());
        for (const QString &name : expected.keys())
            EXPECT_EQ(shown(written.value(name)), shown(expected.value(name))) << name.toStdString();
        EXPECT_TRUE(written.value(u"conte.html.sansaide.bak"_s).contains("Le loup du conte bondit.<br>"));

        // Taking the aid off gives the corrected text, not the older one.
        LayoutActions off(aided.folder);
        if (c.aid.box)
            layout::clickAidBox(*c.aid.box, layout::flaggedBoxes(off.css), off.css, off.files(), off.lines, c.aid.byEar);
        else
            layout::changeSound({}, {}, off.css, off.files(), off.lines);
        EXPECT_EQ(bytesOf(aided.folder + u"conte.html"_s), written.value(u"conte.html.sansaide.bak"_s));
    }
}

TEST_F(Reopen, ACorrectionLeavesTheFlagLinesNamingTheAidItPutBack)
{
    // The student's flags name the dashes of another document; conte.html
    // carries syllables in colours: corrected, it keeps them, and the flags
    // name them, as the layout screen's click would leave them.
    QFile::copy(templates() + u"style.css"_s, folder + u"style.css"_s);
    writeFile(folder + u"entendu.ini"_s, "entendu=non\r\n");
    LayoutActions layout(folder);
    layout.putOn({layout::AidBox::SyllablesInColours, {}, false});
    layout.css[layout::line::AidFirstSlot] = layout::flag::Tiret;
    layout.css[layout::line::AidSecondSlot].clear();
    layout.css[layout::line::BoxesOn] = layout::flag::SyllabesTirets;
    layout::SauveCSS(folder, layout.css);

    const import::DocumentNames names = *import::studentDocument(folder + u"conte.html"_s, folder);
    import::saveAgain(names, QStringList{u"Le loup du conte."_s}, folder, workingFolder());
    const layout::Css css = layout::loadCss(folder);
    EXPECT_EQ(css[layout::line::AidFirstSlot], QString());
    EXPECT_EQ(css[layout::line::AidSecondSlot], layout::flag::Syllabe);
    EXPECT_EQ(css[layout::line::BoxesOn], layout::flag::SyllabesCouleurs);
    EXPECT_EQ(css[layout::line::End], layout::flag::Fin);
    const QStringList document = workspace::readLines(folder + u"conte.html"_s);
    EXPECT_TRUE(layout::carriesAid(document));
    EXPECT_EQ(document.first(document.size() - 1),
              readingaids::writeBodyAid(workspace::readLines(folder + u"conte.html.sansaide.bak"_s),
                                        readingaids::BodyAid::Couleurs));
}

TEST_F(Reopen, ACorrectionPutsTheAidBackWithTheTeachersWordCuts)
{
    // The teacher cut "loup" her own way on the layout screen; the program is
    // started again, and the correction is the first thing done.
    const QTemporaryDir working;
    writeFile(working.path() + u"/corrections-mots.txt"_s, "lo|up\n");
    QFile::copy(templates() + u"style.css"_s, folder + u"style.css"_s);
    writeFile(folder + u"entendu.ini"_s, "entendu=non\r\n");
    const readingaids::Corrections corrections = layout::loadCorrections(working.path());
    const auto dashed = [](const QStringList &lines, const readingaids::Corrections &with) {
        return readingaids::writeBodyAid(lines, readingaids::BodyAid::Tirets, {}, with);
    };
    const QStringList plainBefore = workspace::readLines(folder + u"conte.html"_s);
    ASSERT_NE(dashed(plainBefore, corrections), dashed(plainBefore, {})) << "the correction changes the cut";
    LayoutActions layout(folder);
    layout.corrections = corrections;
    layout.putOn({layout::AidBox::SyllablesWithDashes, {}, false});

    const import::DocumentNames names = *import::studentDocument(folder + u"conte.html"_s, folder);
    const import::SavedAgain saved = import::saveAgain(names, QStringList{u"Le loup du conte."_s}, folder, working.path());
    ASSERT_TRUE(saved.aid.has_value());
    EXPECT_EQ(saved.aid->box, layout::AidBox::SyllablesWithDashes);
    // The corrected text with the teacher's cut, as the layout screen puts it on.
    const QStringList plain = workspace::readLines(folder + u"conte.html.sansaide.bak"_s);
    ASSERT_TRUE(plain.contains(u"Le loup du conte.<br>"_s));
    QStringList document = workspace::readLines(folder + u"conte.html"_s);
    document.removeLast();
    EXPECT_EQ(document, dashed(plain, corrections));
    EXPECT_NE(document, dashed(plain, {}));
}

TEST_F(Reopen, ADocumentWhoseAidCannotBeToldIsSavedWithoutItAndTheFlagsSaySo)
{
    // The aid's output, its backups gone: the aid cannot be told from it.
    QFile::copy(templates() + u"style.css"_s, folder + u"style.css"_s);
    LayoutActions layout(folder);
    layout.putOn({layout::AidBox::SyllablesWithDashes, {}, false});
    const layout::WorkingCopies files = layout.files();
    QFile::remove(files.own());
    QFile::remove(files.copie());
    ASSERT_EQ(layout::loadCss(folder)[layout::line::AidFirstSlot], layout::flag::Tiret);

    const import::DocumentNames names = *import::studentDocument(files.document, folder);
    const import::SavedAgain saved = import::saveAgain(names, QStringList{u"Le loup du conte."_s}, folder, workingFolder());
    EXPECT_TRUE(saved.aidLost);
    EXPECT_FALSE(saved.aid.has_value());
    EXPECT_FALSE(layout::carriesAid(workspace::readLines(files.document)));
    EXPECT_TRUE(bytesOf(files.document).contains("Le loup du conte.<br>"));
    EXPECT_EQ(layout::loadCss(folder)[layout::line::AidFirstSlot], QString()) << "no flag names an aid it lacks";
    EXPECT_TRUE(import::aidLostMessage(names).startsWith(u"« conte.html » portait une aide"_s));
}

TEST_F(Reopen, ADocumentChangedOutsideTessavoIsKeptAndTheCorrectionKeepsItsAid)
{
    QFile::copy(templates() + u"style.css"_s, folder + u"style.css"_s);
    LayoutActions layout(folder);
    layout.putOn({layout::AidBox::SentencesInColours, {}, false});
    // Its text copy edited outside Tessavo.
    writeFile(folder + u"conte.txt"_s, "Un autre texte.\r\n");
    const QByteArray aidedBefore = bytesOf(folder + u"conte.html"_s);

    const std::optional<import::DocumentNames> names = import::studentDocument(folder + u"conte.html"_s, folder);
    ASSERT_TRUE(names) << "a document in sentences in colours is the student's";
    const import::SavedAgain saved = import::saveAgain(*names, QStringList{u"Le loup du conte."_s}, folder, workingFolder());
    ASSERT_TRUE(saved.keptCopy.has_value());
    EXPECT_EQ(*saved.keptCopy, folder + u"conte.html.hors-tessavo.bak"_s);
    EXPECT_EQ(bytesOf(*saved.keptCopy), aidedBefore);
    ASSERT_TRUE(saved.aid.has_value());
    EXPECT_EQ(saved.aid->box, layout::AidBox::SentencesInColours);
    const QStringList document = workspace::readLines(folder + u"conte.html"_s);
    EXPECT_EQ(document.first(document.size() - 1),
              readingaids::writeBodyAid(workspace::readLines(folder + u"conte.html.sansaide.bak"_s),
                                        readingaids::BodyAid::Phrases));
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
        (void)import::reopenDocument(*import::studentDocument(files.document, folder));
        FAIL() << "the aid's output was taken for the text";
    } catch (const workspace::IoError &error) {
        EXPECT_TRUE(error.message().contains(u"« conte.txt » a disparu"_s)) << error.message();
    }
}


// Files a correction must never read or write through, and names a document
// saved by Tessavo could not have: each is refused with a French reason, and
// nothing of this student or of another is written.
TEST_F(Reopen, RefusesWhatItDidNotWrite)
{
    const QTemporaryDir otherDir;
    const QString other = otherDir.path() + u"/Autre_Eleve_a@x.fr/"_s;
    writeFile(other + u"secret.html"_s, "<!--DEBUT-->\r\n<img>\r\nLe texte d'un autre.<br>\r\n<!--FIN-->\r\n");
    writeFile(other + u"secret.txt"_s, "Le texte d'un autre.\r\n");
    const auto renamed = [this](const QString &title) {
        return [this, title] {
            for (const char *extension : {".html", ".txt", ".jpg"})
                QFile::rename(folder + u"conte"_s + QLatin1StringView(extension), folder + title + QLatin1StringView(extension));
        };
    };
    struct Case { const char *name; std::function<void()> prepare; QString chosen; QString refusal; };
    const Case cases[] = {
        {"DocumentLinkedToAnotherStudents",
         [&] { QFile::remove(folder + u"conte.html"_s); QFile::link(other + u"secret.html"_s, folder + u"conte.html"_s); },
         u"conte.html"_s, u"« conte.html » est un lien vers un autre fichier"_s},
        {"TextCopyLinkedToAnotherStudents",
         [&] { QFile::remove(folder + u"conte.txt"_s); QFile::link(other + u"secret.txt"_s, folder + u"conte.txt"_s); },
         u"conte.html"_s, u"« conte.txt » est un lien vers un autre fichier"_s},
        {"TextCopyIsANamedPipe",
         [&] { QFile::remove(folder + u"conte.txt"_s); ASSERT_EQ(::mkfifo(QFile::encodeName(folder + u"conte.txt"_s).constData(), 0600), 0); },
         u"conte.txt"_s, u"« conte.txt » n'est pas un fichier ordinaire"_s},
        {"DocumentIsANamedPipe",
         [&] { QFile::remove(folder + u"conte.html"_s); ASSERT_EQ(::mkfifo(QFile::encodeName(folder + u"conte.html"_s).constData(), 0600), 0); },
         u"conte.html"_s, u"« conte.html » n'est pas un fichier ordinaire"_s},
        // A word of a megabyte would hold the text box for minutes.
        {"TextCopyOfOneLongWord", [&] { writeFile(folder + u"conte.txt"_s, QByteArray(1'000'000, 'a') + "\r\n"); },
         u"conte.txt"_s,
         u"Le fichier « conte.txt » ne contient pas un texte à lire : un de ses mots a plus de 1\u00A0000 caractères."_s},
        {"DocumentOfOneLongWordWithoutItsCopy",
         [&] {
             QFile::remove(folder + u"conte.txt"_s);
             QByteArray page = bytesOf(folder + u"conte.html"_s);
             page.replace("Le loup de conte.<br>", QByteArray(2000, 'a') + "<br>");
             writeFile(folder + u"conte.html"_s, page);
         },
         u"conte.html"_s, u"Le fichier « conte.html » ne contient pas un texte à lire"_s},
        {"RenamedWithAHash", renamed(u"Exercice #2"_s), u"Exercice #2.html"_s,
         u"Tessavo ne peut pas rouvrir « Exercice #2.html », dont le nom a été donné hors de Tessavo. Le titre "
         u"« Exercice #2 » contient « # »"_s},
        {"RenamedWithAQuestionMark", renamed(u"Où est le chat ?"_s), u"Où est le chat ?.txt"_s,
         u"Tessavo ne peut pas rouvrir « Où est le chat ?.html »"_s},
        {"RenamedOutsideTheCodePage", renamed(u"Łódź"_s), u"Łódź.html"_s,
         u"Le titre « Łódź » contient « Ł » (U+0141)"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QTemporaryDir fresh;
        folder = QDir::toNativeSeparators(fresh.path()) + QDir::separator();
        for (const QString &name : {u"a"_s, u"conte"_s, u"b"_s})
            save(name, {u"Le loup de "_s + name + u"."_s});
        c.prepare();
        const QMap<QString, QByteArray> before = files();
        const QByteArray othersBefore = bytesOf(other + u"secret.html"_s) + bytesOf(other + u"secret.txt"_s);

        const std::optional<import::DocumentNames> names = import::studentDocument(folder + c.chosen, folder);
        ASSERT_TRUE(names);
        const workspace::Result<import::ReopenedDocument> reopened = import::reopenDocument(*names);
        ASSERT_FALSE(reopened);
        EXPECT_TRUE(reopened.reason().startsWith(c.refusal) || reopened.reason().contains(c.refusal))
            << visible(reopened.reason());
        // Were the screen to save over it all the same, nothing goes through a link.
        if (QFileInfo(names->documentPath).isSymLink() || QFileInfo(names->textPath).isSymLink()) {
            EXPECT_THROW(import::saveAgain(*names, QStringList{u"Écrasé."_s}, folder, workingFolder()),
                         workspace::IoError);
        }
        EXPECT_EQ(bytesOf(other + u"secret.html"_s) + bytesOf(other + u"secret.txt"_s), othersBefore);
        if (!QFileInfo(names->documentPath).isSymLink() && !QFileInfo(names->textPath).isSymLink()) {
            EXPECT_EQ(files(), before);
        }
    }
}

// A text copy that an editor saved again in UTF-8 reads as the teacher wrote it.
TEST_F(Reopen, ReadsATextCopySavedAgainInUtf8)
{
    struct Case { const char *name; QByteArray copy; QStringList text; };
    const Case cases[] = {
        {"Utf8", "L'\xC3\xA9t\xC3\xA9 \xC5\x93uvre\r\nfin\n", {u"L'été œuvre"_s, u"fin"_s}},
        {"Utf8WithItsMark", "\xEF\xBB\xBFL'\xC3\xA9t\xC3\xA9\r\n", {u"L'été"_s}},
        {"MarkedWithOneBadByte", "\xEF\xBB\xBFL'\xC3\xA9t\xE9\r\n", {u"L'ét\uFFFD"_s}},
        {"Windows1252", "L'\xE9t\xE9 \x9Cuvre\r\n", {u"L'été œuvre"_s}},
        {"Ascii", "Le loup.\r\n", {u"Le loup."_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(folder + u"conte.txt"_s, c.copy);
        const workspace::Result<import::ReopenedDocument> reopened =
            import::reopenDocument(*import::studentDocument(folder + u"conte.html"_s, folder));
        ASSERT_TRUE(reopened) << visible(reopened.reason());
        EXPECT_EQ(reopened->text, c.text) << visible(reopened->text.join(u'|'));
    }
}

// A change made to the document outside Tessavo since its last save is kept
// beside it, never lost under the correction; Tessavo's own documents (a text
// typed, a text brought in from a file) are not taken for one.
TEST_F(Reopen, KeepsAVersionChangedOutsideTessavoBeforeSavingOverIt)
{
    struct Case { const char *name; std::function<void()> prepare; bool kept; };
    const Case cases[] = {
        {"ChangedOutside", [&] {
             QByteArray page = bytesOf(folder + u"conte.html"_s);
             page.replace("Le loup de conte.<br>", "Le loup de conte, <i>corrig\xE9 \xE0 la main</i>.<br>");
             writeFile(folder + u"conte.html"_s, page);
         }, true},
        {"LineAddedOutside", [&] {
             QByteArray page = bytesOf(folder + u"conte.html"_s);
             page.replace("Il mange\xA0!<br>", "Il mange\xA0!<br>\r\nUne ligne de plus.<br>");
             writeFile(folder + u"conte.html"_s, page);
         }, true},
        {"AsSaved", [] {}, false},
        {"BroughtInFromAFile", [&] {
             const import::DocumentNames names = import::documentNames(folder + u"conte"_s);
             const QStringList shown = {u"<b>gras</b><script>alert(1)</script>"_s, QString(), u"1 < 2 & 3"_s};
             QStringList carried;
             for (const QString &line : shown)
                 carried.append(readingaids::escapeText(line));
             import::writeDocument(names, {shown, carried}, folder, templates());
         }, false},
        {"OlderVersionWithAngleBrackets", [&] {
             // Older versions wrote the text's < and > as they were.
             for (const QString &name : {u"conte.html"_s, u"conte.txt"_s}) {
                 QByteArray bytes = bytesOf(folder + name);
                 bytes.replace("Le loup de conte.", "Le loup a 3 < 4 dents > 2.");
                 writeFile(folder + name, bytes);
             }
         }, false},
        {"TypedMarkup", [&] {
             import::writeDocument(import::documentNames(folder + u"conte"_s),
                                   QStringList{u"Le <b>loup</b> <script>"_s}, folder, templates());
         }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QTemporaryDir fresh;
        folder = QDir::toNativeSeparators(fresh.path()) + QDir::separator();
        save(u"conte"_s, {u"Le loup de conte."_s, u"Il mange\u00A0!"_s});
        c.prepare();
        const QByteArray outside = bytesOf(folder + u"conte.html"_s);
        const import::DocumentNames names = *import::studentDocument(folder + u"conte.html"_s, folder);
        if (std::string_view(c.name) == "BroughtInFromAFile") {
            EXPECT_EQ(import::reopenDocument(names)->broughtIn, (QList<bool>{true, false, true}));
        }

        const import::SavedAgain saved = import::saveAgain(names, QStringList{u"Corrigé."_s}, folder, workingFolder());
        EXPECT_TRUE(workspace::readLines(folder + u"conte.html"_s).contains(u"Corrigé.<br>"_s));
        EXPECT_EQ(saved.keptCopy.has_value(), c.kept);
        if (saved.keptCopy) {
            EXPECT_EQ(*saved.keptCopy, folder + u"conte.html.hors-tessavo.bak"_s);
            EXPECT_EQ(bytesOf(*saved.keptCopy), outside);
            EXPECT_TRUE(import::keptCopyMessage(names, *saved.keptCopy).contains(u"« conte.html.hors-tessavo.bak »"_s));
            // A second change outside never replaces the first one kept.
            QByteArray again = bytesOf(folder + u"conte.html"_s);
            again.replace("Corrig\xE9.<br>", "Autre chose.<br>");
            writeFile(folder + u"conte.html"_s, again);
            EXPECT_EQ(import::saveAgain(names, QStringList{u"Corrigé."_s}, folder, workingFolder()).keptCopy,
                      folder + u"conte.html.hors-tessavo-2.bak"_s);
            EXPECT_EQ(bytesOf(*saved.keptCopy), outside);
        }
    }
}

// The list of the student's documents takes only this folder's documents, each once.
TEST_F(Reopen, ListsOnlyThisFoldersDocumentsEachOnce)
{
    const QTemporaryDir fresh;
    folder = fresh.path() + u"/eleve/"_s;
    QDir().mkpath(folder);
    for (const QString &name : {u"a"_s, u"conte"_s, u"b"_s})
        save(name, {u"Le loup de "_s + name + u"."_s});
    writeFile(fresh.path() + u"/autre/x.html"_s, "<!--DEBUT-->\r\n<img>\r\n<!--FIN-->\r\n");
    QStringList table = workspace::readLines(folder + u"_Tablematieres.txt"_s);
    table.append(import::tableEntry(u"../autre/x.html"_s, u"../autre/x.jpg"_s));
    table.append(import::tableEntry(u"a.html"_s, u"a.jpg"_s));
    workspace::writeLines(folder + u"_Tablematieres.txt"_s, table);

    QStringList titles;
    for (const import::StudentDocument &document : import::studentDocuments(folder))
        titles.append(document.title);
    EXPECT_EQ(titles, (QStringList{u"a.html"_s, u"b.html"_s, u"conte.html"_s}));
}

} // namespace
