#pragma once

#include "platform/screenwindow.h"
#include "publishing/ftpclient.h"
#include "students/currentstudent.h"
#include "students/identity.h"
#include "students/publicaddress.h"
#include "students/registerstudent.h"
#include "students/selection.h"
#include "students/tabletwindow.h"
#include "workspace/result.h"

#include <QPointer>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The working paths, set by every student screen's creation and by a class
// change or a registration.
extern QString RepertoireW;  // the students folder of the class in use, or empty
extern QString RepertoireR;  // the template folder
extern QString NomClasse;    // the class in use, or empty

class TForm2;

// The main student screen, created at program start.
extern QPointer<TForm2> Form2;

// The student screen: a student of the class is chosen or registered. It
// holds the current selection, which the other screens take from selection()
// and which its controls show; it alone writes them.
class TForm2 : public platform::ScreenWindow, public students::CurrentStudent
{
    Q_OBJECT

public:
    // The main screen has no owner; a further one is owned by the layout
    // screen that opened it.
    explicit TForm2(QWidget *owner = nullptr);

    // The student chosen or registered on this screen, and the document the
    // import screen last saved for it.
    students::Selection selection() const override;
    void setCurrentDocument(const QString &path) override;

    QLabel *Label3;
    QLabel *Label4;
    QListWidget *ListView1;
    QLabel *Image2;
    QLabel *Label6;
    QLineEdit *Edit8;
    QLabel *Label7;
    QLineEdit *Edit9;
    QLabel *Classe;
    QLineEdit *Edit3;
    QLabel *NOM;
    QLineEdit *Edit1;
    QLabel *PrenomL;
    QLineEdit *Edit2;
    QLabel *Label2;
    QLineEdit *Edit4;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    QPushButton *Button4;  // "Rendre l'adresse discrète", for a pupil published under the name
    QPushButton *Button5;  // "Retirer cet élève"
    QPushButton *Button6;  // "Retirer la classe du serveur"
    QPushButton *Button7;  // "Adresse pour la tablette"
    QCheckBox *CheckBox1;  // "Réseau de la classe": the program's own host serves the tablets too
    QLabel *Label8;
    QLabel *Label5;     // "ELEVE ACTUEL : " and the student folder's name
    QLabel *Label1;     // the student folder path
    QLabel *Image1;
    QLineEdit *Edit5;   // hidden: the current document's path
    QLineEdit *Edit6;   // hidden: the student folder path
    QLineEdit *Edit7;   // hidden: the student folder name
    QLineEdit *Edit10;  // hidden: the remote student folder path
    // The screen's own connection to the publishing host.
    std::unique_ptr<publishing::FtpClient> IdFTP1;

    void FormCreate();
    void Edit8Change();
    void Edit9Change();
    void Edit3Change();
    void ListView1Click();
    void Button1Click();  // Unit2_registration.cpp
    void Button2Click();
    void Button3Click();
    void Button4Click();  // Unit2_removal.cpp
    void Button5Click();  // Unit2_removal.cpp
    void Button6Click();  // Unit2_removal.cpp
    void Button7Click();  // Unit2_tablet.cpp
    void CheckBox1Click();  // Unit2_tablet.cpp
    void Label8Click();

    // Opens IdFTP1 with the connection sequence; shows why it could not, and
    // returns that refusal.
    workspace::Result<void> ConnexionFTP();

signals:
    // "Suite -> Importer du texte" with a student chosen: the import screen,
    // owned by this screen, is shown modally.
    void importScreenRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void fillStudentList();
    // Each part of the selection together with the controls that show it.
    void showStudentFolder(const QString &path);
    void showStudent(const QString &folderName);
    void showRemoteFolder(const QString &CheminFTP);
    void openHelpPage();
    // The six fields as read, cleaned and shown again cleaned.
    students::Identity cleanedFields();
    // The class fields upper-cased and folded, as the class folder is named.
    students::Identity classFields() const;
    // No pupil chosen any more (the chosen one was removed).
    void forgetStudent();
    // The fields as they showed the pupil chosen or registered; a change of
    // any of them brings back "Enregistrer cet élève".
    students::Identity fieldsNow() const;
    void rememberShownPupil();
    bool fieldsShowThePupil() const;
    void identityChanged();

    // Unit2_removal.cpp: how the chosen pupil is named to the teacher, and
    // the class page written again for the listed pupils and uploaded on the
    // connected IdFTP1.
    QString chosenPupilName() const;
    void publishClassPage(const QStringList &listed);
    // Unit2_tablet.cpp: the address a tablet opens for a remote student folder,
    // and the cards of the class written and opened.
    QString tabletAddress(const QString &remoteFolder) const;
    void printClassCards();
    // The box shown and ticked as publication.ini says.
    void showClassroomNetwork();

    // Button1Click's two ways (Unit2_registration.cpp): a class change, or
    // the registration, whose outcome the controls then show.
    void changeClass();
    void showRegistration(const students::Registration &registration);

    // The class is not kept here: it is the class field's.
    students::Selection m_selection;
    QPointer<TabletWindow> m_tabletWindow;
    students::Identity m_shownPupil;

public:
    // The window "Adresse pour la tablette" while it is shown.
    TabletWindow *tabletWindow() const { return m_tabletWindow; }
};
