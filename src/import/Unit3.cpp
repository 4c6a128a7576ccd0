#include "Unit3.h"

#include "import/eleve.h"
#include "import/paste.h"
#include "import/picturechoice.h"
#include "import/readingdocument.h"
#include "import/savedocument.h"
#include "platform/controls.h"
#include "platform/handlers.h"
#include "platform/platform.h"
#include "readingaids/markup.h"
#include "students/currentstudent.h"
#include "students/selection.h"
#include "students/studentlist.h"
#include "workspace/characters.h"
#include "workspace/paths.h"

#include <QDropEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

const QString NothingSaved = u"TexteAlire.html"_s;
// The place of the small web view of the layout's opening; the student's
// documents are listed there until it is needed.
const QRect WebBrowser2Place{1069, 212, 287, 183};
// A PNG, GIF or WebP picture is saved as a JPEG (import::placePicture).
const QString PictureFilter = u"Images (*.jpg *.jpeg *.png *.gif *.webp)|*.jpg;*.jpeg;*.png;*.gif;*.webp"_s;
const QString DocumentFilter = u"Html files (*.html)|*.html"_s;

// The students folder that holds a student folder, both ending with the
// separator.
QString studentsFolderOf(const QString &studentFolder)
{
    const QString withoutEnd = studentFolder.endsWith(workspace::separator()) ? studentFolder.chopped(1) : studentFolder;
    return withoutEnd.left(withoutEnd.lastIndexOf(workspace::separator()) + 1);
}

} // namespace

const QString TForm3::SaveNewCaption = u" 2->Choisir un logo et ->Sauvegarder le texte "_s;

TForm3::TForm3(QWidget *owner, students::CurrentStudent &student)
    : ScreenWindow(owner, QColor(0x0C, 0x7B, 0x7B), Qt::white)
    , m_student(student)
{
    setWindowTitle(u"Tessavo - Importer un texte"_s);
    createControls();
    // Drawn at 1366 x 980; on a lower screen the text box gives up the
    // height, on a narrower one the screen shows whole, smaller.
    fitToScreen({1366, 980}, Memo1);
    connectHandlers();
    FormCreate();
}

students::CurrentStudent *TForm3::studentScreen() const
{
    return &m_student;
}

QPushButton *TForm3::makeStepButton(const QString &text, int y)
{
    auto *button = new QPushButton(text, this);
    button->setFont(platform::boldFont(16));
    button->setStyleSheet(u"text-align: left; padding-left: 6px;"_s);
    button->setGeometry(760, y, 590, 40);
    return button;
}

void TForm3::createControls()
{
    // The upper band: the title, the paste buttons and the step buttons at the
    // right, the identity in one row, the logo beside the student's folder,
    // and the small web view at the right under the step buttons; the
    // document path and the text box below them all, so nothing covers them.
    using platform::boldFont, platform::makeEdit, platform::makeHiddenEdit, platform::makeLabel, platform::plainFont;
    Label1 = makeLabel(this, u"Importer des textes"_s, plainFont(48), {16, 4, 700, 80});
    Button2 = new QPushButton(u"Copier(ctrl+c) et coller(Ctrl+v)"_s, this);
    Button2->setFont(boldFont(16));
    Button2->setGeometry(16, 92, 420, 40);
    Button3 = new QPushButton(u"Importer du texte (.txt/.doc/.pdf ...)"_s, this);
    Button3->setFont(boldFont(16));
    Button3->setGeometry(16, 138, 420, 40);

    Button7 = makeStepButton(u" 1->Coller ou Ecrire le texte dans la grande fenêtre "_s, 4);
    Button1 = makeStepButton(SaveNewCaption, 48);
    Button6 = makeStepButton(u" 3->Faire la Mise en Page Dys"_s, 92);
    Button6->setToolTip(u"MP = Mise en Page"_s);
    Button5 = makeStepButton(u" 4->Accès direct au menu diffusion sans MP Dys"_s, 136);
    Button5->setToolTip(u"Suppose que la mise en page a déjà été faite une fois"_s);
    Button1->hide();
    Button6->hide();
    Button5->hide();
    // One red line right under the step buttons, ending where they end.
    Label9 = makeLabel(this,
                       u"Vous devez choisir entre 3 : réaliser une nouvelle mise en page ou 4 réutiliser celle réalisée précédemment"_s,
                       boldFont(14), {16, 182, 1334, 26});
    Label9->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label9->setStyleSheet(u"color: red;"_s);
    platform::shrinkToFit(Label9);
    Label9->hide();

    Label4 = makeLabel(this, u"NOM"_s, plainFont(12), {16, 214, 60, 26});
    Edit1 = makeEdit(this, {76, 214, 190, 26});
    Label5 = makeLabel(this, u"PRENOM"_s, plainFont(12), {278, 214, 80, 26});
    Edit2 = makeEdit(this, {358, 214, 190, 26});
    Label6 = makeLabel(this, u"CLASSE"_s, plainFont(12), {560, 214, 70, 26});
    Edit3 = makeEdit(this, {630, 214, 130, 26});
    Label7 = makeLabel(this, u"MAIL"_s, plainFont(12), {772, 214, 50, 26});
    Edit4 = makeEdit(this, {822, 214, 236, 26});

    Image2 = new QLabel(this);
    Image2->setGeometry(16, 250, 89, 97);
    Image2->setScaledContents(true);
    Label3 = makeLabel(this, u"ELEVE ACTUEL :"_s, boldFont(14), {116, 262, 942, 26});
    Label2 = makeLabel(this, u"REPERTOIRE ACTUEL : "_s, boldFont(14), {116, 296, 942, 26});
    createDocumentList(WebBrowser2Place);

    Label8 = makeLabel(this, u"TEXT ACTUEL"_s, boldFont(14), {16, 404, 150, 30});
    Edit5 = makeEdit(this, {170, 404, 1185, 30});
    Edit5->setFont(plainFont(14));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(8, 444, 1350, 385);
    Memo1->setFont(plainFont(14));
    Memo1->installEventFilter(this);
    // Drops reach the box's viewport.
    Memo1->viewport()->installEventFilter(this);

    Image1 = new QLabel(this);
    Image1->setGeometry(16, 880, 1041, 90);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(u":/pictures/etapes2.png"_s));

    // A folder or a typed path is shown as it is, never read as markup.
    for (QLabel *label : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9})
        label->setTextFormat(Qt::PlainText);

    Memo2 = new QPlainTextEdit(this);
    Memo2->hide();
    Edit6 = makeHiddenEdit(this);
    Edit7 = makeHiddenEdit(this);
}

