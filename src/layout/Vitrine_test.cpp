#include "Vitrine_test.h"

#include "layout/lecture.h"
#include "layout/loaddocument.h"
#include "layout/opening.h"
#include "layout/reapply.h"
#include "platform/controls.h"
#include "platform/eventrules.h"
#include "platform/handlers.h"
#include "platform/modal.h"
#include "platform/platform.h"
#include "platform/webview.h"
#include "students/currentstudent.h"
#include "students/selection.h"
#include "workspace/paths.h"

#include <QCheckBox>
#include <QComboBox>

#include <algorithm>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

using namespace Qt::StringLiterals;
using layout::Commande;
using layout::Police;
namespace line = layout::line;

QPointer<TForm1> Form1;

TForm1::TForm1(QWidget *owner, students::CurrentStudent &student)
    : ScreenWindow(owner, Qt::red, Qt::white)
    , m_student(student)
{
    setWindowTitle(u"Tessavo - Mise en page"_s);
    resize(1366, 1024);
    createControls();
    connectHandlers();
    FormCreate();
    // The sound field's handler starts after the opening.
    platform::connectHandler(Edit6, &QLineEdit::textChanged, this, &TForm1::Edit6ChangeTraccking);
}

students::CurrentStudent *TForm1::studentScreen() const
{
    return &m_student;
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
    WebBrowser1->setGeometry(QRect(QPoint(0, 0), layout::DesignedView));
    WebBrowser2 = platform::services().webViews->create(this);
    WebBrowser2->setGeometry(QRect(QPoint(0, 0), layout::DesignedView));
    WebBrowser2->hide();

    Button1 = button(u"Sauvegarder ces réglages"_s, {88, 800, 161, 33});
    // Each counter stands in a column of its own, its field between its two
    // buttons, so that every caption shows whole at its own text size (side
    // by side, "+EcartLettres" had 73 pixels and was shown 7 pixels high).
    Button2 = button(u"+Taille"_s, {3, 850, 84, 32});
    Button3 = button(u"- Taille"_s, {3, 914, 84, 32});
    Button4 = button(u"+ EspaceL"_s, {91, 850, 98, 32});
    Button5 = button(u"- EspaceL"_s, {91, 914, 98, 32});
    Button6 = button(u"+EspaceM"_s, {193, 850, 100, 32});
    Button7 = button(u"- EspaceM"_s, {193, 914, 100, 32});
    Button9 = button(u"4->Suite->Diffusion tablette ou PC"_s, {656, 776, 521, 38}, boldFont(16));
    Button10 = button(u"Imprimer la page"_s, {456, 777, 193, 37}, boldFont(16));
    // The page as a tablet shows it, under the "entendu" box.
    ButtonTablette = button(u"Aperçu tablette"_s, {1185, 778, 150, 34});
    auto *sizes = new QMenu(ButtonTablette);
    for (qsizetype i = 0; i < layout::tabletSizes().size(); ++i)
        sizes->addAction(layout::tabletSizes()[i].caption, this, [this, i] {
            platform::runHandler(this, [this, i] { apercuTablette(int(i)); });
        });
    sizes->addSeparator();
    sizes->addAction(u"Revenir à la taille de l'écran"_s, this,
                     [this] { platform::runHandler(this, [this] { apercuTablette(-1); }); });
    ButtonTablette->setMenu(sizes);
    Button11 = button(u"+EcartLettres"_s, {297, 850, 112, 32});
    Button12 = button(u"-EcartLettres"_s, {297, 914, 112, 32});

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

    Edit1 = edit({21, 884, 48, 28});
    Edit2 = edit({116, 884, 48, 28});
    Edit3 = edit({219, 884, 48, 28});
    Edit6 = edit({416, 936, 100, 22});
    Edit5 = edit({329, 884, 48, 28});
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
    // The "entendu" box serves every word aid: it stands apart, right of
    // the border boxes, in the aid boxes' font. Its note stands on the sound
    // field's row, under the border boxes, beside the banner, with room for
    // two lines.
    Entendu = box(layout::EntenduCaption, {990, 834, 300, 22}, plainFont(16));
    SyllabesSuite = box(layout::SuiteCaption, {990, 858, 300, 22}, plainFont(16));
    SyllabesSuite->setToolTip(u"Coché : les syllabes en couleurs vont en rouge et vert, l'une après l'autre, "
                              u"tout au long de la ligne, au lieu de reprendre en rouge à chaque mot"_s);
    LabelMots = label(layout::MotsAVerifierCaption, {860, 984, 120, 18});
    MotsAVerifier = new QListWidget(this);
    MotsAVerifier->setObjectName(u"motsAVerifier"_s);
    MotsAVerifier->setToolTip(u"Les mots que la phrase fait lire (ils couvent, le fils, tu as...) et ceux que "
                              u"espeak-ng ne sait pas lire : un clic ouvre leur correction"_s);
    place(MotsAVerifier, {985, 984, 350, 38});
    Lecture = box(layout::LectureCaption, {990, 882, 220, 22}, plainFont(16));
    LectureVitesse = new QComboBox(this);
    place(LectureVitesse, {1215, 882, 110, 24});
    Ecouter = button(u"Écouter"_s, {990, 908, 110, 28});
    PauseLecture = button(u"Pause"_s, {1105, 908, 110, 28});
    PauseLecture->setEnabled(false);
    LabelEntendu = label({}, {860, 940, 480, 40});
    LabelEntendu->setWordWrap(true);
    LabelEntendu->setAlignment(Qt::AlignLeft | Qt::AlignTop);
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
    onClick(Entendu, this, &TForm1::EntenduClick);
    onClick(SyllabesSuite, this, &TForm1::SyllabesSuiteClick);
    connect(MotsAVerifier, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const QString word = item->data(Qt::UserRole).toString();
        WebBrowser1->showWord(item->text());
        platform::runHandler(this, [this, word] { corrigerMot(word); });
    });
    onChange(Lecture, this, &TForm1::LectureChange);
    connectHandler(LectureVitesse, &QComboBox::currentIndexChanged, this, &TForm1::LectureChange);
    connectHandler(Ecouter, &QPushButton::clicked, this, &TForm1::EcouterClick);
    connectHandler(PauseLecture, &QPushButton::clicked, this, &TForm1::PauseLectureClick);
    connect(WebBrowser1, &platform::WebView::wordCorrectionAsked, this,
            [this](const QString &word) { platform::runHandler(this, [this, word] { corrigerMot(word); }); });

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
    arreterLecture();
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
    const students::Selection selection = studentScreen()->selection();
    cheminW = selection.studentFolder;
    TitreText = selection.document;
    Label3->setText(TitreText);
    Css = layout::loadCss(cheminW);
    // The opening empties line 48; the document's aid is looked for as written.
    const layout::Css asWritten = Css;

    platform::ShowMessage(this, u"Version beta 1.1  : "_s);

    // The display is read once: the controls are laid out for it now, and a
    // change of the window's size afterwards moves nothing. The track bars
    // measure the page against the whole display; the window and its
    // controls take the part of it left by task bars and docks and by the
    // window's title bar, so that the lowest controls stay on screen.
    const QSize display = platform::services().display->size();
    dispX = display.width();
    dispY = display.height();
    m_area = platform::services().display->availableArea();
    // The window with its title bar takes the area, whether or not the
    // window manager maximises it.
    const QSize client = m_area.size() - QSize(0, platform::TitleBarAllowance);
    resize(client);
    move(m_area.topLeft());
    agencement = layout::agencement(client);

    montrer(layout::openingOf(Css, display, cheminW + u"style.css"_s));

    // Read at the opening, so that a corrections file that cannot be read is
    // told at once; each command reads it again (another screen, another
    // Tessavo, may have added a word since).
    layout::loadCorrections(workspace::workingFolder());
    m_entendu = layout::entenduBox(cheminW);
    Entendu->setEnabled(m_entendu.enabled);
    Entendu->setChecked(m_entendu.checked);
    Entendu->setToolTip(m_entendu.enabled ? u"Coché : les syllabes, les lettres muettes et le son se lisent à "
                                            u"l'oreille, d'après la prononciation (ba|teau, peti[t], « on » "
                                            u"dans « bonbon », pas dans « bonne »)"_s
                                          : m_entendu.reason);
    montrerEntendu();
    SyllabesSuite->setChecked(layout::syllablesInARow(cheminW));
    montrerLecture();

    chargerDocument(asWritten);
    Rafraichir();
}

