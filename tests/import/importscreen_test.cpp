// The import screen driven headless: pasting and typing, and saving a text as
// a reading document with scripted dialogs and real files.
#include "importstudent.h"
#include "import/paste.h"
#include "sources/refusals.h"
#include "sources/sources.h"
#include "platform/controls.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMenu>
#include <QTimer>
#include <QTextCursor>
#include <QUrl>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using namespace importtest;

const QString Fixtures = QStringLiteral(TESSAVO_FIXTURES_DIR "/import/");
const QString Titre = u"il faut tapper un titre pour ce nouveau text"_s;

// A key as the keyboard sends it to the widget that has the focus.
void press(QWidget *widget, int key, Qt::KeyboardModifiers modifiers, const QString &text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &up);
}

// The typed text: accents, "œ", "€", "…" and typographic quotes, which the
// code page has; a non-breaking hyphen and a reversed quote, which it writes
// as their equivalents "-" and "“"; an empty line and a line of one blank
// between two paragraphs, which the document keeps as one blank line; a line
// of two blanks, which it keeps as it is.
const QStringList Text = {
    u"Il était une fois un « loup » qui aimait le bœuf… et l’été à 5 €."_s,
    QString(),
    u" "_s,
    u"Le <b>petit</b> chaperon dit „bonjour‟ : « vas\u2011tu ? »."_s,
    u"  "_s,
};

class ImportScreen : public StudentScreens
{
protected:
    void SetUp() override
    {
        prepare(Fixtures + u"reserve"_s);
        startAgain();
    }

    QString carte(const QString &name) const { return folder.file(u"reserve/Cartes/"_s + name); }
    QString cartes() const { return folder.file(u"reserve/Cartes"_s); }

    // Puts a picture into the cards, a copy of one of the fixture's.
    void addCarte(const QString &name, const QString &like = u"chat.jpg"_s) const
    {
        QFile::copy(Fixtures + u"reserve/Cartes/"_s + like, carte(name));
    }

    // Types the text, then answers the picture and save dialogs.
    void save(const QStringList &text, std::deque<std::optional<QString>> pictures, std::optional<QString> name)
    {
        screen->Memo1->setPlainText(text.join(u'\n'));
        platform.fileDialogs.openAnswers = std::move(pictures);
        platform.fileDialogs.saveAnswers = {name};
        screen->Button1->click();
    }
    void save(const QString &picture, const QString &name)
    {
        save({u"Le loup."_s}, {carte(picture)}, student(name));
    }

