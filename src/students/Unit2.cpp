#include "Unit2.h"

#include "platform/handlers.h"
#include "platform/modal.h"
#include "platform/platform.h"
#include "publishing/remotepaths.h"
#include "students/identity.h"
#include "students/publicaddress.h"
#include "students/registration.h"
#include "students/studentlist.h"
#include "workspace/folding.h"
#include "workspace/paths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

QString RepertoireW;
QString RepertoireR;
QString NomClasse;
QPointer<TForm2> Form2;

namespace {

// The help page, installed in the working folder with the templates.
const QString HelpPage = u"A_lire_une_Fois.htm"_s;

// Replaces the field's text by its upper-cased form, keeping the caret.
void upperCaseField(QLineEdit *edit)
{
    const QString upper = workspace::upperCaseClassField(edit->text());
    if (upper == edit->text())
        return;
    const int caret = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(caret);
}

} // namespace

TForm2::TForm2(QWidget *owner)
    : ScreenWindow(owner, QColor(0xFF, 0xD7, 0x00), Qt::white)
    , IdFTP1(platform::services().ftp->create())
{
    setWindowTitle(u"Tessavo - Élèves"_s);
    createControls();
    fitToScreen({939, 623});
    connectHandlers();
    platform::runHandler(this, [this] { FormCreate(); });
}

void TForm2::createControls()
{
    using platform::boldFont, platform::makeEdit, platform::makeHiddenEdit, platform::makeLabel;
    Label3 = makeLabel(this, u"Choisir un élève                  ou                  Enregistrer un nouvel élève"_s,
                       boldFont(24), {16, 8, 915, 44});
    platform::shrinkToFit(Label3);
    Label4 = makeLabel(this, u"Elèves enregistrés"_s, boldFont(14), {16, 60, 257, 26});
    ListView1 = new QListWidget(this);
    ListView1->setGeometry(16, 90, 257, 293);
    ListView1->setStyleSheet(u"QListWidget::item { height: 30px; }"_s);

    Image2 = new QLabel(this);
    Image2->setGeometry(306, 90, 137, 153);
    Image2->setPixmap(QPixmap(u":/pictures/badge.png"_s));
    Label8 = makeLabel(this, u"Tessavo"_s, boldFont(48), {490, 384, 430, 72});
    Label8->setStyleSheet(u"color: #008B8B;"_s);

    const QString hintClass = u"Obligatoire la 1ere fois"_s;
    const QString hintStudent = u"Nouveau nom ou choisir à gauche dans la liste"_s;
    const int captionX = 490, editX = 580, editWidth = 330;
    Label6 = makeLabel(this, u"Ville"_s, boldFont(12), {captionX, 96, 90, 26});
    Edit8 = makeEdit(this, {editX, 94, editWidth, 28}, u"Ville"_s, hintClass);
    Label7 = makeLabel(this, u"Ecole"_s, boldFont(12), {captionX, 132, 90, 26});
    Edit9 = makeEdit(this, {editX, 130, editWidth, 28}, u"Ecole"_s, hintClass);
    Classe = makeLabel(this, u"Classe"_s, boldFont(12), {captionX, 168, 90, 26});
    Edit3 = makeEdit(this, {editX, 166, editWidth, 28}, u"Classe"_s, hintClass);
    NOM = makeLabel(this, u"NOM"_s, boldFont(12), {captionX, 218, 90, 26});
    Edit1 = makeEdit(this, {editX, 216, editWidth, 28}, u"Nom"_s, hintStudent);
    PrenomL = makeLabel(this, u"Prenom"_s, boldFont(12), {captionX, 254, 90, 26});
    Edit2 = makeEdit(this, {editX, 252, editWidth, 28}, u"Prénom"_s, hintStudent);
    Label2 = makeLabel(this, u"Mail"_s, boldFont(12), {captionX, 290, 90, 26});
    Edit4 = makeEdit(this, {editX, 288, editWidth, 28}, u"@"_s, hintStudent);

    // The two step buttons share one place, as wide as the fields above
    // them, so that "Suite -> Importer du texte" covers the other one whole
    // and its caption shows whole in the wider faces too (DejaVu Sans needs
    // 322 pixels where the design gave it 265).
    const QRect stepPlace{editX, 340, editWidth, 36};
    Button1 = new QPushButton(u"Enregistrer cet élève"_s, this);
    QFont symbolFont = boldFont(16);
    symbolFont.setFamilies(QStringList{u"Segoe UI Symbol"_s} + symbolFont.families());
    Button1->setFont(symbolFont);
    Button1->setGeometry(stepPlace);
    Button2 = new QPushButton(u"Suite -> Importer du texte"_s, this);
    Button2->setFont(boldFont(16));
    Button2->setGeometry(stepPlace);
    Button2->hide();
    platform::shrinkToFit(Button1);
    platform::shrinkToFit(Button2);
    Button3 = new QPushButton(u"Info"_s, this);
    Button3->setFont(boldFont(16));
    Button3->setGeometry(306, 260, 137, 36);
    Button3->setStyleSheet(u"QPushButton:pressed { color: red; }"_s);
    Label8->installEventFilter(this);
    using platform::makeButton;
    Button4 = makeButton(this, u"Rendre l'adresse discrète"_s, boldFont(10), {290, 304, 180, 32});
    Button4->setToolTip(u"Publie l'élève sous un code, sans son nom ni son adresse électronique, et retire du serveur "
                        u"le dossier à son nom"_s);
    Button4->hide();
    Button5 = makeButton(this, u"Retirer cet élève"_s, boldFont(10), {16, 388, 257, 30});
    Button6 = makeButton(this, u"Retirer la classe du serveur"_s, boldFont(10), {16, 422, 257, 30});
    Button7 = makeButton(this, u"Adresse pour la tablette"_s, boldFont(10), {290, 340, 180, 32});
    Button7->hide();
    CheckBox1 = new QCheckBox(u"Réseau de la classe"_s, this);
    CheckBox1->setFont(boldFont(10));
    CheckBox1->setGeometry(290, 378, 190, 26);
    CheckBox1->setToolTip(u"Les tablettes de la classe lisent les documents des élèves sur cet ordinateur, par le "
                          u"code de chaque élève"_s);

    Label5 = makeLabel(this, students::eleveActuel({}), boldFont(14), {16, 460, 900, 26});
    Label1 = makeLabel(this, u"REPERTOIRE ACTUEL : "_s, boldFont(14), {16, 488, 873, 26});
    Image1 = new QLabel(this);
    Image1->setGeometry(16, 524, 900, 90);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(u":/pictures/etapes1.png"_s));

    Edit5 = makeHiddenEdit(this);
    Edit6 = makeHiddenEdit(this);
    Edit7 = makeHiddenEdit(this);
    Edit10 = makeHiddenEdit(this);

    setTabOrder(Edit8, Edit9);
    setTabOrder(Edit9, Edit3);
    setTabOrder(Edit3, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit4);
    setTabOrder(Edit4, Button1);
    setTabOrder(Button1, ListView1);
    setTabOrder(ListView1, Button2);
}

