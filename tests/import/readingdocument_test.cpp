#include "import/picturechoice.h"
#include "import/readingdocument.h"
#include "workspace/characters.h"
#include "workspace/cp1252.h"
#include "import/tableofcontents.h"
#include "readingaids/markup.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

TEST(DocumentNames, AppendHtmlOnlyWhenTheNameLacksItInThatCase)
{
    struct Case { const char *name; QString chosen; QString document, text, picture, pictureName; };
    const QString d = u"/école/Dupont_Jean_j@x.fr/"_s;
    const Case cases[] = {
        {"WithoutExtension", d + u"conte"_s, d + u"conte.html"_s, d + u"conte.txt"_s, d + u"conte.jpg"_s, u"conte.jpg"_s},
        {"WithExtension", d + u"conte.html"_s, d + u"conte.html"_s, d + u"conte.txt"_s, d + u"conte.jpg"_s, u"conte.jpg"_s},
        {"UpperCaseExtension", d + u"conte.HTML"_s, d + u"conte.HTML.html"_s, d + u"conte.HTML.txt"_s,
         d + u"conte.HTML.jpg"_s, u"conte.HTML.jpg"_s},
        {"BlanksAndAccents", d + u"le loup à l'été"_s, d + u"le loup à l'été.html"_s, d + u"le loup à l'été.txt"_s,
         d + u"le loup à l'été.jpg"_s, u"le loup à l'été.jpg"_s},
        {"HtmlOnlyInTheFolder", u"/x.html/conte"_s, u"/x.html/conte.html"_s, u"/x.html/conte.txt"_s,
         u"/x.html/conte.jpg"_s, u"conte.jpg"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const import::DocumentNames names = import::documentNames(c.chosen);
        EXPECT_EQ(names.documentPath, c.document);
        EXPECT_EQ(names.textPath, c.text);
        EXPECT_EQ(names.picturePath, c.picture);
        EXPECT_EQ(names.pictureName, c.pictureName);
    }
}

TEST(DocumentNames, RefuseTheNamesOfTheStudentFolderOwnFiles)
{
    for (const QString &name : {u"entete"_s, u"FinFichier.html"_s, u"Entete"_s, u"fond"_s, u"ListeImages"_s,
                                u"_Tablematieres.html"_s, u"TexteAlire2"_s, u"texteAlire_copie"_s, u"style"_s,
                                u"Style.html"_s})
        EXPECT_TRUE(import::isReservedName(import::documentNames(u"/d/"_s + name))) << name;
    for (const QString &name : {u"conte"_s, u"entete du conte"_s, u"styles"_s, u"fondue"_s, u"TexteAlire"_s})
        EXPECT_FALSE(import::isReservedName(import::documentNames(u"/d/"_s + name))) << name;
}

TEST(DocumentNames, RefuseTitlesThatWouldBreakTheirLinkOrTheirFile)
{
    struct Case { const char *name; QString chosen; QString refusal; };
    const Case cases[] = {
        {"question mark", u"Où est le chat ?"_s, u"Le titre « Où est le chat ? » contient « ? »"_s},
        {"hash", u"Exercice #2"_s, u"Le titre « Exercice #2 » contient « # »"_s},
        {"percent", u"100 % lu.html"_s, u"Le titre « 100 % lu » contient « % »"_s},
        {"quote", u"le \"loup\""_s, u"Le titre « le \"loup\" » contient « \" »"_s},
        {"colon", u"Conte:2"_s, u"Le titre « Conte:2 » contient « : »"_s},
        {"angle bracket", u"a<b"_s, u"Le titre « a<b » contient « < »"_s},
        {"outside the code page", u"Dvořák"_s, u"Le titre « Dvořák » contient « ř » (U+0159)"_s},
        {"html in the middle", u"conte.html.old"_s, u"Le titre « conte.html.old » ne peut porter « .html » qu'à sa fin"_s},
        {"a file of Tessavo", u"entete"_s, u"Le titre « entete » prendrait la place de « entete.html »"_s},
        {"a working copy", u"texteAlire2"_s, u"Le titre « texteAlire2 » prendrait la place de « TexteAlire2.html »"_s},
        {"too long for a file name", QString(201, u'a'), u"Le titre « "_s + QString(40, u'a') + u"… » est trop long"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const workspace::Result<void> checked = import::checkTitle(import::documentNames(u"/d/"_s + c.chosen));
        ASSERT_FALSE(checked);
        EXPECT_TRUE(checked.reason().startsWith(c.refusal)) << visible(checked.reason());
        EXPECT_TRUE(checked.reason().endsWith(u"choisissez un autre titre."_s)) << visible(checked.reason());
    }
    for (const QString &title : {u"conte"_s, u"Le loup & l'agneau"_s, u"L'été à Évry"_s, u"conte.HTML"_s,
                                 u"Leçon (2) - 5 €"_s, u"conte.html"_s, QString(200, u'a')})
        EXPECT_TRUE(import::checkTitle(import::documentNames(u"/d/"_s + title)).ok()) << title;
}

TEST(ReadingDocument, KeepsEveryLineUnescapedAndOneBlankLineBetweenParagraphs)
{
    const QStringList typed = {QString(), u" "_s, u"Le loup."_s, QString(), u" "_s, u"  "_s,
                               u"Un <b>gros</b> & grand loup."_s, u"\t"_s, QString(), u"Fin."_s, QString(), u" "_s};
    const QStringList lines = import::documentLines({u"<body>"_s, u"<!--DEBUT-->"_s}, u"conte.jpg"_s, typed,
                                                    {u"<!--FIN-->"_s});
    const QStringList expected = {
        u"<body>"_s,
        u"<!--DEBUT-->"_s,
        u"<img src=\"conte.jpg\"  width=\"70\" height= \"70\">"_s,
        u"Le loup.<br>"_s,
        u"<br>"_s,
        u"  <br>"_s,
        u"Un <b>gros</b> & grand loup.<br>"_s,
        u"\t<br>"_s,
        u"<br>"_s,
        u"Fin.<br>"_s,
        u"<!--FIN-->"_s,
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(import::textLines(typed), (QStringList{u"Le loup."_s, QString(), u"  "_s,
                                                     u"Un <b>gros</b> & grand loup."_s, u"\t"_s, QString(), u"Fin."_s}));
}

TEST(ReadingDocument, WritesTheTypographicEquivalentsAndNamesEveryOtherCharacter)
{
    // As word processors write them: a non-breaking hyphen, narrow no-break
    // spaces, a modifier apostrophe, a ligature, a decomposed accent.
    const QStringList typed = {u"«\u202FOù vas\u2011tu\u202F?\u00A0» l\u02BCa\uFB01n de\u0301ja\u0300 \u2212 5"_s};
    EXPECT_EQ(import::textLines(typed), QStringList{u"«\u00A0Où vas-tu\u00A0?\u00A0» l’afin déjà - 5"_s});
    EXPECT_TRUE(import::checkWritableText(typed));
    EXPECT_EQ(workspace::toWindows1252(u"vas\u2011tu\u202F?"_s), QByteArray("vas-tu\xA0?"));

    const QStringList foreign = {u"Łucja"_s, u"ok"_s, u"Ana 😀 Łucja"_s, u"😀"_s};
    const QList<workspace::UnwritableCharacter> found = workspace::unwritableCharacters(foreign);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0], (workspace::UnwritableCharacter{U'Ł', {1, 3}}));
    EXPECT_EQ(found[1], (workspace::UnwritableCharacter{U'😀', {3, 4}}));
    EXPECT_EQ(import::checkWritableText(foreign).reason(),
              u"Le texte contient des caractères que les fichiers de Tessavo ne savent pas écrire : « Ł » (U+0141) "
              u"aux lignes 1, 3 ; « 😀 » (U+1F600) aux lignes 3, 4. Rien n'a été sauvegardé : remplacez-les ou "
              u"retirez-les dans la grande fenêtre, puis sauvegardez à nouveau."_s);
}

// What a file brings in is text on the page; what the teacher types keeps its
// plain formatting only. The text copy keeps the lines as the box shows them.
TEST(ReadingDocument, ShowsHostileTextAsTextAndKeepsItsCopyAsTyped)
{
    struct Case { const char *name; QString line; bool fromFile; QString body; };
    const Case cases[] = {
        {"ScriptLineOfATextFile", u"<script>fetch('../../../publication.ini')</script>"_s, true,
         u"&lt;script&gt;fetch('../../../publication.ini')&lt;/script&gt;<br>"_s},
        // An .html's "&lt;script&gt;" reaches the box as "<script>".
        {"EscapedScriptOfAPage", u"<script>alert(1)</script>"_s, true,
         u"&lt;script&gt;alert(1)&lt;/script&gt;<br>"_s},
        {"BoldOfATextFileIsText", u"<b>gras</b> & co"_s, true, u"&lt;b&gt;gras&lt;/b&gt; &amp; co<br>"_s},
        {"ReferenceOfATextFileIsText", u"AT&amp;T"_s, true, u"AT&amp;amp;T<br>"_s},
        {"TypedScript", u"<script>alert(1)</script>"_s, false, u"&lt;script&gt;alert(1)&lt;/script&gt;<br>"_s},
        {"TypedHandler", u"<img src=x onerror=alert(1)>"_s, false, u"&lt;img src=x onerror=alert(1)&gt;<br>"_s},
        {"TypedBold", u"Un <b>gros</b> & grand loup."_s, false, u"Un <b>gros</b> & grand loup.<br>"_s},
    };
    const QTemporaryDir dir;
    const QString folder = dir.path() + u"/"_s;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const import::DocumentNames names = import::documentNames(folder + u"conte"_s);
        const QStringList shown = {u"Le titre."_s, c.line};
        const QStringList carried = {u"Le titre."_s, c.fromFile ? readingaids::escapeText(c.line) : c.line};
        import::writeDocument(names, {shown, carried}, folder, QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/"));
        const QStringList document = workspace::readLines(names.documentPath);
        EXPECT_TRUE(document.contains(c.body)) << visible(document.join(u'\n'));
        EXPECT_FALSE(document.join(u'\n').contains(u"<script"_s));
        EXPECT_EQ(workspace::readLines(names.textPath), shown);
    }
}

// A document saved into a student folder brings the templates it lacks, and
// the font files its style sheet names, beside that sheet; a sheet of the
// student's own that names none gets none, and nothing is replaced.
TEST(StudentFolder, GetsTheTemplatesAndTheFontsItsSheetNames)
{
    const QString templates = QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/");
    const QStringList fonts = {u"LiberationSans-Regular.woff2"_s, u"OpenDyslexicTessavo-Regular.woff2"_s};
    QTemporaryDir dir;
    const QString fresh = dir.path() + u"/Martin_Lea_/"_s;
    QDir().mkpath(fresh);
    import::completeStudentFolder(fresh, templates);
    EXPECT_EQ(QDir(fresh).entryList(QDir::Files, QDir::Name),
              (QStringList{u"FinFichier.html"_s, fonts[0], fonts[1], u"entete.html"_s, u"fond.jpg"_s, u"style.css"_s}));
    for (const QString &font : fonts)
        EXPECT_EQ(bytesOf(fresh + font), bytesOf(templates + font));
    writeFile(fresh + fonts[0], "MIENNE");
    import::completeStudentFolder(fresh, templates);
    EXPECT_EQ(bytesOf(fresh + fonts[0]), "MIENNE");

    const QString own = dir.path() + u"/Durand_Paul_/"_s;
    QDir().mkpath(own);
    writeFile(own + u"style.css"_s, "td.texte { font-family: \"Arial\"; }\r\n");
    import::completeStudentFolder(own, templates);
    EXPECT_EQ(QDir(own).entryList(QDir::Files, QDir::Name),
              (QStringList{u"FinFichier.html"_s, u"entete.html"_s, u"fond.jpg"_s, u"style.css"_s}));
    EXPECT_EQ(bytesOf(own + u"style.css"_s), "td.texte { font-family: \"Arial\"; }\r\n");
}

TEST(TableOfContents, KeepsTheListOldestFirstAndThePageNewestFirst)
{
    const auto entry = [](const QString &base) {
        return u"<img src=\" "_s + base + u".jpg\"  width=\"70\" height= \"70\"><a href=\""_s + base + u".html\"> "_s
            + base + u".html</a><br>"_s;
    };
    EXPECT_EQ(import::tableEntry(u"conte.html"_s, u"conte.jpg"_s),
              u"<img src=\" conte.jpg\"  width=\"70\" height= \"70\"><a href=\"conte.html\"> conte.html</a><br>"_s);

    struct Case { const char *name; QStringList saved; QStringList list; QStringList page; };
    const Case cases[] = {
        {"First", {u"a"_s}, {entry(u"a"_s)}, {u"H"_s, entry(u"a"_s), QString(), u"F"_s}},
        {"ThreeInTurn", {u"a"_s, u"b"_s, u"c"_s}, {entry(u"a"_s), entry(u"b"_s), entry(u"c"_s)},
         {u"H"_s, entry(u"c"_s), QString(), entry(u"b"_s), entry(u"a"_s), u"F"_s}},
        {"FirstAgainMovesToTheTop", {u"a"_s, u"b"_s, u"c"_s, u"a"_s}, {entry(u"b"_s), entry(u"c"_s), entry(u"a"_s)},
         {u"H"_s, entry(u"a"_s), QString(), entry(u"c"_s), entry(u"b"_s), u"F"_s}},
        {"ANameInsideAnotherKeepsBoth", {u"la"_s, u"a"_s, u"a"_s}, {entry(u"la"_s), entry(u"a"_s)},
         {u"H"_s, entry(u"a"_s), QString(), entry(u"la"_s), u"F"_s}},
        {"ANameThatStartsWithAnotherKeepsBoth", {u"a.html copie"_s, u"a"_s, u"a"_s}, {entry(u"a.html copie"_s), entry(u"a"_s)},
         {u"H"_s, entry(u"a"_s), QString(), entry(u"a.html copie"_s), u"F"_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList list;
        import::TableOfContents table;
        for (const QString &base : c.saved) {
            table = import::rebuildTable(list, base + u".html"_s, entry(base), {u"H"_s}, {u"F"_s});
            list = table.list;
        }
        EXPECT_EQ(table.list, c.list);
        EXPECT_EQ(table.page, c.page);
    }
}

class Pictures : public testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkpath(u"Cartes"_s);
        QDir(dir.path()).mkpath(u"eleve"_s);
    }
    QString path(const QString &relative) const { return dir.path() + u'/' + relative; }
    void write(const QString &relative, const QByteArray &bytes) const { writeFile(path(relative), bytes); }
    QByteArray read(const QString &relative) const { return bytesOf(path(relative)); }

    QTemporaryDir dir;
};

TEST_F(Pictures, APictureFromTheCardsIsRecordedMovedAndReplacesTheOlderOneOfTheDocument)
{
    write(u"Cartes/chat.jpg"_s, "CHAT");
    write(u"eleve/conte.jpg"_s, "OLD");
    const QString student = path(u"eleve/"_s);
    const import::TakenPicture taken = import::takePicture(path(u"Cartes/chat.jpg"_s), student, path(u"Cartes"_s));
    EXPECT_FALSE(QFile::exists(path(u"Cartes/chat.jpg"_s)));
    EXPECT_EQ(read(u"eleve/chat.jpg"_s), "CHAT");
    EXPECT_EQ(workspace::readLines(student + u"ListeImages.txt"_s), QStringList{path(u"Cartes/chat.jpg"_s)});
    EXPECT_TRUE(import::isPictureUsed(student + u"ListeImages.txt"_s, path(u"Cartes/chat.jpg"_s)));
    EXPECT_FALSE(import::isPictureUsed(student + u"ListeImages.txt"_s, path(u"Cartes/Chat.jpg"_s)));

    import::placePicture(taken, path(u"eleve/conte.jpg"_s));
    EXPECT_EQ(read(u"eleve/conte.jpg"_s), "CHAT");
    EXPECT_FALSE(QFile::exists(path(u"eleve/chat.jpg"_s)));
}

TEST_F(Pictures, APictureThatAlreadyBearsItsPlaceStaysWhole)
{
    struct Case { const char *name; QString chosen; QString target; QStringList remaining; };
    const Case cases[] = {
        // chosen in the student folder, under the document's picture name
        {"InTheFolderUnderItsName", u"eleve/conte.jpg"_s, u"eleve/conte.jpg"_s, {u"conte.jpg"_s}},
        // chosen in the student folder, the picture of another document: it stays too
        {"InTheFolderUnderAnotherName", u"eleve/lune.jpg"_s, u"eleve/conte.jpg"_s, {u"conte.jpg"_s, u"lune.jpg"_s}},
        // brought from the cards with the name the document's picture gets
        {"FromTheCardsUnderItsName", u"Cartes/conte.jpg"_s, u"eleve/conte.jpg"_s, {u"conte.jpg"_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString &name : QDir(path(u"eleve"_s)).entryList(QDir::Files))
            QFile::remove(path(u"eleve/"_s + name));
        write(c.chosen, "PICTURE");
        const import::TakenPicture taken = import::takePicture(path(c.chosen), path(u"eleve/"_s), path(u"Cartes"_s));
        import::placePicture(taken, path(c.target));
        EXPECT_EQ(read(c.target), "PICTURE");
        QStringList remaining = QDir(path(u"eleve"_s)).entryList({u"*.jpg"_s}, QDir::Files, QDir::Name);
        EXPECT_EQ(remaining, c.remaining);
        for (const QString &name : remaining)
            EXPECT_EQ(read(u"eleve/"_s + name), "PICTURE") << name;
    }
}

TEST_F(Pictures, ACardNamedLikeTheLogoOfAnotherDocumentReplacesNothing)
{
    write(u"eleve/lune.jpg"_s, "LOGO DE LUNE");
    write(u"Cartes/lune.jpg"_s, "NOUVELLE CARTE");
    const import::TakenPicture taken = import::takePicture(path(u"Cartes/lune.jpg"_s), path(u"eleve/"_s), path(u"Cartes"_s));
    EXPECT_EQ(read(u"eleve/lune.jpg"_s), "LOGO DE LUNE");
    EXPECT_EQ(read(u"eleve/lune (2).jpg"_s), "NOUVELLE CARTE") << "kept under a free name until it is placed";
    import::placePicture(taken, path(u"eleve/conte.jpg"_s));
    EXPECT_EQ(read(u"eleve/conte.jpg"_s), "NOUVELLE CARTE");
    EXPECT_EQ(read(u"eleve/lune.jpg"_s), "LOGO DE LUNE");
    EXPECT_EQ(QDir(path(u"eleve"_s)).entryList({u"*.jpg"_s}, QDir::Files, QDir::Name),
              (QStringList{u"conte.jpg"_s, u"lune.jpg"_s}));
}

} // namespace