    QStringList studentFiles() const
    {
        return QDir(studentFolder()).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(ImportScreen, SavesTheDocumentItsTextCopyPictureAndTableByteForByte)
{
    const QByteArray chat = bytesOf(carte(u"chat.jpg"_s));
    save(Text, {carte(u"chat.jpg"_s)}, student(u"conte"_s));

    EXPECT_EQ(platform.messages.shown, QStringList{Titre});
    for (const QString &name : {u"conte.html"_s, u"conte.txt"_s, u"_Tablematieres.txt"_s, u"_Tablematieres.html"_s}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(shown(bytesOf(student(name))), shown(bytesOf(Fixtures + u"expected/"_s + name)));
    }
    EXPECT_EQ(bytesOf(student(u"conte.jpg"_s)), chat);
    EXPECT_FALSE(QFile::exists(carte(u"chat.jpg"_s))) << "a picture is offered once";
    EXPECT_EQ(shown(bytesOf(student(u"ListeImages.txt"_s))), shown(carte(u"chat.jpg"_s).toLatin1() + "\r\n"));
    // The templates the folder lacked, as line and byte copies.
    EXPECT_EQ(shown(bytesOf(student(u"FinFichier.html"_s))), shown("<!--FIN-->\r\n</body></html>\r\n"));
    EXPECT_EQ(bytesOf(student(u"style.css"_s)), bytesOf(carte(u"../style.css"_s)));
    EXPECT_EQ(bytesOf(student(u"fond.jpg"_s)), "FOND");
    EXPECT_EQ(studentFiles(), (QStringList{u"FinFichier.html"_s, u"ListeImages.txt"_s, u"_Tablematieres.html"_s,
                                           u"_Tablematieres.txt"_s, u"conte.html"_s, u"conte.jpg"_s, u"conte.txt"_s,
                                           u"entete.html"_s, u"fond.jpg"_s, u"style.css"_s}));

    // The dialogs as the teacher saw them.
    ASSERT_EQ(platform.fileDialogs.openRequests.size(), 1);
    EXPECT_EQ(platform.fileDialogs.openRequests[0].initialFolder, cartes());
    EXPECT_EQ(platform.fileDialogs.openRequests[0].fileName, QString());
    EXPECT_EQ(platform.fileDialogs.openRequests[0].filter,
              u"Images (*.jpg *.jpeg *.png *.gif *.webp)|*.jpg;*.jpeg;*.png;*.gif;*.webp"_s);
    EXPECT_TRUE(platform.fileDialogs.openRequests[0].preview);
    ASSERT_EQ(platform.fileDialogs.saveRequests.size(), 1);
    EXPECT_EQ(platform.fileDialogs.saveRequests[0].initialFolder, studentFolder());
    EXPECT_EQ(platform.fileDialogs.saveRequests[0].fileName, QString());
    EXPECT_EQ(platform.fileDialogs.saveRequests[0].filter, u"Html files (*.html)|*.html"_s);

    // What the screens show and hand on.
    EXPECT_EQ(screen->Edit5->text(), student(u"conte.html"_s));
    EXPECT_EQ(students->Edit5->text(), student(u"conte.html"_s));
    EXPECT_EQ(screen->NomImage, u"conte.jpg"_s);
    EXPECT_FALSE(screen->Image2->pixmap().isNull());
    EXPECT_EQ(platform::textOf(screen->Memo2),
              u"\n<img src=\" conte.jpg\"  width=\"70\" height= \"70\"><a href=\"conte.html\"> conte.html</a><br>"_s);
    EXPECT_TRUE(screen->Button1->isHidden());
    EXPECT_FALSE(screen->Button6->isHidden());
    EXPECT_FALSE(screen->Button5->isHidden());
    EXPECT_FALSE(screen->Label9->isHidden());
    EXPECT_EQ(platform::textOf(screen->Memo1), Text.join(u'\n')) << "the text box keeps its text";
}

TEST_F(ImportScreen, ANameWithoutOrWithAnUpperCaseExtensionGetsHtml)
{
    addCarte(u"lune.jpg"_s, u"lune.jpg"_s);
    save(u"chat.jpg"_s, u"conte"_s);
    save(u"lune.jpg"_s, u"conte.HTML"_s);
    for (const QString &name : {u"conte.html"_s, u"conte.txt"_s, u"conte.jpg"_s, u"conte.HTML.html"_s,
                               u"conte.HTML.txt"_s, u"conte.HTML.jpg"_s})
        EXPECT_TRUE(QFile::exists(student(name))) << name;
    EXPECT_TRUE(workspace::readLines(student(u"conte.HTML.html"_s))
                    .contains(u"<img src=\"conte.HTML.jpg\"  width=\"70\" height= \"70\">"_s));
    EXPECT_EQ(screen->NomImage, u"conte.HTML.jpg"_s);
}

TEST_F(ImportScreen, SavingAgainMovesTheEntryToTheTopAndKeepsTheOtherDocuments)
{
    for (const QString &name : {u"a"_s, u"la"_s, u"b"_s, u"a2"_s})
        addCarte(name + u".jpg"_s);
    save(u"a.jpg"_s, u"a"_s);
    save(u"la.jpg"_s, u"la"_s);
    save(u"b.jpg"_s, u"b"_s);
    save(u"a2.jpg"_s, u"a.html"_s);

    const auto entry = [](const char *base) {
        return u"<img src=\" %1.jpg\"  width=\"70\" height= \"70\"><a href=\"%1.html\"> %1.html</a><br>"_s.arg(
            QLatin1StringView(base));
    };
    EXPECT_EQ(workspace::readLines(student(u"_Tablematieres.txt"_s)),
              (QStringList{entry("la"), entry("b"), entry("a")}));
    const QStringList page = workspace::readLines(student(u"_Tablematieres.html"_s));
    EXPECT_EQ(page.mid(4, 4), (QStringList{entry("a"), QString(), entry("b"), entry("la")}));
    EXPECT_EQ(bytesOf(student(u"a.jpg"_s)), bytesOf(Fixtures + u"reserve/Cartes/chat.jpg"_s));
    EXPECT_FALSE(QFile::exists(student(u"a2.jpg"_s))) << "the new picture replaced the older one of a.html";
    EXPECT_EQ(workspace::readLines(student(u"ListeImages.txt"_s)).size(), 4);
}

TEST_F(ImportScreen, AnExistingStyleSheetAndHeadStayUntouched)
{
    const QStringList own = {u"/* réglages de Jean */"_s, u"body { font-size: 32px; }"_s};
    workspace::writeLines(student(u"style.css"_s), own);
    workspace::writeLines(student(u"entete.html"_s), {u"<p>à Jean</p>"_s, u"<!--DEBUT-->"_s});
    save(u"chat.jpg"_s, u"conte"_s);
    EXPECT_EQ(workspace::readLines(student(u"style.css"_s)), own);
    EXPECT_EQ(workspace::readLines(student(u"conte.html"_s)).mid(0, 3),
              (QStringList{u"<p>à Jean</p>"_s, u"<!--DEBUT-->"_s, u"<img src=\"conte.jpg\"  width=\"70\" height= \"70\">"_s}));
}

TEST_F(ImportScreen, AUsedPictureIsRefusedAndTheDialogComesBack)
{
    addCarte(u"lune.jpg"_s, u"lune.jpg"_s);
    workspace::writeLines(student(u"ListeImages.txt"_s), {carte(u"chat.jpg"_s)});
    save({u"Le loup."_s}, {carte(u"chat.jpg"_s), carte(u"lune.jpg"_s)}, student(u"conte"_s));
    EXPECT_EQ(platform.messages.shown, (QStringList{u"Choisis une autre image celle est déja utilisée"_s, Titre}));
    ASSERT_EQ(platform.fileDialogs.openRequests.size(), 2);
    EXPECT_EQ(platform.fileDialogs.openRequests[1].initialFolder, cartes());
    EXPECT_EQ(bytesOf(student(u"conte.jpg"_s)), bytesOf(Fixtures + u"reserve/Cartes/lune.jpg"_s));
    EXPECT_TRUE(QFile::exists(carte(u"chat.jpg"_s)));
    EXPECT_EQ(workspace::readLines(student(u"ListeImages.txt"_s)),
              (QStringList{carte(u"chat.jpg"_s), carte(u"lune.jpg"_s)}));
}

TEST_F(ImportScreen, CancellingAPictureDialogWritesNothing)
{
    struct Case { const char *name; std::deque<std::optional<QString>> answers; QStringList messages; };
    workspace::writeLines(student(u"ListeImages.txt"_s), {carte(u"chat.jpg"_s)});
    const QStringList before = studentFiles();
    const Case cases[] = {
        {"AtOnce", {std::nullopt}, {}},
        // the Part would test the refused picture again for ever: a cancel gets the teacher out
        {"AfterARefusal", {carte(u"chat.jpg"_s), std::nullopt}, {u"Choisis une autre image celle est déja utilisée"_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        platform.messages.shown.clear();
        save({u"Le loup."_s}, c.answers, student(u"conte"_s));
        EXPECT_EQ(platform.messages.shown, c.messages);
        EXPECT_EQ(studentFiles(), before);
        EXPECT_EQ(screen->Edit5->text(), u"TexteAlire.html"_s);
        EXPECT_TRUE(platform.fileDialogs.saveRequests.isEmpty());
    }
}

TEST_F(ImportScreen, CancellingTheNameKeepsThePictureAndTouchesNoDocument)
{
    addCarte(u"lune.jpg"_s, u"lune.jpg"_s);
    save(u"chat.jpg"_s, u"conte"_s);
    const QStringList table = workspace::readLines(student(u"_Tablematieres.txt"_s));
    const QByteArray page = bytesOf(student(u"_Tablematieres.html"_s));
    const QByteArray document = bytesOf(student(u"conte.html"_s));
    platform.messages.shown.clear();
    screen->Memo1->setPlainText(u"Un autre texte."_s);
    platform.fileDialogs.openAnswers = {carte(u"lune.jpg"_s)};
    platform.fileDialogs.saveAnswers = {std::nullopt};
    screen->Button1->click();

    EXPECT_EQ(platform.messages.shown,
              (QStringList{Titre, u"Aucun texte n'a été sauvegardé. L'image choisie est gardée dans le dossier de "
                                  u"l'élève et ne sera plus proposée."_s}));
    EXPECT_EQ(bytesOf(student(u"lune.jpg"_s)), bytesOf(Fixtures + u"reserve/Cartes/lune.jpg"_s));
    EXPECT_FALSE(QFile::exists(carte(u"lune.jpg"_s)));
    EXPECT_EQ(workspace::readLines(student(u"ListeImages.txt"_s)),
              (QStringList{carte(u"chat.jpg"_s), carte(u"lune.jpg"_s)}));
    EXPECT_EQ(workspace::readLines(student(u"_Tablematieres.txt"_s)), table);
    EXPECT_EQ(bytesOf(student(u"_Tablematieres.html"_s)), page);
    EXPECT_EQ(bytesOf(student(u"conte.html"_s)), document);
    EXPECT_EQ(screen->Edit5->text(), student(u"conte.html"_s)) << "still the last saved document";
    EXPECT_EQ(students->Edit5->text(), student(u"conte.html"_s));
    EXPECT_FALSE(screen->Button1->isHidden()) << "the text can still be saved";

    // Offered no more: the same picture, chosen from the list's path, is refused.
    platform.messages.shown.clear();
    addCarte(u"lune.jpg"_s, u"lune.jpg"_s);
    save({u"Un autre texte."_s}, {carte(u"lune.jpg"_s), std::nullopt}, student(u"autre"_s));
    EXPECT_EQ(platform.messages.shown, QStringList{u"Choisis une autre image celle est déja utilisée"_s});
}

TEST_F(ImportScreen, ANameThatWouldReplaceAFileOfTessavoIsAskedAgain)
{
    save({u"Le loup."_s}, {carte(u"chat.jpg"_s)}, std::nullopt);
    platform.messages.shown.clear();
    addCarte(u"lune.jpg"_s, u"lune.jpg"_s);
    screen->Memo1->setPlainText(u"Le loup."_s);
    platform.fileDialogs.openAnswers = {carte(u"lune.jpg"_s)};
    platform.fileDialogs.saveAnswers = {student(u"entete"_s), student(u"ListeImages"_s), student(u"Style"_s),
                                        student(u"conte"_s)};
    const QByteArray head = bytesOf(folder.file(u"reserve/entete.html"_s));
    screen->Button1->click();
    EXPECT_EQ(platform.messages.shown,
              (QStringList{Titre,
                           u"Le titre « entete » prendrait la place de « entete.html », l'en-tête de tous les textes "
                           u"de l'élève, dont le dossier de l'élève a besoin : choisissez un autre titre."_s,
                           u"Le titre « ListeImages » prendrait la place de « ListeImages.txt », la liste des logos "
                           u"déjà utilisés, dont le dossier de l'élève a besoin : choisissez un autre titre."_s,
                           u"Le titre « Style » prendrait la place de « style.css », la feuille de style qui garde les "
                           u"réglages de l'élève, dont le dossier de l'élève a besoin : choisissez un autre titre."_s}));
    EXPECT_EQ(platform.fileDialogs.saveRequests.size(), 5);
    // The dialog shows the reading documents, not the files the folder needs.
    EXPECT_EQ(platform.fileDialogs.saveRequests[0].hiddenFiles,
              (QStringList{student(u"entete.html"_s), student(u"FinFichier.html"_s), student(u"style.css"_s),
                           student(u"fond.jpg"_s), student(u"_Tablematieres.html"_s), student(u"ListeImages.txt"_s),
                           student(u"TexteAlire2.html"_s), student(u"TexteAlire_copie.html"_s)}));
    EXPECT_TRUE(QFile::exists(student(u"conte.html"_s)));
    EXPECT_EQ(bytesOf(student(u"entete.html"_s)), head);
    EXPECT_EQ(workspace::readLines(student(u"ListeImages.txt"_s)),
              (QStringList{carte(u"chat.jpg"_s), carte(u"lune.jpg"_s)}));
}

TEST_F(ImportScreen, ATitleThatWouldBreakItsLinkIsAskedAgain)
{
    screen->Memo1->setPlainText(u"Le chat dort."_s);
    platform.fileDialogs.openAnswers = {carte(u"chat.jpg"_s)};
    platform.fileDialogs.saveAnswers = {student(u"Où est le chat ?"_s), student(u"Exercice #2"_s),
                                        student(u"Dvořák"_s), student(u"Où est le chat"_s)};
    screen->Button1->click();

    EXPECT_EQ(platform.messages.shown,
              (QStringList{Titre,
                           u"Le titre « Où est le chat ? » contient « ? », un caractère qui couperait le lien du texte "
                           u"et son logo sur la tablette : choisissez un autre titre."_s,
                           u"Le titre « Exercice #2 » contient « # », un caractère qui couperait le lien du texte et "
                           u"son logo sur la tablette : choisissez un autre titre."_s,
                           u"Le titre « Dvořák » contient « ř » (U+0159), un caractère que les fichiers de Tessavo "
                           u"ne savent pas écrire : choisissez un autre titre."_s}));
    EXPECT_EQ(platform.fileDialogs.saveRequests.size(), 4);
    EXPECT_EQ(studentFiles(), (QStringList{u"FinFichier.html"_s, u"ListeImages.txt"_s, u"Où est le chat.html"_s,
                                           u"Où est le chat.jpg"_s, u"Où est le chat.txt"_s, u"_Tablematieres.html"_s,
                                           u"_Tablematieres.txt"_s, u"entete.html"_s, u"fond.jpg"_s, u"style.css"_s}));
    EXPECT_EQ(workspace::readLines(student(u"_Tablematieres.txt"_s)),
              QStringList{u"<img src=\" Où est le chat.jpg\"  width=\"70\" height= \"70\"><a href=\"Où est le "
                          u"chat.html\"> Où est le chat.html</a><br>"_s});
}

TEST_F(ImportScreen, APngGifOrWebpLogoIsSavedAsARealJpeg)
{
    // A half-transparent red square: JPEG has no transparency, the page is white.
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(QColor(255, 0, 0, 255));
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 30; ++y)
            picture.setPixelColor(x, y, Qt::transparent);
    // Qt writes no GIF: a red one of 1 x 1, by hand.
    const QByteArray gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                         "\x21\xF9\x04\x00\x00\x00\x00\x00\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                         "\x02\x02\x44\x01\x00\x3B", 43);
    struct Case { const char *name; QString file; const char *format; };
    const Case cases[] = {{"png", u"rouge.png"_s, "png"}, {"gif", u"rouge.gif"_s, nullptr},
                          {"webp", u"rouge.webp"_s, "webp"}, {"a png named .jpg", u"faux.jpg"_s, "png"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.format) {
            ASSERT_TRUE(picture.save(carte(c.file), c.format));
        } else {
            QFile file(carte(c.file));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(gif);
        }
        const QString title = u"conte "_s + QString::fromLatin1(c.name);
        save({u"Le loup."_s}, {carte(c.file)}, student(title));
        const QString logo = student(title + u".jpg"_s);
        EXPECT_TRUE(bytesOf(logo).startsWith("\xFF\xD8\xFF")) << "a JPEG's bytes";
        QImageReader reader(logo);
        EXPECT_EQ(reader.format(), QByteArray("jpeg"));
        const QImage saved = reader.read();
        if (c.format) {
            EXPECT_EQ(saved.size(), QSize(40, 30));
            EXPECT_GT(QColor(saved.pixel(5, 15)).lightness(), 240) << "transparent parts are white";
            EXPECT_GT(QColor(saved.pixel(35, 15)).red(), 200);
        } else {
            EXPECT_EQ(saved.size(), QSize(1, 1));
            EXPECT_GT(QColor(saved.pixel(0, 0)).red(), 200);
        }
        EXPECT_FALSE(QFile::exists(carte(c.file))) << "offered once, as a JPEG card";
        EXPECT_TRUE(screen->Button1->isHidden()) << platform.messages.shown.join(u'|').toStdString();
        screen->Memo1->clear();
    }
    EXPECT_FALSE(QFile::exists(student(u"rouge.png"_s)));
}

TEST_F(ImportScreen, ATeachersOwnPictureIsCopiedAndStaysWhereItWas)
{
    const QString photo = folder.file(u"Images/photo.jpg"_s);
    QDir().mkpath(QFileInfo(photo).absolutePath());
    ASSERT_TRUE(QFile::copy(Fixtures + u"reserve/Cartes/lune.jpg"_s, photo));
    const QByteArray bytes = bytesOf(photo);

    save({u"Le loup."_s}, {photo}, student(u"conte"_s));
    EXPECT_EQ(platform.messages.shown, QStringList{Titre});
    EXPECT_EQ(bytesOf(photo), bytes) << "the teacher's photo is kept";
    EXPECT_EQ(bytesOf(student(u"conte.jpg"_s)), bytes);
    EXPECT_FALSE(QFile::exists(student(u"photo.jpg"_s)));
    EXPECT_EQ(workspace::readLines(student(u"ListeImages.txt"_s)), QStringList{photo});

    // A card leaves the cards, as before.
    save(u"chat.jpg"_s, u"suite"_s);
    EXPECT_FALSE(QFile::exists(carte(u"chat.jpg"_s)));
    EXPECT_TRUE(QFile::exists(student(u"suite.jpg"_s)));
    EXPECT_TRUE(QFile::exists(photo));
}

TEST_F(ImportScreen, AnEmptyCardsFolderIsToldBeforeThePictureIsAskedFor)
{
    for (const QString &name : QDir(cartes()).entryList(QDir::Files))
        QFile::remove(carte(name));
    const QString photo = folder.file(u"Images/photo.jpg"_s);
    QDir().mkpath(QFileInfo(photo).absolutePath());
    ASSERT_TRUE(QFile::copy(Fixtures + u"reserve/Cartes/lune.jpg"_s, photo));

    save({u"Le loup."_s}, {std::nullopt}, student(u"conte"_s));
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].startsWith(u"Le dossier des logos « "_s + cartes() + u" »"_s))
        << visible(platform.messages.shown[0]);
    EXPECT_TRUE(platform.messages.shown[0].contains(u"ailleurs"_s)) << visible(platform.messages.shown[0]);
    EXPECT_EQ(platform.fileDialogs.openRequests.size(), 1) << "the dialog is still offered";

    platform.messages.shown.clear();
    save({u"Le loup."_s}, {photo}, student(u"conte"_s));
    EXPECT_EQ(platform.messages.shown.size(), 2);
    EXPECT_TRUE(QFile::exists(student(u"conte.html"_s)));
    EXPECT_TRUE(QFile::exists(photo));
}

TEST_F(ImportScreen, APictureFromTheStudentFolderItselfStaysWhole)
{
    save(u"chat.jpg"_s, u"conte"_s);
    const QByteArray chat = bytesOf(student(u"conte.jpg"_s));
    // The picture of conte, chosen for conte again.
    save({u"Le loup revient."_s}, {student(u"conte.jpg"_s)}, student(u"conte"_s));
    EXPECT_EQ(bytesOf(student(u"conte.jpg"_s)), chat);
    // A picture that the teacher put into the student folder, for another document.
    QFile::copy(Fixtures + u"reserve/Cartes/lune.jpg"_s, student(u"lune.jpg"_s));
    const QByteArray lune = bytesOf(student(u"lune.jpg"_s));
    save({u"Le loup repart."_s}, {student(u"lune.jpg"_s)}, student(u"suite"_s));
    EXPECT_EQ(bytesOf(student(u"suite.jpg"_s)), lune);
    EXPECT_EQ(bytesOf(student(u"lune.jpg"_s)), lune);
    EXPECT_EQ(bytesOf(student(u"conte.jpg"_s)), chat) << "conte keeps its picture";
    EXPECT_EQ(platform.messages.shown, (QStringList{Titre, Titre, Titre}));
}

TEST_F(ImportScreen, AFileThatIsNoPictureIsNamedAndNothingIsWritten)
{
    QFile file(carte(u"faux.jpg"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("ceci n'est pas une image");
    file.close();
    save({u"Le loup."_s}, {carte(u"faux.jpg"_s)}, student(u"conte"_s));
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].contains(carte(u"faux.jpg"_s))) << platform.messages.shown[0];
    EXPECT_TRUE(platform.messages.shown[0].contains(u"n'est pas une image lisible"_s)) << platform.messages.shown[0];
    EXPECT_TRUE(studentFiles().isEmpty());
    EXPECT_TRUE(QFile::exists(carte(u"faux.jpg"_s)));
    EXPECT_EQ(screen->Edit5->text(), u"TexteAlire.html"_s);
}

TEST_F(ImportScreen, AMissingTemplateIsReportedAndEarlierDocumentsStayWhole)
{
    addCarte(u"lune.jpg"_s, u"lune.jpg"_s);
    save(u"chat.jpg"_s, u"a"_s);
    const QByteArray document = bytesOf(student(u"a.html"_s));
    const QByteArray page = bytesOf(student(u"_Tablematieres.html"_s));
    QFile::remove(student(u"FinFichier.html"_s));
    QFile::remove(folder.file(u"reserve/FinFichier.html"_s));
    platform.messages.shown.clear();
    save(u"lune.jpg"_s, u"b"_s);

    ASSERT_EQ(platform.messages.shown.size(), 2);
    EXPECT_TRUE(platform.messages.shown[1].contains(folder.file(u"reserve/FinFichier.html"_s)))
        << platform.messages.shown[1];
    EXPECT_FALSE(QFile::exists(student(u"b.html"_s)));
    EXPECT_EQ(bytesOf(student(u"a.html"_s)), document);
    EXPECT_EQ(bytesOf(student(u"_Tablematieres.html"_s)), page);
    EXPECT_EQ(screen->Edit5->text(), student(u"a.html"_s)) << "not the document that was not written";
    EXPECT_EQ(students->Edit5->text(), student(u"a.html"_s));
}

TEST_F(ImportScreen, AnEmptyTextBoxIsRefused)
{
    screen->Button1->click();
    EXPECT_EQ(platform.messages.shown, QStringList{u"Vous n'avez pas collé de texte dans la fenêtre"_s});
    EXPECT_TRUE(platform.fileDialogs.openRequests.isEmpty());
}

TEST_F(ImportScreen, ATeacherTypesKeyByKeyAndAPasteHandsTheFocusOn)
{
    EXPECT_EQ(screen->focusWidget(), screen->Button7);
    screen->Memo1->setFocus();
    const QString sentence = u"Le bœuf « têtu » n’a qu’un œil, l’été."_s;
    for (const QChar c : sentence)
        press(screen->focusWidget(), c == u' ' ? Qt::Key_Space : Qt::Key_unknown, Qt::NoModifier, QString(c));
    EXPECT_EQ(platform::textOf(screen->Memo1), sentence);
    EXPECT_EQ(screen->focusWidget(), screen->Memo1);
    EXPECT_TRUE(screen->Button7->isHidden());
    EXPECT_FALSE(screen->Button1->isHidden());

    platform.clipboard.content = u" La suite."_s;
    press(screen->focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(platform::textOf(screen->Memo1), sentence + u" La suite."_s);
    EXPECT_EQ(screen->focusWidget(), screen->Button1) << "a pasted text is ready for the next step";
}

// A word of over 1,000 characters, pasted, typed or dropped, is refused as a
// file bringing it in is: the box would take minutes to lay it out.
TEST_F(ImportScreen, AWordOfOverAThousandCharactersIsNeitherPastedTypedNorDropped)
{
    screen->Memo1->setFocus();
    platform.clipboard.content = QString(2'000'000, u'a');
    press(screen->Memo1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(platform.messages.shown, QStringList{import::longWordMessage()});
    EXPECT_TRUE(platform::textOf(screen->Memo1).isEmpty());
    EXPECT_TRUE(screen->Button1->isHidden());

    // Typed to the longest word, its next letter is refused; a blank starts another.
    const QString longest = u"Le "_s + QString(sources::MaxWordCharacters, u'a');
    platform.clipboard.content = longest.chopped(1);
    press(screen->Memo1, Qt::Key_V, Qt::ControlModifier);
    press(screen->Memo1, Qt::Key_A, Qt::NoModifier, u"a"_s);
    EXPECT_EQ(platform::textOf(screen->Memo1), longest);
    press(screen->Memo1, Qt::Key_A, Qt::NoModifier, u"a"_s);
    EXPECT_EQ(platform::textOf(screen->Memo1), longest);
    EXPECT_EQ(platform.messages.shown.size(), 2);
    press(screen->Memo1, Qt::Key_Space, Qt::NoModifier, u" "_s);
    press(screen->Memo1, Qt::Key_B, Qt::NoModifier, u"b"_s);
    EXPECT_EQ(platform::textOf(screen->Memo1), longest + u" b"_s);

    // Dropped at the end of the longest word.
    QMimeData dropped;
    dropped.setText(u"aaa"_s);
    screen->Memo1->moveCursor(QTextCursor::Left);
    screen->Memo1->moveCursor(QTextCursor::Left);
    const QPoint at = screen->Memo1->cursorRect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(screen->Memo1->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(screen->Memo1->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(screen->Memo1->viewport(), &drop);
    EXPECT_EQ(platform::textOf(screen->Memo1), longest + u" b"_s);
    EXPECT_EQ(platform.messages.shown.size(), 3);
}

TEST_F(ImportScreen, APasteFromAWordProcessorKeepsEveryNoBreakSpace)
{
    // As a word processor puts them on the clipboard: U+00A0 inside the
    // guillemets and before ":", the narrow U+202F before "!", ";" and "?".
    platform.clipboard.content = u"«\u00A0Bonjour\u202F!\u00A0» dit le loup\u202F; puis il ajoute\u00A0:\n"
                                 u"«\u00A0Où vas-tu\u202F?\u00A0»\n"_s;
    screen->Memo1->setFocus();
    press(screen->Memo1, Qt::Key_V, Qt::ControlModifier);
    platform.fileDialogs.openAnswers = {carte(u"chat.jpg"_s)};
    platform.fileDialogs.saveAnswers = {student(u"conte"_s)};
    screen->Button1->click();

    const QByteArray lines[] = {"\xAB\xA0" "Bonjour\xA0!\xA0\xBB dit le loup\xA0; puis il ajoute\xA0:",
                                "\xAB\xA0O\xF9 vas-tu\xA0?\xA0\xBB"};
    EXPECT_EQ(shown(bytesOf(student(u"conte.txt"_s))), shown(lines[0] + "\r\n" + lines[1] + "\r\n"));
    const QByteArray document = bytesOf(student(u"conte.html"_s));
    EXPECT_TRUE(document.contains("\r\n" + lines[0] + "<br>\r\n" + lines[1] + "<br>\r\n")) << shown(document);
    EXPECT_EQ(document.count('\xA0'), 8) << "every no-break space of the paste, and no other";
}

TEST_F(ImportScreen, TheStepButtonsFollowTheFirstLine)
{
    screen->Memo1->setPlainText(u"\nLe loup."_s);
    EXPECT_FALSE(screen->Button7->isHidden()) << "an empty first line changes nothing";
    EXPECT_TRUE(screen->Button1->isHidden());

    screen->Memo1->clear();
    screen->Button7->click();
    EXPECT_TRUE(platform::textOf(screen->Memo1).isEmpty());
    EXPECT_EQ(platform.messages.shown, QStringList{import::nothingToPasteMessage()});
    EXPECT_FALSE(screen->Button7->isHidden()) << "a paste that brings nothing leaves the step";
    EXPECT_TRUE(screen->Button1->isHidden());
    platform.clipboard.content = u" \n\u00A0\n"_s;
    screen->Memo1->setFocus();
    press(screen->Memo1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(platform.messages.shown.size(), 2) << "blanks alone are nothing either";
    EXPECT_TRUE(platform::textOf(screen->Memo1).isEmpty());
    EXPECT_TRUE(screen->Button1->isHidden());
}

TEST_F(ImportScreen, AClipboardOfHtmlAlonePastesItsParagraphsAndTheyAreSavedApart)
{
    // As some browsers and word processors leave it: HTML and no plain text.
    platform.clipboard.htmlContent =
        u"<html><head><style>p{}</style></head><body><h1>Le Loup</h1>"
        u"<p>&laquo;&nbsp;O&ugrave; vas&#8209;tu&#8239;?&nbsp;&raquo; dit l&rsquo;agneau.</p>"
        u"<p>Il s\u2019en va.</p></body></html>"_s;
    screen->Button7->click();
    EXPECT_TRUE(platform.messages.shown.isEmpty()) << platform.messages.shown.join(u'|').toStdString();
    const QString pasted = u"Le Loup\n\n«\u00A0Où vas\u2011tu\u202F?\u00A0» dit l’agneau.\n\nIl s’en va."_s;
    EXPECT_EQ(platform::textOf(screen->Memo1), pasted) << visible(platform::textOf(screen->Memo1));
    EXPECT_TRUE(screen->Button7->isHidden());
    EXPECT_FALSE(screen->Button1->isHidden());

    platform.fileDialogs.openAnswers = {carte(u"chat.jpg"_s)};
    platform.fileDialogs.saveAnswers = {student(u"conte"_s)};
    screen->Button1->click();
    EXPECT_EQ(shown(bytesOf(student(u"conte.txt"_s))),
              shown("Le Loup\r\n\r\n\xAB\xA0O\xF9 vas-tu\xA0?\xA0\xBB dit l\x92" "agneau.\r\n\r\nIl s\x92" "en va.\r\n"));
    EXPECT_TRUE(bytesOf(student(u"conte.html"_s))
                    .contains("\r\nLe Loup<br>\r\n<br>\r\n\xAB\xA0O\xF9 vas-tu\xA0?\xA0\xBB dit l\x92" "agneau.<br>\r\n"
                              "<br>\r\nIl s\x92" "en va.<br>\r\n"));
}

TEST_F(ImportScreen, ACharacterTheFilesCannotHoldIsNamedBeforeAnythingIsAskedOrWritten)
{
    screen->Memo1->setPlainText(u"Le loup.\nLe chat de Łucja 🐺.\nFin."_s);
    screen->Button1->click();
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].contains(u"« Ł » (U+0141) à la ligne 2 ; « 🐺 » (U+1F43A) à la ligne 2"_s))
        << platform.messages.shown[0].toStdString();
    EXPECT_TRUE(platform.fileDialogs.openRequests.isEmpty());
    EXPECT_TRUE(platform.fileDialogs.saveRequests.isEmpty());
    EXPECT_EQ(studentFiles(), QStringList()) << "nothing written";
    EXPECT_TRUE(QFile::exists(carte(u"chat.jpg"_s)));
    // Back in the text, on the line to correct.
    EXPECT_EQ(screen->focusWidget(), screen->Memo1);
    EXPECT_EQ(screen->Memo1->textCursor().selectedText(), u"Le chat de Łucja 🐺."_s);
    EXPECT_EQ(platform::textOf(screen->Memo1), u"Le loup.\nLe chat de Łucja 🐺.\nFin."_s);
}

TEST_F(ImportScreen, CopyAndPasteKeepsASelectionOrInsertsTheClipboard)
{
    screen->Memo1->setPlainText(u"Le loup"_s);
    screen->Memo1->moveCursor(QTextCursor::End);
    platform.clipboard.content = u" gris"_s;
    screen->Button2->click();
    EXPECT_EQ(platform::textOf(screen->Memo1), u"Le loup gris"_s);
    EXPECT_EQ(screen->focusWidget(), screen->Button1);

    QTextCursor selection = screen->Memo1->textCursor();
    selection.setPosition(3);
    selection.setPosition(7, QTextCursor::KeepAnchor);
    screen->Memo1->setTextCursor(selection);
    screen->Button2->click();
    EXPECT_EQ(platform::textOf(screen->Memo1), u"Le loup gris"_s);
    EXPECT_EQ(platform.clipboard.content, u"loup"_s);
}

TEST_F(ImportScreen, TheSourceDialogOpensInTheStudentFolderThenWhereItWasLastUsed)
{
    screen->Button3->click();
    ASSERT_EQ(platform.fileDialogs.openRequests.size(), 1);
    EXPECT_EQ(platform.fileDialogs.openRequests[0].initialFolder, studentFolder());
    EXPECT_EQ(platform.fileDialogs.openRequests[0].filter, sources::sourceFilter());
    EXPECT_TRUE(platform.fileDialogs.openRequests[0].filter.endsWith(u"|Tous les fichiers (*)|*"_s));
    EXPECT_TRUE(platform.shell.files.isEmpty()) << "a cancelled dialog opens nothing";
    EXPECT_TRUE(platform.messages.shown.isEmpty());

    // The dialog is shared with the picture choice: it opens where the picture was chosen.
    save(u"chat.jpg"_s, u"conte"_s);
    platform.messages.shown.clear();
    folder.writeText(u"Dessins/plan.odg"_s, {u"un dessin"_s});
    const QString drawing = folder.file(u"Dessins/plan.odg"_s);
    platform.fileDialogs.openAnswers = {drawing};
    screen->Button3->click();
    ASSERT_FALSE(platform.fileDialogs.openRequests.isEmpty());
    ASSERT_FALSE(platform.shell.files.isEmpty());
    EXPECT_EQ(platform.fileDialogs.openRequests.last().initialFolder, cartes());
    EXPECT_EQ(platform.fileDialogs.openRequests.last().fileName, QString());
    EXPECT_EQ(platform.fileDialogs.openRequests.last().filter, sources::sourceFilter());
    EXPECT_EQ(platform.shell.files, QStringList{drawing}) << "a kind Tessavo does not read goes to the desktop";
    EXPECT_TRUE(platform.messages.shown.isEmpty());

    // Nothing on this computer opens it: the teacher is told, and the text stays.
    platform.shell.opens = false;
    platform.fileDialogs.openAnswers = {drawing};
    screen->Button3->click();
    EXPECT_EQ(platform.fileDialogs.openRequests.last().initialFolder, folder.file(u"Dessins"_s));
    ASSERT_EQ(platform.messages.shown.size(), 1);
    EXPECT_TRUE(platform.messages.shown[0].contains(u"« plan.odg »"_s)) << platform.messages.shown[0];
    EXPECT_TRUE(platform.messages.shown[0].contains(u"aucune application"_s)) << platform.messages.shown[0];
    EXPECT_EQ(platform::textOf(screen->Memo1), u"Le loup."_s);
}

TEST_F(ImportScreen, LabelsShowFoldersAsPlainTextAndNoWebPageStartsUntilNeeded)
{
    EXPECT_TRUE(platform.webViews.created.isEmpty());
    EXPECT_FALSE(screen->WebBrowser2);
    for (const QLabel *label : {screen->Label1, screen->Label2, screen->Label3, screen->Label4, screen->Label5,
                                screen->Label6, screen->Label7, screen->Label8, screen->Label9})
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text();
    EXPECT_EQ(screen->Label2->text(), studentFolder());
}

} // namespace

TEST_F(ImportScreen, TheTextBoxMenuPastesAsCtrlVDoes)
{
    // Its "Coller" chosen in the box's own menu, over a clipboard of HTML alone.
    platform.clipboard.htmlContent = u"<p>Le loup&nbsp;!</p><p>Fin</p>"_s;
    QString caption;
    QTimer::singleShot(0, screen, [&caption] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        auto *paste = menu->findChild<QAction *>(u"edit-paste"_s);
        ASSERT_NE(paste, nullptr);
        caption = paste->text();
        EXPECT_TRUE(paste->isEnabled());
        paste->trigger();
        menu->close();
    });
    emit screen->Memo1->customContextMenuRequested({10, 10});
    EXPECT_FALSE(caption.isEmpty());
    EXPECT_EQ(platform::textOf(screen->Memo1), u"Le loup\u00A0!\n\nFin"_s);
    EXPECT_TRUE(screen->Button7->isHidden()) << "the step moves on as after the paste button";
    EXPECT_FALSE(screen->Button1->isHidden());
}
