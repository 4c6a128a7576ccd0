#pragma once

#include "platform/ftpclient.h"
#include "platform/screenwindow.h"
#include "students/identity.h"

#include <QPointer>

#include <memory>

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

// The student screen: a student of the class is chosen or registered; its
// controls hold the current selection that the other screens read.
class TForm2 : public platform::ScreenWindow
{
    Q_OBJECT

public:
    // The main screen has no owner; a further one is owned by the layout
    // screen that opened it.
    explicit TForm2(QWidget *owner = nullptr);

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
    QLabel *Label8;
    QLabel *Label5;
    QLabel *Label1;
    QLabel *Image1;
    QLineEdit *Edit5;   // hidden: the current document's path
    QLineEdit *Edit6;   // hidden: the student folder path
    QLineEdit *Edit7;   // hidden: the student folder name
    QLineEdit *Edit10;  // hidden: the remote student folder path
    // The screen's own connection to the publishing host.
    std::unique_ptr<platform::FtpClient> IdFTP1;

    void FormCreate();
    void Edit8Change();
    void Edit9Change();
    void Edit3Change();
    void ListView1Click();
    void Button1Click();  // Unit2_registration.cpp
    void Button2Click();
    void Button3Click();
    void Label8Click();

    // Opens IdFTP1 with the connection sequence; shows why it could not and
    // returns false then.
    bool ConnexionFTP();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void fillStudentList();
    void openHelpPage();
    // The six fields as read, cleaned and shown again cleaned.
    students::Identity cleanedFields();

    // The steps of Button1Click (Unit2_registration.cpp); each returns false
    // where the registration stops.
    void changeClass();
    bool makeClassFolder(const QString &city, const QString &school, const QString &schoolClass);
    bool makeRemoteFolders(const QString &city, const QString &school, const QString &schoolClass);
    void registerStudent(const QString &city, const QString &school, const QString &schoolClass);
    void indexHtml(const QString &city, const QString &school, const QString &schoolClass, const QStringList &listed);
};
