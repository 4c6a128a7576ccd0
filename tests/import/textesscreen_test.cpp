// The import screen headless: a text brought in from a file of each kind, and
// one of the student's documents reopened, corrected and saved again, from
// Button3's dialog or from the list of the student's documents.
#include "importstudent.h"
#include "layout/Vitrine_test.h"
#include "layout/stylesheet.h"
#include "layout/workingcopies.h"
#include "platform/controls.h"
#include "platform/eventrules.h"
#include "readingaids/bodyaids.h"
#include "sourcefixtures.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using namespace importtest;

// A French text with the typography a teacher's files hold, and the bytes of
// its text copy once saved.
const QStringList Fable = {u"« Le Loup et l’Agneau »"_s, u"Un œuf… à l’été\u00A0! Il mange."_s};
const QByteArray FableSaved = "\xAB Le Loup et l\x92" "Agneau \xBB\r\n"
                              "Un \x9C" "uf\x85 \xE0 l\x92\xE9t\xE9\xA0! Il mange.\r\n";

class Textes : public StudentScreens
{
protected:
    void SetUp() override
    {
        prepare(QStringLiteral(TESSAVO_SOURCE_DIR "/reserve"));
        folder.makeFolder(u"Sources"_s);
        startAgain();
    }

    QString source(const QString &name) const { return folder.file(u"Sources/"_s + name); }

    // Types the text, then answers the picture and save dialogs.
    void save(const QStringList &text, const QString &card, const QString &title)
    {
        screen->Memo1->setPlainText(text.join(u'\n'));
        saveAs(card, title);
    }
    void saveAs(const QString &card, const QString &title)
    {
        platform.fileDialogs.openAnswers = {folder.file(u"reserve/Cartes/"_s + card)};
        platform.fileDialogs.saveAnswers = {student(title)};
        screen->Button1->click();
    }

    // Button3, and the file chosen in its dialog.
    void choose(const QString &path)
    {
        platform.fileDialogs.openAnswers = {path};
        screen->Button3->click();
    }

