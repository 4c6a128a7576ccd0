#include "Vitrine_test.h"

#include "import/Unit3.h"
#include "layout/workingcopies.h"
#include "platform/controls.h"
#include "platform/eventrules.h"
#include "platform/handlers.h"
#include "platform/modal.h"
#include "platform/platform.h"
#include "platform/webview.h"
#include "students/Unit2.h"
#include "workspace/textfile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;
using layout::Commande;
using layout::Police;
namespace line = layout::line;
namespace flag = layout::flag;

QPointer<TForm1> Form1;

TForm1::TForm1(TForm3 *owner)
    : ScreenWindow(owner, Qt::red, Qt::white)
{
    setWindowTitle(u"Form1"_s);
    resize(1366, 1024);
    createControls();
    connectHandlers();
    FormCreate();
    // The sound field's handler starts after the opening.
    platform::connectHandler(Edit6, &QLineEdit::textChanged, this, &TForm1::Edit6ChangeTraccking);
}

TForm3 *TForm1::importScreen() const
{
    return static_cast<TForm3 *>(parentWidget());
}

TForm2 *TForm1::studentScreen() const
{
    return importScreen()->studentScreen();
}

void TForm1::createControls()
{
    using platform::boldFont;
    using platform::plainFont;
    const auto place = [this](QWidget *control, QRect designed) {
        control->setGeometry(designed);
        m_designed.insert(control, designed);
    };
    const auto button = [&](const QString &text, QRect designed, const QFont &font = QFont()) {
        auto *b = new QPushButton(text, this);
        b->setFont(font);
        place(b, designed);
        return b;
    };
    const auto box = [&](const QString &text, QRect designed, const QFont &font = QFont()) {
        auto *b = new platform::CheckBox(text, this);
        b->setFont(font);
        place(b, designed);
        return b;
    };
    const auto edit = [&](QRect designed) {
        auto *e = new QLineEdit(this);
        place(e, designed);
        return e;
    };
    const auto label = [&](const QString &text, QRect designed, const QFont &font = QFont()) {
        auto *l = new QLabel(text, this);
        l->setFont(font);
        place(l, designed);
        return l;
    };

    WebBrowser1 = platform::services().webViews->create(this);
    WebBrowser1->setGeometry(0, 0, 1366, 353);
    WebBrowser2 = platform::services().webViews->create(this);
    WebBrowser2->setGeometry(0, 0, 1366, 353);
    WebBrowser2->hide();

    Button1 = button(u"Sauvegarder ces réglages"_s, {88, 800, 161, 33});
    Button2 = button(u"+Taille"_s, {3, 850, 56, 50});
    Button3 = button(u"- Taille"_s, {3, 900, 56, 49});
    Button4 = button(u"+ EspaceL"_s, {95, 850, 65, 49});
    Button5 = button(u"- EspaceL"_s, {95, 900, 65, 49});
    Button6 = button(u"+EspaceM"_s, {196, 850, 61, 49});
    Button7 = button(u"- EspaceM"_s, {196, 900, 61, 49});
    Button9 = button(u"4->Suite->Diffusion tablette ou PC"_s, {656, 776, 521, 38}, boldFont(16));
    Button10 = button(u"Imprimer la page"_s, {456, 777, 193, 37}, boldFont(16));
    Button11 = button(u"+EcartLettres"_s, {292, 850, 73, 49});
    Button12 = button(u"-EcartLettres"_s, {292, 900, 73, 47});

    // Every control gets a place of its own, where a press reaches it. Where
    // the places of the design overlapped, they were changed as little as
    // the arrangement allows:
    // - the boxes of the aids end before the two size labels and the column
    //   of the font boxes (they were 273 wide, their texts need 190);
    //   "Majuscule" comes down under the two large buttons and keeps the
    //   height of a row (it was 33 high, over both buttons and the next box);
    // - "Surlignement" joins the two border boxes, above them: it lay on the
    //   width track bar's right end, which could then not be grabbed at its
    //   usual position;
    // - the width track bar comes 3 pixels down, clear of "LigneAudessus"
    //   and of the width label; the sound caption ends before that label;
    // - the document path ends before the height track bar.
    CheckBox1 = box(u"Majuscule"_s, {416, 815, 198, 18}, plainFont(16));
    CheckBox2 = box(u"Syllabes en couleurs"_s, {416, 834, 198, 18}, plainFont(16));
    CheckBox3 = box(u"Surlignement"_s, {856, 872, 120, 19});
    CheckBox4 = box(u"Bord  vert/rouge"_s, {856, 896, 120, 19});
    CheckBox4->setChecked(true);
    CheckBox5 = box(u"Bord multicolor"_s, {856, 920, 120, 19});
    CheckBox5->setChecked(true);
    CheckBox6 = box(u"Syllabes tirets"_s, {416, 874, 198, 19}, plainFont(16));
    CheckBox8 = box(u"Lettres muettes"_s, {416, 894, 198, 19}, plainFont(16));
    CheckBox9 = box(u"Phrases en couleurs"_s, {416, 853, 198, 20}, plainFont(16));
    souligne = box(u"Souligne"_s, {687, 896, 120, 19});
    Surligne = box(u"LigneAudessus"_s, {687, 916, 120, 19});
    Dysfont = box(u"DysfontOpen"_s, {687, 846, 120, 19});
    CheckBox7 = box(u"Helvetica"_s, {687, 825, 120, 19});
    Arial = box(u"Arial"_s, {687, 866, 120, 19});

    // The counter fields take the room between their buttons, so that "100"
    // and "-10" show whole (25 pixels held ".00").
    Edit1 = edit({61, 885, 32, 30});
    Edit2 = edit({162, 885, 32, 30});
    Edit3 = edit({259, 885, 31, 30});
    Edit6 = edit({416, 936, 100, 22});
    Edit5 = edit({368, 886, 40, 22});
    Edit4 = platform::makeHiddenEdit(this);
    Edit7 = platform::makeHiddenEdit(this);

    TrackBar1 = new platform::TrackBar(Qt::Horizontal, this);
    place(TrackBar1, {543, 937, 226, 19});
    TrackBar2 = new platform::TrackBar(Qt::Vertical, this);
    place(TrackBar2, {1341, 364, 19, 389});
    // A vertical track bar of the desktop runs from 0 at the top.
    TrackBar2->setInvertedAppearance(true);

    Label1 = label({}, {617, 846, 49, 17});
    Label2 = label({}, {616, 918, 49, 17});
    Label3 = label({}, {16, 752, 1320, 17}, boldFont(14));
    Label4 = label(u"Son à mettre en relief"_s, {424, 914, 190, 17}, boldFont(14));
    Label4->setToolTip(u"Utile en CP CE1"_s);
    Image1 = label({}, {8, 960, 849, 65});
    Image1->setPixmap(QPixmap(u":/pictures/etapes3.png"_s));
    Image1->setScaledContents(true);

    Memo1 = new QPlainTextEdit(this);
    Memo2 = new QPlainTextEdit(this);
    ListBox1 = new QListWidget(this);
    ListBox1->hide();
    ListBox2 = new QListWidget(this);
    ListBox2->hide();
}