void TForm1::chargerDocument(const layout::Css &flags)
{
    layout::loadDocument(Label3->text(), Css,
                         [this](const QStringList &lines) { Memo1->setPlainText(lines.join(u'\n')); });
    montrerBords();
    montrerAide(flags);
    const QSignalBlocker quiet(CheckBox3);
    CheckBox3->setChecked(layout::highlightShown(platform::linesOf(Memo1)));
    montrerMotsAVerifier();
}

void TForm1::relireDocument(const QString &path)
{
    // The same file, however its path was typed.
    if (QFileInfo(path) != QFileInfo(Label3->text()))
        return;
    // A correction may have put the document's aid back, and written its
    // flag lines.
    layout::takeAidFlags(Css, layout::loadCss(cheminW));
    chargerDocument(Css);
    // Loaded anew: the logo may have changed under the same name.
    if (WebBrowser1->address() == documentAddress())
        WebBrowser1->reloadWhole();
    else
        WebBrowser1->navigate(documentAddress());
}

void TForm1::montrer(const layout::Opening &opening)
{
    // Sizes the student's style sheet does not give yet.
    const bool widthGiven = !Css[line::ViewWidth].trimmed().isEmpty();
    const bool heightGiven = !Css[line::ViewHeight].trimmed().isEmpty();
    Css = opening.css;
    Label1->setText(opening.heightLabel);
    Label2->setText(opening.widthLabel);
    {
        const QSignalBlocker quietWidth(TrackBar1);
        const QSignalBlocker quietHeight(TrackBar2);
        TrackBar1->setValue(opening.widthBar);
        TrackBar2->setValue(opening.heightBar);
    }
    // The labels hold their texts before the scaling fits them.
    AffichRelatif();
    // A size the style sheet does not give fills the room above the controls
    // (rather than the designed strip of a few lines); the track bars and
    // labels show it as when the teacher sets it.
    QSize view = opening.view;
    int widthBar = opening.widthBar;
    int heightBar = opening.heightBar;
    if (!widthGiven) {
        view.setWidth(m_roomForPage.width());
        widthBar = layout::trackValue(view.width(), dispX);
        Label2->setText(layout::wholePixels(view.width()));
        Css[line::ViewWidth] = Label2->text();
    }
    if (!heightGiven) {
        view.setHeight(m_roomForPage.height());
        heightBar = layout::trackValue(view.height(), dispY);
        Label1->setText(layout::wholePixels(view.height()));
        Css[line::ViewHeight] = Label1->text();
    }
    {
        const QSignalBlocker quietWidth(TrackBar1);
        const QSignalBlocker quietHeight(TrackBar2);
        TrackBar1->setValue(widthBar);
        TrackBar2->setValue(heightBar);
    }
    placerVue(view);
    Memo1->hide();
    Memo2->hide();

    taille = opening.counters.taille;
    espacel = opening.counters.espacel;
    espacem = opening.counters.espacem;
    afficher(Edit1, taille);
    afficher(Edit2, espacel);
    afficher(Edit3, espacem);
    EcarLT = opening.counters.EcarLT;
    if (opening.ecartLu)
        afficher(Edit5, EcarLT);

    // Every box says what the lines give the page; no handler runs.
    showAidBoxes(opening.aids);
    montrerSoulignement();
    const QSignalBlocker quietCapitals(CheckBox1);
    CheckBox1->setChecked(opening.majuscule);
    const std::pair<platform::CheckBox *, Police> fonts[] = {
        {Arial, Police::Arial}, {Dysfont, Police::Dysfont}, {CheckBox7, Police::Helvetica}};
    for (const auto &[fontBox, police] : fonts) {
        const QSignalBlocker quietFont(fontBox);
        fontBox->setChecked(opening.police == police);
    }
}