    // A click on the document of that title in the list of the student's documents.
    void click(const QString &title)
    {
        const QList<QListWidgetItem *> items = screen->ListView1->findItems(title, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << title.toStdString();
        screen->ListView1->setCurrentItem(items.first());
        emit screen->ListView1->itemClicked(items.first());
    }

    QStringList listed() const
    {
        QStringList titles;
        for (int i = 0; i < screen->ListView1->count(); ++i)
            titles.append(screen->ListView1->item(i)->text());
        return titles;
    }

    QString window() const { return platform::textOf(screen->Memo1); }

    // The teacher puts a word in place of another in the text window.
    void correct(const QString &word, const QString &by)
    {
        QTextCursor cursor = screen->Memo1->document()->find(word);
        ASSERT_FALSE(cursor.isNull()) << word.toStdString();
        cursor.insertText(by);
    }

    // The step controls: " 1->", " 2->", " 3->", " 4->" and Label9, each shown or not.
    std::vector<bool> steps() const
    {
        return {!screen->Button7->isHidden(), !screen->Button1->isHidden(), !screen->Button6->isHidden(),
                !screen->Button5->isHidden(), !screen->Label9->isHidden()};
    }

    // Three documents saved in turn, as on an earlier day.
    void saveThree()
    {
        save({u"Le loup de a."_s}, u"arbre.jpg"_s, u"a"_s);
        save({u"Le loup mange la chèvre."_s, u"Il dort\u00A0!"_s}, u"chat.jpg"_s, u"conte"_s);
        save({u"Le loup de b."_s}, u"lune.jpg"_s, u"b"_s);
    }
};

TEST_F(Textes, EachKindReadComesInAsAPasteAndIsSavedByteForByte)
{
    using Make = std::function<void(const QString &)>;
    const auto text = [](QStringConverter::Encoding encoding, const QString &end) -> Make {
        return [encoding, end](const QString &path) {
            QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
            writeFile(path, encoder(Fable.join(end) + end));
        };
    };
    // A PDF keeps no no-break space: the reader puts them back where French
    // typography has them, around the title's « » too.
    const QByteArray pdfSaved = QByteArray(FableSaved).replace("\xAB ", "\xAB\xA0").replace(" \xBB", "\xA0\xBB");
    // A word processor's heading stands on its own line, an empty line after it.
    const QByteArray parted = QByteArray(FableSaved).replace("\xBB\r\n", "\xBB\r\n\r\n");
    struct Case { const char *name; QString file; Make make; QByteArray saved = FableSaved; };
    const Case cases[] = {
        {"Utf8WithMarkCrLf", u"utf8.txt"_s, text(QStringConverter::Utf8, u"\r\n"_s)},
        {"Utf16WithMarkLf", u"utf16.txt"_s, text(QStringConverter::Utf16LE, u"\n"_s)},
        {"Windows1252Cr", u"ancien.txt"_s, [](const QString &p) { writeFile(p, QByteArray(FableSaved).replace("\r\n", "\r")); }},
        {"OpenDocument", u"fable.odt"_s,
         [](const QString &p) {
             fixtures::writeOdt(p, "<text:h>" + Fable[0].toUtf8() + "</text:h><text:p>Un <text:span>œuf…</text:span> "
                                   "à l’été&#xA0;! Il mange.</text:p>");
         },
         parted},
        {"WordDocument", u"fable.docx"_s,
         [](const QString &p) {
             fixtures::writeDocx(p, "<w:p><w:r><w:t>" + Fable[0].toUtf8() + "</w:t></w:r></w:p><w:p><w:r><w:t>"
                                    + Fable[1].toUtf8() + "</w:t></w:r></w:p>");
         },
         parted},
        {"Pdf", u"fable.pdf"_s,
         [](const QString &p) {
             fixtures::writePdf(p, {{{{Fable[0]}, fixtures::PdfParagraph::Title}, {{Fable[1]}}}});
         },
         pdfSaved},
        {"Html", u"fable.html"_s,
         [](const QString &p) {
             writeFile(p, "<html><body><h1>" + Fable[0].toUtf8() + "</h1><p>Un œuf… à l’été&nbsp;! Il mange.</p>"
                          "</body></html>");
         }},
    };
    const QString cards[] = {u"ballon.jpg"_s, u"bateau.jpg"_s, u"escargot.jpg"_s, u"etoile.jpg"_s,
                             u"fleur.jpg"_s,  u"fusee.jpg"_s,  u"maison.jpg"_s};
    int card = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        startAgain();
        platform.messages.shown.clear();
        c.make(source(c.file));
        choose(source(c.file));

        EXPECT_EQ(platform.messages.shown, QStringList());
        EXPECT_TRUE(platform.shell.files.isEmpty()) << "a kind read is not handed to the desktop";
        EXPECT_EQ(workspace::encodeLines(platform::linesOf(screen->Memo1)), c.saved) << visible(window());
        EXPECT_EQ(steps(), (std::vector<bool>{false, true, false, false, false}));
        EXPECT_EQ(screen->focusWidget(), screen->Button1) << "ready for the next step, as after a paste";

        const QString title = QFileInfo(c.file).baseName() + u"-"_s + QString::fromLatin1(c.name);
        saveAs(cards[card++], title);
        EXPECT_EQ(shown(bytesOf(student(title + u".txt"_s))), shown(c.saved));
        EXPECT_TRUE(bytesOf(student(title + u".html"_s)).contains(QByteArray(c.saved).replace("\r\n", "<br>\r\n")));
    }
}