platform::WebView *TForm3::showWebBrowser2()
{
    // Made on first use: a screen that never opens a layout starts no web page.
    if (!WebBrowser2) {
        WebBrowser2 = platform::services().webViews->create(this);
        WebBrowser2->setGeometry(fitted(WebBrowser2Place));
    }
    Label10->hide();
    ListView1->hide();
    WebBrowser2->show();
    return WebBrowser2;
}

void TForm3::connectHandlers()
{
    using platform::connectHandler;
    connectHandler(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connectHandler(Button7, &QPushButton::clicked, this, &TForm3::Button7Click);
    connectHandler(Memo1, &QPlainTextEdit::textChanged, this, &TForm3::Memo1ChangeTracking);
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo1, &QWidget::customContextMenuRequested, this, &TForm3::showMemo1Menu);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
    connectHandler(Button6, &QPushButton::clicked, this, &TForm3::Button6Click);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm3::Button5Click);
    connectHandler(ListView1, &QListWidget::itemClicked, this, &TForm3::ListView1Click);
    // Enter on a document, for the keyboard.
    connectHandler(ListView1, &QListWidget::itemActivated, this, &TForm3::ListView1Click);
}

void TForm3::FormCreate()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    const students::Selection selection = studentScreen()->selection();
    Label2->setText(selection.studentFolder);
    Label3->setText(students::eleveActuel(selection.student));
    Edit6->setText(selection.studentFolder);
    Edit7->setText(selection.remoteFolder);
    Edit5->setText(NothingSaved);
    MiseEnPage = false;
    Button7->setFocus();
    // The identity from the student's line in the class register: a surname
    // with a blank shows whole.
    const students::StudentIdentity listed =
        students::listedStudent(studentsFolderOf(selection.studentFolder), selection.student);
    const import::TEleve eleve = import::shortFields(students::shownName(listed.surname),
                                                     students::shownName(listed.firstName), listed.mail);
    Edit1->setText(eleve.nom);
    Edit2->setText(eleve.prenom);
    // The class shown is the student screen's, not the third part of the
    // folder's name.
    Edit3->setText(selection.schoolClass);
    Edit4->setText(eleve.mail);
    fillDocumentList();
}

bool TForm3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Memo1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Ctrl+V pastes the clipboard through the same path as the paste buttons.
        if (key->matches(QKeySequence::Paste)) {
            platform::runHandler(this, [this] { pasteClipboard(); });
            return true;
        }
        // A keystroke, as a paste, makes no word of over 1,000 characters.
        if (!key->text().isEmpty() && key->text().front().isPrint()
            && refusesLongWord(Memo1->textCursor(), key->text()))
            return true;
    }
    // So does a text dropped into the box.
    if (watched == Memo1->viewport() && event->type() == QEvent::Drop) {
        const auto *drop = static_cast<QDropEvent *>(event);
        if (drop->mimeData()->hasText()
            && refusesLongWord(Memo1->cursorForPosition(drop->position().toPoint()), drop->mimeData()->text()))
            return true;
    }
    return ScreenWindow::eventFilter(watched, event);
}

