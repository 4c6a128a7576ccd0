#pragma once

#include "layout/aidselection.h"
#include "layout/entendubox.h"
#include "layout/scaling.h"
#include "layout/stylesheet.h"
#include "layout/typography.h"
#include "platform/screenwindow.h"

#include <QFont>
#include <QHash>
#include <QPointer>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QComboBox;

namespace layout {
struct Opening;
}

namespace students {
class CurrentStudent;
}

namespace platform {
class CheckBox;
class TrackBar;
class WebView;
}

class TForm1;

// The layout screen most recently created.
extern QPointer<TForm1> Form1;

// The layout screen: the teacher adapts the presentation of the current
// document while watching it in the web view. Each command changes lines of
// the student's style sheet (Css), saves it and refreshes the web view.
class TForm1 : public platform::ScreenWindow
{
    Q_OBJECT

public:
    // Owned by the import screen that opens it. The opening runs here: when
    // it fails (style sheet or document missing or unreadable, a numeric line
    // that does not give its number) the constructor raises the failure, and
    // no screen is shown.
    TForm1(QWidget *owner, students::CurrentStudent &student);

    // The student of the student screen that opened the import screen.
    students::CurrentStudent *studentScreen() const;

    QString cheminW;    // the student folder path, ending with a separator
    QString TitreText;  // the current document's full path
    layout::Css Css;    // the style sheet lines
    int taille = 0;     // font size in percent (line 21)
    int espacel = 0;    // line height in pixels (line 24)
    int espacem = 0;    // word spacing in pixels (line 25)
    int EcarLT = 0;     // letter spacing in pixels (line 29)
    int dispX = 0;      // the display's size, read once at opening
    int dispY = 0;
    layout::Agencement agencement; // the controls laid out for the window

    // Shows the current document (the path in Label3) in the web view with
    // one load: a navigation when the view shows another page, a reload when
    // it already shows this one. SauveCSS is the caller's.
    void Rafraichir();
    // The current document's address in the web view.
    QUrl documentAddress() const;
    // The document every command works on, shown in Label3.
    void setCurrentDocument(const QString &path);
    // The import screen wrote the document at path again (a correction, or a
    // new text saved under its title). When it is this screen's document, its
    // lines are read again and the view shows it; the boxes say what it
    // shows, the other settings stay as they are. Raises workspace::IoError.
    void relireDocument(const QString &path);

    // The reading-aid and border boxes, as the commands name them.
    platform::CheckBox *boxOf(layout::AidBox box) const;
    layout::AidBoxes aidBoxes() const;
    // From code: no aid runs.
    void showAidBoxes(const layout::AidBoxes &boxes);
    // The sound field emptied without running its aid.
    void oterSon();
    layout::BorderBoxes borderBoxes() const;

    platform::WebView *WebBrowser1;
    platform::WebView *WebBrowser2; // hidden; the publication shows it a while
    QPushButton *Button1;   // "Sauvegarder ces réglages"
    QPushButton *Button2;   // "+Taille"
    QPushButton *Button3;   // "- Taille"
    QPushButton *Button4;   // "+ EspaceL"
    QPushButton *Button5;   // "- EspaceL"
    QPushButton *Button6;   // "+EspaceM"
    QPushButton *Button7;   // "- EspaceM"
    QPushButton *Button9;   // "4->Suite->Diffusion tablette ou PC"
    QPushButton *Button10;  // "Imprimer la page"
    QPushButton *Button11;  // "+EcartLettres"
    QPushButton *Button12;  // "-EcartLettres"
    QPushButton *ButtonTablette; // "Aperçu tablette", with its menu of sizes
    platform::CheckBox *CheckBox1; // "Majuscule"
    platform::CheckBox *CheckBox2; // "Syllabes en couleurs"
    platform::CheckBox *CheckBox3; // "Surlignement"
    platform::CheckBox *CheckBox4; // "Bord  vert/rouge", checked
    platform::CheckBox *CheckBox5; // "Bord multicolor", checked
    platform::CheckBox *CheckBox6; // "Syllabes tirets"
    platform::CheckBox *CheckBox7; // "Helvetica"
    platform::CheckBox *CheckBox8; // "Lettres muettes"
    platform::CheckBox *CheckBox9; // "Phrases en couleurs"
    platform::CheckBox *souligne;  // "Souligne"
    platform::CheckBox *Surligne;  // "LigneAudessus"
    platform::CheckBox *Dysfont;   // "DysfontOpen"
    platform::CheckBox *Arial;     // "Arial"
    platform::CheckBox *Entendu;   // "entendu": the sound by ear
    platform::CheckBox *SyllabesSuite; // "Syllabes à la suite": red and green in turn along the line
    platform::CheckBox *Lecture;   // "Lecture à voix haute" on the tablet
    QComboBox *LectureVitesse;     // its speed: "Lente", "Normale"
    QPushButton *Ecouter;          // "Écouter": the document read aloud here
    QPushButton *PauseLecture;     // "Pause", "Reprendre"
    QLineEdit *Edit1;  // taille
    QLineEdit *Edit2;  // espacel
    QLineEdit *Edit3;  // espacem
    QLineEdit *Edit4;  // hidden
    QLineEdit *Edit5;  // EcarLT
    QLineEdit *Edit6;  // the sound to put in relief
    QLineEdit *Edit7;  // hidden
    platform::TrackBar *TrackBar1; // web view width
    platform::TrackBar *TrackBar2; // web view height
    QLabel *Label1;  // web view height
    QLabel *Label2;  // web view width
    QLabel *Label3;  // the current document's path
    QLabel *Label4;  // "Son à mettre en relief"
    QLabel *LabelEntendu; // what the "entendu" box says beside the sound field
    QLabel *LabelMots;    // "Mots à vérifier"
    QListWidget *MotsAVerifier; // the words of the document to check (by ear): a click opens the correction
    QLabel *Image1;  // the banner of the work steps
    QPlainTextEdit *Memo1; // hidden: the current document's lines
    QPlainTextEdit *Memo2; // hidden
    QListWidget *ListBox1; // hidden
    QListWidget *ListBox2; // hidden