// What a file brings in is text on the page, its "<" and "&" as they are;
// what the teacher then types next to it keeps its plain formatting.
TEST_F(Textes, AFilesMarkupIsShownAsTextAndTheTeachersOwnFormattingStays)
{
    struct Case { const char *name; QString file; QByteArray content; QStringList body; };
    const Case cases[] = {
        {"TextWithAScriptLine", u"script.txt"_s,
         "Le loup.\r\n<script>fetch('../../../publication.ini')</script>\r\nTom & Jerry <b>gras</b>\r\n",
         {u"Le loup.<br>"_s, u"&lt;script&gt;fetch('../../../publication.ini')&lt;/script&gt;<br>"_s,
          u"Tom &amp; Jerry &lt;b&gt;gras&lt;/b&gt;<br>"_s}},
        {"PageWithAnEscapedScript", u"page.html"_s,
         "<html><body><p>Le loup.</p><p>&lt;script&gt;alert(1)&lt;/script&gt;</p></body></html>",
         {u"Le loup.<br>"_s, u"&lt;script&gt;alert(1)&lt;/script&gt;<br>"_s}},
    };
    const auto typeKey = [this](int key, const QString &text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(screen->Memo1, &press);
    };
    const QString cards[] = {u"ballon.jpg"_s, u"bateau.jpg"_s};
    int card = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        startAgain();
        writeFile(source(c.file), c.content);
        choose(source(c.file));
        // The teacher goes on typing after the text brought in.
        screen->Memo1->moveCursor(QTextCursor::End);
        typeKey(Qt::Key_Return, u"\r"_s);
        for (const QChar ch : u"Le <b>gras</b> tap\u00E9."_s)
            typeKey(0, QString(ch));
        const QString title = QFileInfo(c.file).baseName();
        saveAs(cards[card++], title);

        const QStringList document = workspace::readLines(student(title + u".html"_s));
        QStringList body = c.body;
        body.append(u"Le <b>gras</b> tap\u00E9.<br>"_s);
        const qsizetype first = document.indexOf(body.first());
        ASSERT_GE(first, 0) << visible(document.join(u'\n'));
        EXPECT_EQ(document.mid(first, body.size()), body) << visible(document.join(u'\n'));
        EXPECT_FALSE(document.join(u'\n').contains(u"<script"_s));
        // The text copy keeps the text as the window shows it.
        EXPECT_EQ(workspace::readLines(student(title + u".txt"_s)), workspace::decodeLines(
                      workspace::encodeLines(platform::linesOf(screen->Memo1))));

        // Reopened and corrected, the text brought in is still text.
        click(title);
        correct(u"Le loup."_s, u"Le chien."_s);
        screen->Button1->click();
        body.first() = u"Le chien.<br>"_s;
        const QStringList corrected = workspace::readLines(student(title + u".html"_s));
        EXPECT_EQ(corrected.mid(first, body.size()), body) << visible(corrected.join(u'\n'));
        EXPECT_FALSE(QFile::exists(student(title + u".html.hors-tessavo.bak"_s)));
    }
}

TEST_F(Textes, ATextBroughtInGoesAtTheCaretOrInPlaceOfASavedText)
{
    screen->Memo1->setPlainText(u"Début. Fin."_s);
    QTextCursor caret = screen->Memo1->textCursor();
    caret.setPosition(7);
    screen->Memo1->setTextCursor(caret);
    fixtures::writeDocx(source(u"milieu.docx"_s), "<w:p><w:r><w:t xml:space=\"preserve\">Milieu. </w:t></w:r></w:p>");
    choose(source(u"milieu.docx"_s));
    EXPECT_EQ(window(), u"Début. Milieu. Fin."_s);

    // Once saved, the next file brings the next text.
    saveAs(u"arbre.jpg"_s, u"un"_s);
    fixtures::writeOdt(source(u"suite.odt"_s), "<text:p>La suite.</text:p>");
    choose(source(u"suite.odt"_s));
    EXPECT_EQ(window(), u"La suite."_s);
    EXPECT_EQ(steps(), (std::vector<bool>{false, true, true, true, true}));
    EXPECT_EQ(screen->Button1->text(), u" 2->Choisir un logo et ->Sauvegarder le texte "_s);

    // So it does after a reopen: " 2->" then saves it as a new text.
    screen->Memo1->clear();
    click(u"un"_s);
    ASSERT_EQ(window(), u"Début. Milieu. Fin."_s);
    choose(source(u"suite.odt"_s));
    EXPECT_EQ(window(), u"La suite."_s);
    EXPECT_EQ(screen->Button1->text(), u" 2->Choisir un logo et ->Sauvegarder le texte "_s);
}