void TForm1::montrerSoulignement()
{
    // Each box writes line 27 alone; both then say what the line gives.
    const layout::UnderlineBoxes shown = layout::readUnderline(Css);
    const QSignalBlocker quietOverline(Surligne);
    const QSignalBlocker quietUnderline(souligne);
    Surligne->setChecked(shown.surligne);
    souligne->setChecked(shown.souligne);
}

void TForm1::setCurrentDocument(const QString &path)
{
    arreterLecture();
    Label3->setText(path);
}

platform::CheckBox *TForm1::boxOf(layout::AidBox box) const
{
    switch (box) {
    case layout::AidBox::SyllablesInColours:
        return CheckBox2;
    case layout::AidBox::SyllablesWithDashes:
        return CheckBox6;
    case layout::AidBox::SilentLetters:
        return CheckBox8;
    case layout::AidBox::SentencesInColours:
        break;
    }
    return CheckBox9;
}

namespace {

constexpr layout::AidBox AllAidBoxes[] = {layout::AidBox::SyllablesInColours, layout::AidBox::SyllablesWithDashes,
                                          layout::AidBox::SilentLetters, layout::AidBox::SentencesInColours};

} // namespace

layout::AidBoxes TForm1::aidBoxes() const
{
    layout::AidBoxes states;
    for (const layout::AidBox box : AllAidBoxes)
        states[box] = boxOf(box)->isChecked();
    return states;
}