bool TForm3::refusesLongWord(const QTextCursor &at, const QString &inserted)
{
    const QTextBlock first = Memo1->document()->findBlock(at.selectionStart());
    const QTextBlock last = Memo1->document()->findBlock(at.selectionEnd());
    const QString before = first.text().first(at.selectionStart() - first.position());
    const QString after = last.text().sliced(at.selectionEnd() - last.position());
    if (!import::makesLongWord(before, inserted, after))
        return false;
    platform::ShowMessage(this, import::longWordMessage());
    return true;
}

void TForm3::Button7Click()
{
    // A paste that brings nothing leaves the step where it was.
    if (!pasteClipboard())
        return;
    Button1->show();
    Button7->hide();
}

bool TForm3::pasteClipboard()
{
    const platform::Clipboard &clipboard = *platform::services().clipboard;
    const QString text = import::pastedText(clipboard.text(), clipboard.html());
    if (text.isEmpty()) {
        platform::ShowMessage(this, import::nothingToPasteMessage());
        return false;
    }
    return pasteIntoMemo1(text);
}

void TForm3::showMemo1Menu(const QPoint &at)
{
    // The box's own "Coller" would insert only the clipboard's plain text,
    // and nothing from a clipboard that holds HTML alone.
    const std::unique_ptr<QMenu> menu(Memo1->createStandardContextMenu());
    menu->setObjectName(u"memo1Menu"_s);
    if (QAction *paste = menu->findChild<QAction *>(u"edit-paste"_s)) {
        paste->disconnect();
        paste->setEnabled(!Memo1->isReadOnly());
        connect(paste, &QAction::triggered, this,
                [this] { platform::runHandler(this, [this] { pasteClipboard(); }); });
    }
    menu->exec(Memo1->viewport()->mapToGlobal(at));
}

void TForm3::Memo1ChangeTracking()
{
    if (m_reopening)
        return;
    m_saved = false;
    // Emptied, the box takes a new text.
    if (platform::textOf(Memo1).isEmpty())
        endCorrection();
    const QStringList lines = platform::linesOf(Memo1);
    if (lines.isEmpty() || lines.first().isEmpty())
        return;
    Button7->hide();
    Button1->show();
    // A pasted text is ready for the next step; a typed one is still being
    // typed, and its next key must reach the text box.
    if (m_pasting)
        Button1->setFocus();
}