TEST_F(Textes, ADamagedEncryptedOrImageOnlyFileIsToldAndNothingChanges)
{
    struct Case { const char *name; QString file; std::function<void(const QString &)> make; QString says; };
    std::vector<Case> cases = {
        {"TruncatedDocx", u"coupé.docx"_s,
         [](const QString &p) {
             fixtures::writeDocx(p, "<w:p><w:r><w:t>Un texte assez long pour être coupé.</w:t></w:r></w:p>");
             const QByteArray whole = bytesOf(p);
             writeFile(p, whole.left(whole.size() / 2));
         },
         u"endommagé"_s},
        {"EncryptedOdt", u"secret.odt"_s, fixtures::writeEncryptedOdt, u"mot de passe"_s},
        {"EmptyText", u"vide.txt"_s, [](const QString &p) { writeFile(p, {}); }, u"est vide"_s},
        {"ScannedPdf", u"scan.pdf"_s, fixtures::writePicturePdf, u"ce PDF ne contient que des images"_s},
    };
    const QString qpdf = QStandardPaths::findExecutable(u"qpdf"_s);
    if (!qpdf.isEmpty()) {
        cases.push_back({"EncryptedPdf", u"secret.pdf"_s,
                         [this, qpdf](const QString &p) {
                             fixtures::writePdf(source(u"clair.pdf"_s), {{{{Fable[1]}}}});
                             ASSERT_EQ(QProcess::execute(qpdf, {u"--encrypt"_s, u"motdepasse"_s, u"proprietaire"_s,
                                                                u"256"_s, u"--"_s, source(u"clair.pdf"_s), p}),
                                       0);
                         },
                         u"mot de passe"_s});
    }
    screen->Memo1->setPlainText(u"Le texte déjà là."_s);
    const std::vector<bool> before = steps();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.shown.clear();
        c.make(source(c.file));
        choose(source(c.file));
        ASSERT_EQ(platform.messages.shown.size(), 1);
        EXPECT_TRUE(platform.messages.shown[0].contains(u"« "_s + c.file + u" »"_s)) << platform.messages.shown[0];
        EXPECT_TRUE(platform.messages.shown[0].contains(c.says)) << platform.messages.shown[0];
        EXPECT_EQ(window(), u"Le texte déjà là."_s);
        EXPECT_EQ(steps(), before);
        EXPECT_TRUE(platform.shell.files.isEmpty());
    }
}

TEST_F(Textes, AReopenedDocumentIsCorrectedInPlaceWithoutADialog)
{
    saveThree();
    startAgain();
    const QStringList files = QDir(studentFolder()).entryList(QDir::Files);
    QMap<QString, QByteArray> before;
    for (const QString &name : files)
        before.insert(name, bytesOf(student(name)));
    const qsizetype dialogs = platform.fileDialogs.openRequests.size() + platform.fileDialogs.saveRequests.size();
    platform.messages.shown.clear();

    // Chosen by its text copy in Button3's dialog.
    choose(student(u"conte.txt"_s));
    EXPECT_EQ(window(), u"Le loup mange la chèvre.\nIl dort\u00A0!"_s) << visible(window());
    EXPECT_EQ(screen->Edit5->text(), student(u"conte.html"_s));
    EXPECT_EQ(students->selection().document, student(u"conte.html"_s));
    EXPECT_EQ(screen->NomImage, u"conte.jpg"_s);
    EXPECT_FALSE(screen->Image2->pixmap().isNull());
    EXPECT_EQ(steps(), (std::vector<bool>{false, false, true, true, true})) << "as after a save";
    EXPECT_EQ(screen->focusWidget(), screen->Button6);
    EXPECT_EQ(screen->ListView1->currentItem()->text(), u"conte"_s);
    EXPECT_TRUE(screen->Button1->toolTip().contains(u"« conte.html »"_s)) << screen->Button1->toolTip();

    correct(u"chèvre"_s, u"brebis"_s);
    EXPECT_EQ(steps(), (std::vector<bool>{false, true, true, true, true}));
    EXPECT_EQ(screen->Button1->text(), u" 2->Sauvegarder la correction (même titre, même logo) "_s);
    screen->Button1->click();

    EXPECT_EQ(platform.messages.shown, QStringList());
    EXPECT_EQ(platform.fileDialogs.openRequests.size() + platform.fileDialogs.saveRequests.size(), dialogs + 1)
        << "only Button3's dialog";
    QMap<QString, QByteArray> after;
    for (const QString &name : QDir(studentFolder()).entryList(QDir::Files))
        after.insert(name, bytesOf(student(name)));
    EXPECT_EQ(shown(after.take(u"conte.txt"_s)), shown("Le loup mange la brebis.\r\nIl dort\xA0!\r\n"));
    const QByteArray document = after.take(u"conte.html"_s);
    EXPECT_TRUE(document.contains("\r\nLe loup mange la brebis.<br>\r\nIl dort\xA0!<br>\r\n")) << shown(document);
    EXPECT_TRUE(document.contains("<img src=\"conte.jpg\"  width=\"70\" height= \"70\">"));
    before.remove(u"conte.txt"_s);
    before.remove(u"conte.html"_s);
    after.remove(u"conte.html.bak"_s); // the layout's backup, following the document
    EXPECT_EQ(after, before) << "the picture, the picture list and the table of contents as they were";
    EXPECT_EQ(listed(), (QStringList{u"b"_s, u"conte"_s, u"a"_s}));
    EXPECT_EQ(steps(), (std::vector<bool>{false, false, true, true, true}));
    EXPECT_EQ(screen->Edit5->text(), student(u"conte.html"_s));
}