void TForm1::connectHandlers()
{
    using platform::connectHandler;
    using platform::onChange;
    using platform::onClick;
    connectHandler(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connectHandler(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connectHandler(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connectHandler(Button9, &QPushButton::clicked, this, &TForm1::Button9Click);
    connectHandler(Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
    connectHandler(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
    connectHandler(Button12, &QPushButton::clicked, this, &TForm1::Button12Click);

    onChange(CheckBox1, this, &TForm1::CheckBox1Change);
    onChange(Arial, this, &TForm1::ArialChange);
    onChange(Dysfont, this, &TForm1::DysfontChange);
    onClick(CheckBox7, this, &TForm1::CheckBox7Click);
    onChange(souligne, this, &TForm1::souligneChange);
    onChange(Surligne, this, &TForm1::SurligneChange);

    onClick(CheckBox2, this, &TForm1::CheckBox2Click);
    onClick(CheckBox6, this, &TForm1::CheckBox6Click);
    onClick(CheckBox8, this, &TForm1::CheckBox8Click);
    onClick(CheckBox9, this, &TForm1::CheckBox9Click);
    onChange(CheckBox3, this, &TForm1::CheckBox3Change);
    onChange(CheckBox4, this, &TForm1::CheckBox4Change);
    onChange(CheckBox5, this, &TForm1::CheckBox5Change);

    onChange(TrackBar1, this, &TForm1::TrackBar1Change);
    onChange(TrackBar2, this, &TForm1::TrackBar2Change);
    platform::onPointerLeave(TrackBar1, this, &TForm1::TrackBarLeave);
    platform::onPointerLeave(TrackBar2, this, &TForm1::TrackBarLeave);
}

QUrl TForm1::documentAddress() const
{
    return QUrl::fromLocalFile(QDir::fromNativeSeparators(Label3->text()));
}

void TForm1::Rafraichir()
{
    const QUrl address = documentAddress();
    if (WebBrowser1->address() == address)
        WebBrowser1->reload();
    else
        WebBrowser1->navigate(address);
}

void TForm1::sauverEtRafraichir()
{
    layout::SauveCSS(cheminW, Css);
    Rafraichir();
}

void TForm1::FormCreate()
{
    // 1. The student folder and the current document, from the student screen.
    cheminW = studentScreen()->Label1->text();
    TitreText = studentScreen()->Edit5->text();
    Label3->setText(TitreText);
    const QString cssPath = cheminW + u"style.css"_s;

    // 2, 3. The style sheet.
    Css = layout::loadCss(cheminW);
    Label1->setText(Css[line::ViewHeight]);
    Label2->setText(Css[line::ViewWidth]);

    // 4.
    platform::ShowMessage(this, u"Version beta 1.1  : "_s);

    // 5. The display, once.
    const QSize display = platform::services().display->size();
    dispX = display.width();
    dispY = display.height();
    resize(display);
    setWindowState(windowState() | Qt::WindowMaximized);
    echelle = layout::echelle(display);

    // 6. The web view's size from lines 49 and 50.
    WebBrowser1->move(0, 0);
    appliquerTaillesVue();

    // 7. The track bars show that size; their change handlers take it back,
    // cap the height and fill lines 49 and 50.
    const double width = WebBrowser1->width();
    const double height = WebBrowser1->height();
    const std::optional<double> exactWidth = layout::readViewSize(Css, line::ViewWidth, cssPath);
    const std::optional<double> exactHeight = layout::readViewSize(Css, line::ViewHeight, cssPath);
    setTrackBarFromSize(TrackBar1, exactWidth.value_or(width), dispX);
    setTrackBarFromSize(TrackBar2, exactHeight.value_or(height), dispY);

    // 8, 9.
    AffichRelatif();
    Memo1->hide();
    Memo2->hide();

    // 10. The counters.
    Edit1->setText(Css[line::FontSize]);
    taille = layout::readFontSize(Css, cssPath);
    afficher(Edit1, taille);
    Edit2->setText(Css[line::LineHeight]);
    espacel = layout::readLineHeight(Css, cssPath);
    afficher(Edit2, espacel);
    Edit3->setText(Css[line::WordSpacing]);
    espacem = layout::readWordSpacing(Css, cssPath);
    afficher(Edit3, espacem);

    // 11. The height track bar once more, from line 50.
    if (const std::optional<double> h = layout::readViewSize(Css, line::ViewHeight, cssPath))
        setTrackBarFromSize(TrackBar2, *h, dispY);

    // 12. The aids recorded in lines 47 and 48.
    if (layout::hasFlag(Css, line::AidFirstSlot, flag::Tiret))
        CheckBox6->setChecked(true);
    if (layout::hasFlag(Css, line::AidSecondSlot, flag::Syllabe)) {
        Css[line::AidSecondSlot].clear();
        CheckBox2->setChecked(false);
    }

    // 13.
    appliquerTaillesVue();

    // 14. The underline boxes; a box that changes runs its change handler,
    // called here so that a failure of its save ends the opening.
    const layout::UnderlineBoxes underline = layout::readUnderline(Css);
    const auto restore = [this](platform::CheckBox *box, bool checked, void (TForm1::*handler)()) {
        if (box->isChecked() == checked)
            return;
        {
            const QSignalBlocker quiet(box);
            box->setChecked(checked);
        }
        (this->*handler)();
    };
    restore(Surligne, underline.surligne, &TForm1::SurligneChange);
    restore(souligne, underline.souligne, &TForm1::souligneChange);

    // 15. The boxes recorded at the last settings save; nothing unchecks.
    if (layout::hasFlag(Css, line::BorderGreenRed, flag::BordVertRouge))
        CheckBox4->setChecked(true);
    if (layout::hasFlag(Css, line::BorderMulticolor, flag::BordMulticolor))
        CheckBox5->setChecked(true);
    if (layout::hasFlag(Css, line::BoxesOn, flag::SyllabesCouleurs))
        CheckBox2->setChecked(true);
    if (layout::hasFlag(Css, line::BoxesOn, flag::PhrasesCouleurs))
        CheckBox9->setChecked(true);
    if (layout::hasFlag(Css, line::BoxesOn, flag::SyllabesTirets))
        CheckBox6->setChecked(true);

    // 16, 17. The document lines; the document is written again from them.
    const QStringList lines = workspace::readLines(Label3->text());
    Memo1->setPlainText(lines.join(u'\n'));
    workspace::writeLines(Label3->text(), lines);

    // 18. With no aid in force, a backup of the document beside it. The flags
    // belong to the student, not to the document: a document that still
    // carries an aid never replaces the backup of the teacher's text.
    if (Css[line::AidFirstSlot].isEmpty() && Css[line::AidSecondSlot].isEmpty() && !layout::carriesAid(lines))
        workspace::writeLines(Label3->text() + u".bak"_s, lines);

    // 19.
    Rafraichir();
}

void TForm1::appliquerTaillesVue()
{
    const QString cssPath = cheminW + u"style.css"_s;
    if (const std::optional<double> width = layout::readViewSize(Css, line::ViewWidth, cssPath)) {
        WebBrowser1->resize(int(*width), WebBrowser1->height());
        Label2->setText(Css[line::ViewWidth]);
    }
    if (const std::optional<double> height = layout::readViewSize(Css, line::ViewHeight, cssPath)) {
        WebBrowser1->resize(WebBrowser1->width(), int(*height));
        Label1->setText(Css[line::ViewHeight]);
    }
}

void TForm1::setTrackBarFromSize(platform::TrackBar *bar, double size, int displaySize)
{
    const int value = layout::trackValue(size, displaySize);
    // A size the track bar can show is kept whole; a size beyond the display
    // becomes the display's.
    if (size * 100.0 / displaySize <= 100)
        m_sizeFromCode = size;
    bar->setValue(value);
    m_sizeFromCode.reset();
}

namespace {

// Lowers a control's text size until its text fits the scaled place, as the
// places shrink on a smaller display and the designed sizes are tight.
void fitText(QWidget *control)
{
    QString text;
    int room = 0; // what the control draws beside its text
    if (auto *box = qobject_cast<QCheckBox *>(control)) {
        text = box->text();
        room = 22;
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        text = button->text();
        room = 8;
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        text = label->text();
    } else if (!qobject_cast<QLineEdit *>(control)) {
        return;
    }
    QFont font = control->font();
    const auto tooLarge = [&] {
        const QFontMetrics metrics(font);
        return metrics.height() > control->height() + 2
            || (!text.isEmpty() && metrics.horizontalAdvance(text) + room > control->width());
    };
    while (font.pointSizeF() > 6 && tooLarge())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    control->setFont(font);
}

} // namespace

void TForm1::AffichRelatif()
{
    for (auto it = m_designed.cbegin(); it != m_designed.cend(); ++it) {
        it.key()->setGeometry(layout::AffichRelatif(it.value(), echelle));
        fitText(it.key());
    }
    for (QLineEdit *field : {Edit1, Edit2, Edit3, Edit5})
        m_counterFonts.insert(field, field->font());
}

void TForm1::afficher(QLineEdit *field, int value)
{
    platform::showWhole(field, QString::number(value), m_counterFonts.value(field, field->font()));
}

void TForm1::TrackBar1Change()
{
    const double width = m_sizeFromCode.value_or(layout::viewWidth(dispX, TrackBar1->value()));
    WebBrowser1->resize(int(width), WebBrowser1->height());
    Label2->setText(layout::wholePixels(width));
    Css[line::ViewWidth] = Label2->text();
}

void TForm1::TrackBar2Change()
{
    double height = m_sizeFromCode.value_or(layout::viewHeight(dispY, TrackBar2->value()));
    if (height > layout::HeightLimit)
        height = layout::HeightAboveLimit;
    WebBrowser1->resize(WebBrowser1->width(), int(height));
    Label1->setText(layout::wholePixels(height));
    Css[line::ViewHeight] = Label1->text();
}

void TForm1::TrackBarLeave()
{
    sauverEtRafraichir();
}

void TForm1::commande(Commande c, QLineEdit *shownIn)
{
    layout::Compteurs compteurs{taille, espacel, espacem, EcarLT};
    const int value = layout::appliquer(c, Css, compteurs);
    taille = compteurs.taille;
    espacel = compteurs.espacel;
    espacem = compteurs.espacem;
    EcarLT = compteurs.EcarLT;
    afficher(shownIn, value);
    sauverEtRafraichir();
}

void TForm1::Button2Click() { commande(Commande::PlusTaille, Edit1); }
void TForm1::Button3Click() { commande(Commande::MoinsTaille, Edit1); }
void TForm1::Button4Click() { commande(Commande::PlusEspaceL, Edit2); }
void TForm1::Button5Click() { commande(Commande::MoinsEspaceL, Edit2); }
void TForm1::Button6Click() { commande(Commande::PlusEspaceM, Edit3); }
void TForm1::Button7Click() { commande(Commande::MoinsEspaceM, Edit3); }
void TForm1::Button11Click() { commande(Commande::PlusEcartLettres, Edit5); }
void TForm1::Button12Click() { commande(Commande::MoinsEcartLettres, Edit5); }

void TForm1::CheckBox1Change()
{
    Css[line::Capitals] = layout::capitalsLine(CheckBox1->isChecked());
    sauverEtRafraichir();
}

void TForm1::choisirPolice(Police police, platform::CheckBox *chosen)
{
    // At most one font box stays checked; a box that becomes unchecked does
    // nothing in its own handler.
    for (platform::CheckBox *other : {Arial, Dysfont, CheckBox7})
        if (other != chosen)
            other->setChecked(false);
    Css[line::FontFamily] = layout::fontFamilyLine(police);
    sauverEtRafraichir();
}

void TForm1::ArialChange()
{
    if (Arial->isChecked())
        choisirPolice(Police::Arial, Arial);
}

void TForm1::DysfontChange()
{
    if (Dysfont->isChecked())
        choisirPolice(Police::Dysfont, Dysfont);
}

void TForm1::CheckBox7Click()
{
    // The click handler sees the state before the click.
    if (!CheckBox7->isChecked())
        choisirPolice(Police::Helvetica, CheckBox7);
}

void TForm1::souligneChange()
{
    Css[line::Underline] = layout::underlineLine(souligne->isChecked());
    sauverEtRafraichir();
}

void TForm1::SurligneChange()
{
    Css[line::Underline] = layout::overlineLine(Surligne->isChecked());
    sauverEtRafraichir();
}

void TForm1::Button1Click()
{
    Css[line::ViewWidth] = Label2->text();
    Css[line::ViewHeight] = Label1->text();
    if (CheckBox4->isChecked())
        Css[line::BorderGreenRed] = flag::BordVertRouge;
    if (CheckBox5->isChecked())
        Css[line::BorderMulticolor] = flag::BordMulticolor;
    if (CheckBox2->isChecked())
        Css[line::BoxesOn] = flag::SyllabesCouleurs;
    if (CheckBox9->isChecked())
        Css[line::BoxesOn] = flag::PhrasesCouleurs;
    if (CheckBox6->isChecked())
        Css[line::BoxesOn] = flag::SyllabesTirets;
    layout::SauveCSS(cheminW, Css);
    // One load of the student's working page.
    const QUrl page = QUrl::fromLocalFile(QDir::fromNativeSeparators(cheminW + u"TexteAlire.html"_s));
    if (WebBrowser1->address() == page)
        WebBrowser1->reload();
    else
        WebBrowser1->navigate(page);

    // Back to a student screen: a new one, owned by this screen, which stays
    // hidden afterwards.
    auto *students = new TForm2(this);
    hide();
    platform::showModal(students);
}

void TForm1::Button10Click()
{
    platform::ShowMessage(this, u"Clic droit sur la page -> Imprimer"_s);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    platform::endProgram();
    event->accept();
}