    void FormCreate();
    void Button1Click();
    void Button10Click();
    // "Aperçu tablette": the page at the size of tabletSizes()[index], or
    // back at the teacher's size for an index out of that list. Nothing is
    // written and the page is not loaded again.
    void apercuTablette(int index);

    // Typography.
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button11Click();
    void Button12Click();
    void CheckBox1Change();
    void ArialChange();
    void DysfontChange();
    void CheckBox7Click();
    void souligneChange();
    void SurligneChange();
    void TrackBar1Change();
    void TrackBar2Change();
    void TrackBarLeave();

    // The reading aids (Vitrine_aides.cpp).
    void CheckBox2Click();
    void CheckBox6Click();
    void CheckBox8Click();
    void CheckBox9Click();
    void CheckBox3Change();
    void CheckBox4Change();
    void CheckBox5Change();
    void Edit6ChangeTraccking();
    void EntenduClick();
    void SyllabesSuiteClick();
    void montrerMotsAVerifier();
    // "Corriger la coupe de « mot »…" chosen in the view.
    void corrigerMot(const QString &word);

    // The publication of the student's documents (Vitrine_diffusion.cpp).
    void Button9Click();

    // "Lecture à voix haute" (Vitrine_lecture.cpp): the box and the speed as
    // remembered for the student, without running their handler; either
    // changed by the teacher; the reading files made or taken away as they say.
    void montrerLecture();
    void LectureChange();
    void preparerLecture();
    // "Écouter": the current document read aloud in the view, the word spoken
    // lit, a click on a word reading from there; "Pause", "Reprendre"; the
    // reading stops when the view shows the document anew or another one.
    void EcouterClick();
    void PauseLectureClick();
    void arreterLecture();

signals:
    // "Sauvegarder ces réglages" done: a new student screen, owned by this
    // one, is shown modally, and this screen stays hidden afterwards.
    void studentScreenRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void AffichRelatif();
    // The current document's lines into Memo1, the document written again from
    // them, and its copy beside it when no aid is in force; the boxes then say
    // what it shows. flags: the style sheet's aid lines as written, which say
    // which aid to look for first.
    void chargerDocument(const layout::Css &flags);
    // Shows what the opening restored; no handler runs.
    void montrer(const layout::Opening &opening);
    void commande(layout::Commande commande, QLineEdit *shownIn);
    // Shows a counter whole in its field.
    void afficher(QLineEdit *field, int value);
    // The underline boxes as line 27 decorates the page; no handler runs.
    void montrerSoulignement();
    void choisirPolice(layout::Police police, platform::CheckBox *chosen);
    void sauverEtRafraichir();
    // The note beside the sound field, for the box and the field as they are.
    void montrerEntendu();
    // The border boxes set from the document lines, without running their handlers.
    void montrerBords();
    // The body-aid boxes, the sound field and the "entendu" box set from the
    // aid the document carries, without running their handlers.
    void montrerAide(const layout::Css &flags);
    QList<QWidget *> scaledControls() const;
    // Gives the web view a size, kept within the room above the controls and
    // within the window; the track bars and labels keep the size asked for.
    void placerVue(QSize size);

    // The part of the display the window takes, read once at opening.
    QRect m_area;
    // The room the page may take: the window's width, and the height above
    // the highest control.
    QSize m_roomForPage;

    bool m_maximised = false;
    // The page's size on the teacher's screen while a tablet's is shown.
    std::optional<QSize> m_tailleEnseignant;
    // The "entendu" box as the opening found it for the student.
    layout::EntenduBox m_entendu;
    // The designed place of each scaled control.
    QHash<QWidget *, QRect> m_designed;
    // The text size of each counter field at its scaled place; a value too
    // long for it is shown smaller.
    QHash<QLineEdit *, QFont> m_counterFonts;
    students::CurrentStudent &m_student;
};