// A document edited outside Tessavo since its last save is kept before the
// correction replaces it, and the teacher is told where; one renamed outside
// Tessavo to a title a save refuses is not reopened.
TEST_F(Textes, ACorrectionKeepsAnOutsideEditAndARenamedDocumentIsRefused)
{
    saveThree();
    startAgain();
    QByteArray edited = bytesOf(student(u"conte.html"_s));
    edited.replace("Il dort\xA0!<br>", "Il dort\xA0! Fin ajout\xE9" "e \xE0 la main.<br>");
    writeFile(student(u"conte.html"_s), edited);
    platform.messages.shown.clear();

    click(u"conte"_s);
    correct(u"chèvre"_s, u"brebis"_s);
    screen->Button1->click();
    EXPECT_EQ(bytesOf(student(u"conte.html.hors-tessavo.bak"_s)), edited);
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].contains(u"modifié hors de Tessavo"_s)) << visible(platform.messages.shown[0]);
    EXPECT_TRUE(platform.messages.shown[0].contains(u"« conte.html.hors-tessavo.bak »"_s));
    EXPECT_TRUE(bytesOf(student(u"conte.html"_s)).contains("Le loup mange la brebis.<br>"));

    // Renamed outside Tessavo: refused, the window and the files as they were.
    for (const char *extension : {".html", ".txt", ".jpg"})
        QFile::rename(student(u"b"_s + QLatin1StringView(extension)), student(u"Łódź"_s + QLatin1StringView(extension)));
    const QString before = window();
    platform.messages.shown.clear();
    choose(student(u"Łódź.html"_s));
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].startsWith(u"Tessavo ne peut pas rouvrir « Łódź.html »"_s))
        << visible(platform.messages.shown[0]);
    EXPECT_EQ(window(), before);
    EXPECT_FALSE(bytesOf(student(u"_Tablematieres.txt"_s)).contains("?"));
}

TEST_F(Textes, TheListShowsTheStudentsDocumentsNewestFirstAndAClickReopensOne)
{
    EXPECT_EQ(screen->ListView1->count(), 0);
    EXPECT_EQ(screen->Label10->text(), u"Aucun texte sauvegardé pour cet élève"_s);
    saveThree();
    EXPECT_EQ(listed(), (QStringList{u"b"_s, u"conte"_s, u"a"_s})) << "kept up to date by each save";
    startAgain();
    platform.messages.shown.clear();
    EXPECT_EQ(listed(), (QStringList{u"b"_s, u"conte"_s, u"a"_s}));
    for (int i = 0; i < screen->ListView1->count(); ++i)
        EXPECT_FALSE(screen->ListView1->item(i)->icon().isNull()) << "each with its logo";
    EXPECT_EQ(screen->ListView1->geometry(), QRect(1069, 236, 287, 159));

    click(u"a"_s);
    EXPECT_EQ(window(), u"Le loup de a."_s);
    EXPECT_EQ(screen->Edit5->text(), student(u"a.html"_s));
    EXPECT_EQ(screen->NomImage, u"a.jpg"_s);
    EXPECT_EQ(steps(), (std::vector<bool>{false, false, true, true, true}));
    EXPECT_EQ(platform.messages.shown, QStringList());

    // The web view of the layout's opening takes the place.
    screen->Button6->click();
    EXPECT_TRUE(screen->ListView1->isHidden());
    EXPECT_FALSE(screen->WebBrowser2->isHidden());
    EXPECT_EQ(screen->WebBrowser2->geometry(), QRect(1069, 212, 287, 183));
}

TEST_F(Textes, AReopenedDocumentOpensOnTheLayoutScreen)
{
    saveThree();
    startAgain();
    click(u"conte"_s);
    screen->Button6->click();
    ASSERT_TRUE(Form1);
    EXPECT_EQ(Form1->parentWidget(), screen);
    EXPECT_EQ(Form1->TitreText, student(u"conte.html"_s));
    EXPECT_EQ(Form1->Label3->text(), student(u"conte.html"_s));
    EXPECT_TRUE(platform::linesOf(Form1->Memo1).contains(u"Le loup mange la chèvre.<br>"_s));
}