void TForm3::Button2Click()
{
    // Cut, copy, then paste: a selection ends up on the clipboard and back in
    // its place; without one, the clipboard's text is inserted at the caret.
    platform::Clipboard &clipboard = *platform::services().clipboard;
    QTextCursor cursor = Memo1->textCursor();
    if (!cursor.hasSelection()) {
        pasteClipboard();
        return;
    }
    const QScopedValueRollback pasting(m_pasting, true);
    {
        clipboard.setText(cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n'));
        cursor.removeSelectedText();
    }
    cursor.insertText(clipboard.text());
    Memo1->setTextCursor(cursor);
}

void TForm3::Button6Click()
{
    if (Edit5->text() == NothingSaved) {
        if (!platform::linesOf(Memo1).isEmpty()) {
            platform::ShowMessage(this, u" 1->Choisir une image et 2->Sauvegarder le texte "_s);
            Button1->setFocus();
        } else {
            platform::ShowMessage(this, u"Il n'a pas de texte"_s);
        }
        return;
    }
    MiseEnPage = true;
    showWebBrowser2()->navigate(workspace::travauxAddress(workspace::workingFolder()));
    emit layoutScreenRequested(Edit5->text());
}

workspace::Result<void> TForm3::showPicture(const QString &path)
{
    QImageReader reader(path);
    const QImage picture = reader.read();
    if (picture.isNull())
        return workspace::refuse(u"Le fichier « %1 » n'est pas une image lisible. Aucun texte n'a été sauvegardé : "
                                 u"choisissez une autre image."_s.arg(path));
    Image2->setPixmap(QPixmap::fromImage(picture));
    return {};
}

std::optional<QString> TForm3::choosePicture(const QString &studentFolder)
{
    const QString pictureList = studentFolder + workspace::ListeImagesTxt;
    const QString cards = workspace::picturesFolderPath(workspace::workingFolder());
    if (import::hasNoCards(cards))
        platform::ShowMessage(this, u"Le dossier des logos « %1 » n'a plus d'image .jpg à proposer. Ajoutez-y des "
                                    u"images, ou choisissez-en une ailleurs dans la fenêtre qui suit : elle y "
                                    u"restera."_s.arg(cards));
    for (;;) {
        OpenDialog1.InitialDir = cards;
        OpenDialog1.FileName.clear();
        OpenDialog1.Filter = PictureFilter;
        OpenDialog1.Preview = true;
        // Cancelling, also after a refused picture, ends the save: a teacher
        // with no unused picture at hand must be able to get out.
        if (!OpenDialog1.Execute(this))
            return std::nullopt;
        const QString chosen = OpenDialog1.FileName;
        Edit5->setText(chosen);
        if (const workspace::Result<void> shown = showPicture(chosen); !shown) {
            platform::ShowMessage(this, shown.reason());
            return std::nullopt;
        }
        if (!import::isPictureUsed(pictureList, chosen))
            return chosen;
        platform::ShowMessage(this, u"Choisis une autre image celle est déja utilisée"_s);
    }
}

std::optional<import::DocumentNames> TForm3::chooseName(const QString &studentFolder)
{
    for (;;) {
        SaveDialog1.InitialDir = studentFolder;
        SaveDialog1.FileName.clear();
        SaveDialog1.Filter = DocumentFilter;
        // The reading documents only: not the files the folder needs.
        SaveDialog1.HiddenFiles.clear();
        for (const QString &own : import::studentFolderOwnFiles())
            SaveDialog1.HiddenFiles << studentFolder + own;
        if (!SaveDialog1.Execute(this))
            return std::nullopt;
        const import::DocumentNames names = import::documentNames(SaveDialog1.FileName);
        const workspace::Result<void> checked = import::checkTitle(names);
        if (checked)
            return names;
        platform::ShowMessage(this, checked.reason());
    }
}

void TForm3::Button1Click()
{
    if (platform::linesOf(Memo1).isEmpty()) {
        platform::ShowMessage(this, u"Vous n'avez pas collé de texte dans la fenêtre"_s);
        return;
    }
    // Before anything is asked or written: the teacher goes back to the text.
    const QStringList typed = platform::linesOf(Memo1);
    if (const workspace::Result<void> writable = import::checkWritableText(typed); !writable) {
        platform::ShowMessage(this, writable.reason());
        const int line = workspace::unwritableCharacters(typed).first().lines.first();
        QTextCursor cursor(Memo1->document()->findBlockByNumber(line - 1));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        Memo1->setTextCursor(cursor);
        Memo1->setFocus();
        return;
    }
    if (m_corrected) {
        saveCorrection();
        return;
    }
    const QString folder = studentScreen()->selection().studentFolder;
    // Until the document is written, Edit5 must not name a file that the
    // layout screen would then open: it gets its text back.
    bool documentWritten = false;
    const auto keepEdit5 = qScopeGuard([this, before = Edit5->text(), &documentWritten] {
        if (!documentWritten)
            Edit5->setText(before);
    });

    const std::optional<QString> picture = choosePicture(folder);
    if (!picture)
        return;
    const import::TakenPicture taken =
        import::takePicture(*picture, folder, workspace::picturesFolderPath(workspace::workingFolder()));

    platform::ShowMessage(this, u"il faut tapper un titre pour ce nouveau text"_s);
    const std::optional<import::DocumentNames> chosen = chooseName(folder);
    if (!chosen) {
        platform::ShowMessage(this, u"Aucun texte n'a été sauvegardé. L'image choisie est gardée dans le dossier "
                                    u"de l'élève et ne sera plus proposée."_s);
        return;
    }
    const import::DocumentNames &names = *chosen;
    NomImage = names.pictureName;
    // What was brought in from a file stays text on the page.
    const import::TableOfContents table = import::saveNewDocument(
        names, taken, {platform::linesOf(Memo1), platform::linesOf(Memo1, readingaids::escapeText)}, folder, workspace::templateFolderPath(workspace::workingFolder()),
        [&] {
            documentWritten = true;
            Edit5->setText(names.documentPath);
            studentScreen()->setCurrentDocument(names.documentPath);
        });
    Memo2->setPlainText(table.scratch.join(u'\n'));
    m_saved = true;
    fillDocumentList();
    showSaved();
    documentSaved(names.documentPath);
}

void TForm3::documentSaved(const QString &path)
{
    // A layout screen left open over this one shows the document as saved,
    // and its aids are built from the new text, not from the lines it read
    // at its opening.
    emit documentWritten(path);
}
