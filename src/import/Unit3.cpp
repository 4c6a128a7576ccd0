#include "Unit3.h"

#include "import/eleve.h"
#include "layout/Vitrine_test.h"
#include "platform/handlers.h"
#include "platform/platform.h"
#include "students/Unit2.h"
#include "workspace/paths.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString NothingSaved = u"TexteAlire.html"_s;

} // namespace

TForm3::TForm3(TForm2 *owner)
    : ScreenWindow(owner, QColor(0x0C, 0x7B, 0x7B), Qt::white)
{
    setWindowTitle(u"Form3"_s);
    resize(1366, 980);
    createControls();
    connectHandlers();
    FormCreate();
}

TForm2 *TForm3::studentScreen() const
{
    return static_cast<TForm2 *>(parentWidget());
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
    using platform::boldFont, platform::makeEdit, platform::makeHiddenEdit, platform::makeLabel, platform::plainFont;
    Label1 = makeLabel(this, u"Importer des textes"_s, plainFont(48), {16, 4, 700, 80});
    Button2 = new QPushButton(u"Copier(ctrl+c) et coller(Ctrl+v)"_s, this);
    Button2->setFont(boldFont(16));
    Button2->setGeometry(16, 92, 420, 40);
    Button3 = new QPushButton(u"Importer du texte (.txt/.doc/.pdf ...)"_s, this);
    Button3->setFont(boldFont(16));
    Button3->setGeometry(16, 138, 420, 40);

    Label4 = makeLabel(this, u"NOM"_s, plainFont(12), {450, 92, 80, 24});
    Edit1 = makeEdit(this, {530, 90, 200, 26});
    Label5 = makeLabel(this, u"PRENOM"_s, plainFont(12), {450, 122, 80, 24});
    Edit2 = makeEdit(this, {530, 120, 200, 26});
    Label6 = makeLabel(this, u"CLASSE"_s, plainFont(12), {450, 152, 80, 24});
    Edit3 = makeEdit(this, {530, 150, 200, 26});
    Label7 = makeLabel(this, u"MAIL"_s, plainFont(12), {450, 182, 80, 24});
    Edit4 = makeEdit(this, {530, 180, 200, 26});
    Image2 = new QLabel(this);
    Image2->setGeometry(640, 214, 89, 97);
    Image2->setScaledContents(true);

    Label3 = makeLabel(this, u"ELEVE ACTUEL :"_s, boldFont(14), {16, 230, 600, 24});
    Label2 = makeLabel(this, u"REPERTOIRE ACTUEL : "_s, boldFont(14), {16, 258, 1330, 24});
    Label8 = makeLabel(this, u"TEXT ACTUEL"_s, boldFont(14), {16, 290, 150, 26});
    Edit5 = makeEdit(this, {170, 288, 1185, 30});
    Edit5->setFont(plainFont(14));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(8, 326, 1350, 385);
    Memo1->setFont(plainFont(14));

    Button7 = makeStepButton(u" 1->Coller ou Ecrire le texte dans la grande fenêtre "_s, 4);
    Button1 = makeStepButton(u" 2->Choisir un logo et ->Sauvegarder le texte "_s, 48);
    Button6 = makeStepButton(u" 3->Faire la Mise en Page Dys"_s, 92);
    Button6->setToolTip(u"MP = Mise en Page"_s);
    Button5 = makeStepButton(u" 4->Accès direct au menu diffusion sans MP Dys"_s, 136);
    Button5->setToolTip(u"Suppose que la mise en page a déjà été faite une fois"_s);
    Button1->hide();
    Button6->hide();
    Button5->hide();
    Label9 = makeLabel(this,
                       u"Vous devez choisir entre 3 : réaliser une nouvelle mise en page ou 4 réutiliser celle réalisée précédemment"_s,
                       boldFont(14), {16, 720, 1340, 26});
    Label9->setStyleSheet(u"color: red;"_s);
    Label9->hide();

    WebBrowser2 = platform::services().webViews->create(this);
    WebBrowser2->setGeometry(1070, 184, 287, 183);
    WebBrowser2->hide();

    Image1 = new QLabel(this);
    Image1->setGeometry(16, 880, 1041, 90);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(u":/pictures/etapes2.png"_s));

    Memo2 = new QPlainTextEdit(this);
    Memo2->hide();
    Edit6 = makeHiddenEdit(this);
    Edit7 = makeHiddenEdit(this);
}

void TForm3::connectHandlers()
{
    using platform::connectHandler;
    connectHandler(Button7, &QPushButton::clicked, this, &TForm3::Button7Click);
    connectHandler(Memo1, &QPlainTextEdit::textChanged, this, &TForm3::Memo1ChangeTracking);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
    connectHandler(Button6, &QPushButton::clicked, this, &TForm3::Button6Click);
}

void TForm3::FormCreate()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    const TForm2 *student = studentScreen();
    Label2->setText(student->Label1->text());
    Label3->setText(student->Label5->text());
    Edit6->setText(student->Label1->text());
    Edit7->setText(student->Edit10->text());
    const QString identity = Label3->text().mid(15);
    Edit5->setText(NothingSaved);
    MiseEnPage = false;
    Button7->setFocus();
    const import::TEleve eleve = import::splitIdentity(identity);
    Edit1->setText(eleve.nom);
    Edit2->setText(eleve.prenom);
    Edit3->setText(eleve.classe);
    Edit4->setText(eleve.mail);
    Edit3->setText(student->Edit3->text());
}

void TForm3::Button7Click()
{
    Memo1->insertPlainText(platform::services().clipboard->text());
    Button1->show();
    Button7->hide();
}

void TForm3::Memo1ChangeTracking()
{
    const QStringList lines = platform::linesOf(Memo1);
    if (lines.isEmpty() || lines.first().isEmpty())
        return;
    Button7->hide();
    Button1->show();
    Button1->setFocus();
}

void TForm3::Button2Click()
{
    // Cut, copy, then paste: a selection ends up on the clipboard and back in
    // its place; without one, the clipboard's text is inserted at the caret.
    platform::Clipboard &clipboard = *platform::services().clipboard;
    QTextCursor cursor = Memo1->textCursor();
    if (cursor.hasSelection()) {
        clipboard.setText(cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n'));
        cursor.removeSelectedText();
    }
    cursor.insertText(clipboard.text());
    Memo1->setTextCursor(cursor);
}

void TForm3::Button3Click()
{
    const QString chosen = OpenDialog1.Execute(this) ? OpenDialog1.FileName : QString();
    platform::services().shell->openFile(chosen);
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
    WebBrowser2->show();
    WebBrowser2->navigate(workspace::travauxAddress(workspace::workingFolder()));
    Form1 = new TForm1(this);
    Form1->show();
    Form1->Label3->setText(Edit5->text());
}