TEST_F(Textes, ACorrectedDocumentKeepsItsAidHighlightAndBordersAndIsPublishedSo)
{
    // Each aid put on a document on the layout screen; the program started
    // again, the document reopened, one word corrected and saved. Then, on
    // the layout screen, the aid taken off and put on again by hand over the
    // corrected text: the same files, byte for byte. And " 4->" sends the
    // document with its aid.
    struct Case
    {
        const char *name;
        platform::CheckBox *TForm1::*box; // null: the sound "ou" typed
        QString card;
        bool highlightAndBorder;
    };
    const Case cases[] = {
        {"syllables in colours", &TForm1::CheckBox2, u"arbre.jpg"_s, false},
        {"syllables with dashes", &TForm1::CheckBox6, u"ballon.jpg"_s, false},
        {"silent letters", &TForm1::CheckBox8, u"bateau.jpg"_s, false},
        {"sentences in colours", &TForm1::CheckBox9, u"chat.jpg"_s, false},
        {"a sound", nullptr, u"escargot.jpg"_s, false},
        {"syllables in colours, a highlight and a border", &TForm1::CheckBox2, u"etoile.jpg"_s, true},
    };
    folder.writeText(u"publication.ini"_s, {u"[publication]"_s, u"hote=127.0.0.1"_s, u"port=2121"_s,
                                            u"utilisateur=eleve"_s, u"mot_de_passe=x"_s,
                                            u"adresse_web=127.0.0.1:8000"_s});
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString title = u"texte%1"_s.arg(++n);
        const layout::WorkingCopies files{studentFolder(), student(title + u".html"_s)};
        startAgain();
        save({u"Le loup mange la chèvre."_s, u"Il dort\u00A0!"_s}, c.card, title);
        screen->Button6->click();
        if (c.box)
            (Form1->*c.box)->click();
        else
            Form1->Edit6->setText(u"ou"_s);
        if (c.highlightAndBorder) {
            Form1->CheckBox3->click();
            Form1->CheckBox4->click();
        }
        ASSERT_TRUE(layout::carriesAid(workspace::readLines(files.document)));
        const QByteArray aided = bytesOf(files.document);

        startAgain();
        click(title);
        EXPECT_EQ(window(), u"Le loup mange la chèvre.\nIl dort\u00A0!"_s) << "the typed text, not the aid's";
        platform.messages.shown.clear();
        correct(u"chèvre"_s, u"brebis"_s);
        screen->Button1->click();
        EXPECT_EQ(platform.messages.shown, QStringList());
        const QByteArray corrected = bytesOf(files.document);
        const QByteArray plain = bytesOf(files.own());
        ASSERT_TRUE(layout::carriesAid(workspace::readLines(files.document))) << visible(shown(corrected));
        EXPECT_NE(corrected, aided);
        EXPECT_TRUE(plain.contains("Le loup mange la brebis.<br>")) << visible(shown(plain));
        EXPECT_EQ(bytesOf(files.copie()), plain);
        if (c.highlightAndBorder) {
            EXPECT_TRUE(plain.contains("background-color:#ffffbb;")) << visible(shown(plain));
            EXPECT_NE(plain.contains("#00FF00"), bytesOf(student(u"entete.html"_s)).contains("#00FF00"))
                << "the border as the teacher left it";
        }

        // Published now, the host gets the document with its aid.
        QByteArray sent;
        const QString stor = u"STOR "_s + files.document + u" -> "_s;
        platform.ftp.fail = [&](const QString &operation) -> std::optional<QString> {
            if (operation.startsWith(stor))
                sent = bytesOf(files.document);
            return std::nullopt;
        };
        screen->Button5->click();
        platform.ftp.fail = nullptr;
        EXPECT_EQ(visible(shown(sent)), visible(shown(corrected)));

        // By hand on the layout screen: off gives the corrected text, on
        // again the same files as the correction wrote.
        screen->Button6->click();
        TForm1 &layout = *Form1;
        if (c.box) {
            platform::CheckBox *box = layout.*c.box;
            EXPECT_TRUE(box->isChecked()) << "the box says the aid the corrected document carries";
            box->click();
            EXPECT_EQ(visible(shown(bytesOf(files.document))), visible(shown(plain)));
            box->click();
        } else {
            EXPECT_EQ(layout.Edit6->text(), u"ou"_s) << "the field says the sound the corrected document marks";
            layout.Edit6->clear();
            EXPECT_EQ(visible(shown(bytesOf(files.document))), visible(shown(plain)));
            layout.Edit6->setText(u"ou"_s);
        }
        EXPECT_EQ(visible(shown(bytesOf(files.document))), visible(shown(corrected)));
        EXPECT_EQ(bytesOf(files.own()), plain);
        EXPECT_EQ(bytesOf(files.copie()), plain);
    }
}