void TForm1::showAidBoxes(const layout::AidBoxes &states)
{
    // Their handlers run on a click only.
    for (const layout::AidBox box : AllAidBoxes)
        boxOf(box)->setChecked(states[box]);
}

layout::BorderBoxes TForm1::borderBoxes() const
{
    return {CheckBox4->isChecked(), CheckBox5->isChecked()};
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
        it.key()->setGeometry(it.key() == TrackBar2 ? layout::placerBarreHauteur(it.value(), agencement)
                                                    : layout::placer(it.value(), agencement));
        fitText(it.key());
    }
    for (QLineEdit *field : {Edit1, Edit2, Edit3, Edit5})
        m_counterFonts.insert(field, field->font());
    // The page takes the room left of the height track bar and above the
    // band of controls; a gap of a few pixels keeps its edges off them.
    m_roomForPage = QSize(std::max(0, TrackBar2->geometry().left() - 2), std::max(0, agencement.pageBottom));
}

void TForm1::placerVue(QSize size)
{
    // A size set on the teacher's screen ends a tablet's preview.
    if (m_tailleEnseignant) {
        WebBrowser1->setZoom(1);
        m_tailleEnseignant.reset();
    }
    WebBrowser1->setGeometry(QRect(QPoint(0, 0), size.boundedTo(m_roomForPage)));
}

void TForm1::afficher(QLineEdit *field, int value)
{
    platform::showWhole(field, QString::number(value), m_counterFonts.value(field, field->font()));
}

void TForm1::TrackBar1Change()
{
    const double width = layout::viewWidth(dispX, TrackBar1->value());
    placerVue(QSize(int(width), WebBrowser1->height()));
    Label2->setText(layout::wholePixels(width));
    Css[line::ViewWidth] = Label2->text();
}

void TForm1::TrackBar2Change()
{
    const double height = layout::viewHeight(dispY, TrackBar2->value());
    placerVue(QSize(WebBrowser1->width(), int(height)));
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
    montrerSoulignement();
    sauverEtRafraichir();
}

void TForm1::SurligneChange()
{
    Css[line::Underline] = layout::overlineLine(Surligne->isChecked());
    montrerSoulignement();
    sauverEtRafraichir();
}

void TForm1::Button1Click()
{
    layout::recordSettings(Css, Label2->text(), Label1->text(), borderBoxes(), aidBoxes());
    layout::SauveCSS(cheminW, Css);
    preparerLecture();
    // One load of the student's working page.
    const QUrl page = QUrl::fromLocalFile(QDir::fromNativeSeparators(cheminW + u"TexteAlire.html"_s));
    if (WebBrowser1->address() == page)
        WebBrowser1->reload();
    else
        WebBrowser1->navigate(page);

    // Back to a student screen: a new one, owned by this screen, which stays
    // hidden afterwards.
    emit studentScreenRequested();
}

void TForm1::apercuTablette(int index)
{
    if (index < 0 || index >= layout::tabletSizes().size()) {
        if (!m_tailleEnseignant)
            return;
        WebBrowser1->setZoom(1);
        WebBrowser1->setGeometry(QRect(QPoint(0, 0), *m_tailleEnseignant));
        m_tailleEnseignant.reset();
        return;
    }
    if (!m_tailleEnseignant)
        m_tailleEnseignant = WebBrowser1->size();
    // The room of the page on this screen, left of the height track bar.
    const QSize room(TrackBar2->geometry().left() - 2, m_roomForPage.height());
    const layout::Apercu apercu = layout::apercuTablette(layout::tabletSizes()[index].size, room);
    WebBrowser1->setGeometry(QRect(QPoint(0, 0), apercu.view));
    WebBrowser1->setZoom(apercu.zoom);
}

void TForm1::Button10Click()
{
    platform::ShowMessage(this, u"Clic droit sur la page -> Imprimer"_s);
}

void TForm1::showEvent(QShowEvent *event)
{
    ScreenWindow::showEvent(event);
    // Maximised once it is on the screen: asked before, a window with a web
    // view was left as it was mapped, its title bar above the display.
    if (!m_maximised) {
        m_maximised = true;
        QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });
    }
}

void TForm1::closeEvent(QCloseEvent *event)
{
    platform::endProgram();
    event->accept();
}