void TForm2::connectHandlers()
{
    using platform::connectHandler;
    connectHandler(Edit8, &QLineEdit::textChanged, this, &TForm2::Edit8Change);
    connectHandler(Edit9, &QLineEdit::textChanged, this, &TForm2::Edit9Change);
    connectHandler(Edit3, &QLineEdit::textChanged, this, &TForm2::Edit3Change);
    for (QLineEdit *field : {Edit8, Edit9, Edit3, Edit1, Edit2, Edit4})
        connectHandler(field, &QLineEdit::textChanged, this, &TForm2::identityChanged);
    connectHandler(ListView1, &QListWidget::itemClicked, this, &TForm2::ListView1Click);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm2::Button4Click);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm2::Button5Click);
    connectHandler(Button6, &QPushButton::clicked, this, &TForm2::Button6Click);
    connectHandler(Button7, &QPushButton::clicked, this, &TForm2::Button7Click);
    connectHandler(CheckBox1, &QCheckBox::clicked, this, &TForm2::CheckBox1Click);
}

void TForm2::FormCreate()
{
    const QString workingFolder = workspace::workingFolder();
    const QString ecole = workingFolder + workspace::separator() + workspace::EcoleTxt;
    const bool hasClass = QFileInfo::exists(ecole);
    if (hasClass) {
        const workspace::SchoolClass lines = workspace::readEcole(ecole);
        Edit8->setText(lines.city);
        Edit9->setText(lines.school);
        NomClasse = lines.schoolClass;
        Edit3->setText(NomClasse);
        RepertoireW = workspace::studentsFolderPath(
            workingFolder, workspace::classFolderName(lines.city, lines.school, NomClasse));
    }
    RepertoireR = workspace::templateFolderPath(workingFolder);
    showStudentFolder(RepertoireW);
    showClassroomNetwork();
    if (hasClass)
        fillStudentList();
}

void TForm2::fillStudentList()
{
    ListView1->clear();
    ListView1->addItems(students::studentFolderNames(RepertoireW));
}

students::Selection TForm2::selection() const
{
    students::Selection current = m_selection;
    // The teacher may have typed another class since the choice.
    current.schoolClass = Edit3->text();
    return current;
}

void TForm2::setCurrentDocument(const QString &path)
{
    m_selection.document = path;
    Edit5->setText(path);
    Edit6->setText(m_selection.studentFolder);
}

void TForm2::showStudentFolder(const QString &path)
{
    m_selection.studentFolder = path;
    Label1->setText(path);
}

void TForm2::showStudent(const QString &folderName)
{
    m_selection.student = folderName;
    Edit7->setText(folderName);
    Label5->setText(students::eleveActuel(folderName));
}

void TForm2::showRemoteFolder(const QString &CheminFTP)
{
    m_selection.remoteFolder = CheminFTP;
    Edit10->setText(CheminFTP);
}

void TForm2::Edit8Change()
{
    upperCaseField(Edit8);
}