TEST_F(Textes, ACorrectionOfADocumentWhoseAidCannotBeToldSaysSo)
{
    saveThree();
    screen->Button6->click();
    Form1->CheckBox6->click();
    const layout::WorkingCopies files{studentFolder(), student(u"b.html"_s)};
    ASSERT_TRUE(layout::carriesAid(workspace::readLines(files.document)));
    // Every copy of its text lost outside Tessavo.
    for (const QString &lost : {files.own(), files.copie(), files.bak()})
        QFile::remove(lost);

    startAgain();
    click(u"b"_s);
    correct(u"b."_s, u"bois."_s);
    platform.messages.shown.clear();
    screen->Button1->click();
    EXPECT_EQ(platform.messages.shown,
              QStringList{u"« b.html » portait une aide à la lecture que Tessavo n'a pas pu reconnaître pour la "
                          u"remettre sur le texte corrigé : il est sauvegardé sans aide. Remettez-la sur l'écran de "
                          u"mise en page ( 3->)."_s});
    EXPECT_FALSE(layout::carriesAid(workspace::readLines(files.document)));
    EXPECT_TRUE(bytesOf(files.document).contains("Le loup de bois.<br>"));
    EXPECT_EQ(layout::loadCss(studentFolder())[layout::line::AidFirstSlot], QString());
}

TEST_F(Textes, ALayoutScreenLeftOpenWorksOnTheCorrectionSavedMeanwhile)
{
    // The layout screen stays open over the import screen; the teacher goes
    // back to the import screen, reopens the same document by its text copy,
    // corrects it and saves it, then comes back to the layout screen. With
    // or without an aid in force when the teacher left.
    struct Case
    {
        const char *name;
        QString title;
        QString card;
        bool aidOnBefore;
    };
    const Case cases[] = {
        {"no aid in force", u"conte"_s, u"chat.jpg"_s, false},
        {"syllables in colours in force", u"fable"_s, u"lune.jpg"_s, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        screen->Memo1->clear(); // a new text
        save({u"Le loup mange la chèvre."_s, u"Il dort\u00A0!"_s}, c.card, c.title);
        screen->Button6->click();
        TForm1 *layout = Form1;
        const layout::WorkingCopies files{studentFolder(), student(c.title + u".html"_s)};
        if (c.aidOnBefore)
            layout->CheckBox2->click();
        ASSERT_EQ(layout::carriesAid(workspace::readLines(files.document)), c.aidOnBefore);
        auto *view = static_cast<fakes::WebView *>(layout->WebBrowser1);
        const int loadsBefore = view->history.size() + view->reloads;

        choose(student(c.title + u".txt"_s));
        correct(u"chèvre"_s, u"brebis"_s);
        screen->Button1->click();
        // The document keeps the aid it carried, over the corrected text.
        const QStringList shownLines = workspace::readLines(files.document);
        ASSERT_EQ(layout::carriesAid(shownLines), c.aidOnBefore);
        const QByteArray corrected = c.aidOnBefore ? bytesOf(files.own()) : bytesOf(files.document);
        const QStringList correctedLines = workspace::decodeLines(corrected);
        ASSERT_TRUE(corrected.contains("Le loup mange la brebis.<br>")) << shown(corrected);

        // The layout screen shows the corrected document at once, and holds its lines.
        EXPECT_EQ(view->history.size() + view->reloads, loadsBefore + 1);
        EXPECT_EQ(view->address(), QUrl::fromLocalFile(files.document));
        EXPECT_EQ(platform::linesOf(layout->Memo1), shownLines);

        // Each aid is built from the corrected text, and taking it off gives
        // the corrected document back.
        EXPECT_EQ(layout->CheckBox2->isChecked(), c.aidOnBefore);
        if (c.aidOnBefore)
            layout->CheckBox2->click();
        EXPECT_EQ(shown(bytesOf(files.document)), shown(corrected));
        layout->CheckBox2->click();
        const QStringList aided = workspace::readLines(files.document);
        ASSERT_TRUE(layout::carriesAid(aided));
        EXPECT_EQ(aided.first(aided.size() - 1),
                  readingaids::writeBodyAid(correctedLines, readingaids::BodyAid::Couleurs));
        layout->Edit6->setText(u"ou"_s);
        const QStringList sound = workspace::readLines(files.document);
        EXPECT_EQ(sound.first(sound.size() - 1),
                  readingaids::writeBodyAid(correctedLines, readingaids::BodyAid::Son, u"ou"));
        layout->Edit6->clear();
        EXPECT_EQ(shown(bytesOf(files.document)), shown(corrected));
        EXPECT_EQ(layout->Css.numbered(), layout::loadCss(studentFolder()).numbered())
            << "the settings in memory are those on disk";
    }
}

TEST_F(Textes, AnUnsavedTextIsNeverReplacedAndANewTextIsSavedAsNew)
{
    saveThree();
    startAgain();
    click(u"conte"_s);
    correct(u"chèvre"_s, u"brebis"_s);
    platform.messages.shown.clear();
    click(u"a"_s);
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].contains(u"n'est pas sauvegardé"_s)) << platform.messages.shown[0];
    EXPECT_EQ(window(), u"Le loup mange la brebis.\nIl dort\u00A0!"_s);
    EXPECT_EQ(screen->Edit5->text(), student(u"conte.html"_s));
    EXPECT_EQ(screen->ListView1->currentItem()->text(), u"conte"_s);

    // A paste over the whole text brings a new text: " 2->" asks for a logo and a title.
    screen->Memo1->selectAll();
    platform.clipboard.content = u"Une autre histoire."_s;
    screen->Button7->click();
    EXPECT_EQ(screen->Button1->text(), u" 2->Choisir un logo et ->Sauvegarder le texte "_s);
    const QByteArray conte = bytesOf(student(u"conte.html"_s));
    saveAs(u"soleil.jpg"_s, u"histoire"_s);
    EXPECT_EQ(shown(bytesOf(student(u"histoire.txt"_s))), shown("Une autre histoire.\r\n"));
    EXPECT_EQ(bytesOf(student(u"conte.html"_s)), conte);
    EXPECT_EQ(listed(), (QStringList{u"histoire"_s, u"b"_s, u"conte"_s, u"a"_s}));

    // So does an emptied window.
    click(u"a"_s);
    EXPECT_NE(screen->Button1->text(), u" 2->Choisir un logo et ->Sauvegarder le texte "_s);
    screen->Memo1->clear();
    EXPECT_EQ(screen->Button1->text(), u" 2->Choisir un logo et ->Sauvegarder le texte "_s);
    EXPECT_TRUE(screen->Button1->toolTip().isEmpty());
}

} // namespace

namespace {

// A reading that takes long shows the progress window; "Annuler" stops it,
// ends the converter, brings nothing in and tells nothing.
TEST_F(Textes, ASlowReadingShowsItsProgressAndStopsOnCancel)
{
    QTemporaryDir bin;
    const QString converter = bin.filePath(u"soffice"_s);
    writeFile(converter, "#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 600\n");
    QFile::setPermissions(converter, QFile::permissions(converter) | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
    const auto restore = qScopeGuard([path] { qputenv("PATH", path); });

    screen->Memo1->setPlainText(u"Le texte déjà là."_s);
    const std::vector<bool> before = steps();
    writeFile(source(u"lent.rtf"_s), "{\\rtf1\\ansi Il \\'e9tait une fois.\\par}");
    // The converter sleeps ten minutes: a cancel not heeded would end past
    // the conversion's time, with its message.
    platform.progress.cancel = true;
    choose(source(u"lent.rtf"_s));
    EXPECT_EQ(platform.progress.opened, 1);
    EXPECT_EQ(platform.progress.openNow, 0);
    EXPECT_GT(platform.progress.waits, 0) << "the screens were kept painted";
    EXPECT_TRUE(platform.messages.shown.isEmpty());
    EXPECT_EQ(window(), u"Le texte déjà là."_s);
    EXPECT_EQ(steps(), before);
    const QByteArray pid = bytesOf(converter + u".pid"_s).trimmed();
    ASSERT_FALSE(pid.startsWith('<'));
    const QByteArray stat = bytesOf(u"/proc/"_s + QString::fromLatin1(pid) + u"/stat"_s);
    EXPECT_TRUE(stat.startsWith('<') || stat.contains(") Z ")) << "the converter still runs";
}

} // namespace