void TForm2::Edit9Change()
{
    upperCaseField(Edit9);
}

void TForm2::Edit3Change()
{
    upperCaseField(Edit3);
}

void TForm2::ListView1Click()
{
    const QListWidgetItem *item = ListView1->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    // The remote folder is made of the class fields as they stand: they are
    // checked as a registration checks them before anything changes.
    const students::Identity classFields =
        students::cleanIdentity({Edit8->text(), Edit9->text(), Edit3->text(), {}, {}, {}});
    if (const workspace::Result<void> checked = students::checkClassFields(classFields); !checked) {
        platform::ShowMessage(this, checked.reason());
        return;
    }
    // The identity from the student's line in the register: "Le_Goff_Anne_x"
    // is Le Goff, Anne, not Le, Goff.
    const students::StudentIdentity student = students::listedStudent(RepertoireW, name);
    const QString CheminFTP = students::listedRemoteFolder(classFields, student,
                                                           RepertoireW + name + workspace::separator(),
                                                           students::namedAddresses(workspace::workingFolder()));
    if (!publishing::isPlainRemotePath(CheminFTP)) {
        platform::ShowMessage(this, u"Le dossier « %1 » ne peut pas être publié sous ce nom : il contient « \\ » ou "
                                    u"un caractère invisible. Renommez-le."_s.arg(name));
        return;
    }
    Edit8->setText(classFields.city);
    Edit9->setText(classFields.school);
    Edit3->setText(classFields.schoolClass);
    showStudent(name);
    showStudentFolder(RepertoireW + name + workspace::separator());
    Edit1->setText(students::shownName(student.surname));
    Edit2->setText(students::shownName(student.firstName));
    Edit4->setText(student.mail);
    showRemoteFolder(CheminFTP);
    Button4->setVisible(!students::namedAddresses(workspace::workingFolder())
                        && !students::readPublicAddress(m_selection.studentFolder));
    Button7->show();
    Button1->hide();
    Button2->show();
    Button2->setFocus();
    rememberShownPupil();
}

students::Identity TForm2::fieldsNow() const
{
    return students::cleanIdentity(
        {Edit8->text(), Edit9->text(), Edit3->text(), Edit1->text(), Edit2->text(), Edit4->text()});
}

void TForm2::rememberShownPupil()
{
    m_shownPupil = fieldsNow();
}

bool TForm2::fieldsShowThePupil() const
{
    const students::Identity now = fieldsNow();
    return !m_selection.student.isEmpty() && now.city == m_shownPupil.city && now.school == m_shownPupil.school
        && now.schoolClass == m_shownPupil.schoolClass && now.surname == m_shownPupil.surname
        && now.firstName == m_shownPupil.firstName && now.mail == m_shownPupil.mail;
}

void TForm2::identityChanged()
{
    // Another pupil typed after a choice or a registration is registered, or
    // chosen, before anything goes on: never the one the fields left.
    if (Button2->isHidden() || fieldsShowThePupil())
        return;
    Button2->hide();
    Button4->hide();
    Button7->hide();
    Button1->show();
}

void TForm2::forgetStudent()
{
    showStudent({});
    showStudentFolder(RepertoireW);
    showRemoteFolder({});
    Button4->hide();
    Button7->hide();
    Button2->hide();
    Button1->show();
}

void TForm2::Button2Click()
{
    if (students::isMissingMail(Edit4->text())) {
        platform::ShowMessage(this, students::MissingMailMessage);
        Button1->show();
        Button2->hide();
        return;
    }
    if (m_selection.student.isEmpty()) {
        platform::ShowMessage(this, u"Il faut choisir un élève ou en créer un nouveau"_s);
        return;
    }
    if (!fieldsShowThePupil()) {
        platform::ShowMessage(this, u"Les champs ne montrent plus l'élève « %1 » : choisissez un élève dans la liste, "
                                    u"ou enregistrez celui que montrent les champs."_s.arg(m_selection.student));
        identityChanged();
        return;
    }
    emit importScreenRequested();
}

void TForm2::Button3Click()
{
    openHelpPage();
}

void TForm2::Label8Click()
{
    openHelpPage();
}

void TForm2::openHelpPage()
{
    const QString page = QDir::fromNativeSeparators(workspace::workingFolder()) + u'/' + HelpPage;
    // A working folder prepared by hand gets the page the program carries; a
    // failure here goes unreported, the browser then says the page is missing.
    if (!QFileInfo::exists(page) && QFile::copy(u":/"_s + HelpPage, page))
        QFile::setPermissions(page, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    platform::showInBrowser(this, QUrl::fromLocalFile(page).toString());
}

bool TForm2::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label8 && event->type() == QEvent::MouseButtonRelease)
        platform::runHandler(this, [this] { Label8Click(); });
    return ScreenWindow::eventFilter(watched, event);
}

void TForm2::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program; a further student screen
    // is only hidden, which ends its modal showing.
    if (this == Form2)
        platform::endProgram();
    event->accept();
}
