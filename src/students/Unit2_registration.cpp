// "Enregistrer cet élève": a class change, or the registration of the student
// typed in the fields, on disk and on the publishing host.
#include "Unit2.h"

#include "platform/modal.h"
#include "platform/platform.h"
#include "localhost/connexion.h"
#include "students/registration.h"
#include "workspace/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QString ecoleOfWorkingFolder()
{
    return workspace::workingFolder() + workspace::separator() + workspace::EcoleTxt;
}

void writeBothEcole(const workspace::SchoolClass &lines)
{
    workspace::writeEcole(RepertoireW + workspace::EcoleTxt, lines);
    workspace::writeEcole(ecoleOfWorkingFolder(), lines);
}

// The class in use is the one the working folder's ecole.txt names.
workspace::SchoolClass classInUse()
{
    const QString ecole = ecoleOfWorkingFolder();
    return QFileInfo::exists(ecole) ? workspace::readEcole(ecole) : workspace::SchoolClass{};
}

} // namespace

workspace::Result<void> TForm2::ConnexionFTP()
{
    workspace::Result<void> connected = localhost::ConnexionFTP(*IdFTP1, workspace::workingFolder());
    if (!connected)
        platform::ShowMessage(this, connected.reason());
    return connected;
}

students::Identity TForm2::cleanedFields()
{
    const students::Identity cleaned = students::cleanIdentity(
        {Edit8->text(), Edit9->text(), Edit3->text(), Edit1->text(), Edit2->text(), Edit4->text()});
    const std::pair<QLineEdit *, QString> shown[] = {{Edit8, cleaned.city},    {Edit9, cleaned.school},
                                                     {Edit3, cleaned.schoolClass}, {Edit1, cleaned.surname},
                                                     {Edit2, cleaned.firstName}, {Edit4, cleaned.mail}};
    for (const auto &[edit, text] : shown) {
        if (edit->text() != text)
            edit->setText(text);
    }
    return cleaned;
}

void TForm2::Button1Click()
{
    const students::Identity typed = cleanedFields();
    if (const workspace::Result<void> checked = students::checkClassFields(typed); !checked) {
        platform::ShowMessage(this, checked.reason());
        return;
    }
    const workspace::SchoolClass inUse = classInUse();
    if (students::isClassChange(typed, inUse)) {
        changeClass();
        return;
    }
    QStringList listed;
    for (int i = 0; i < ListView1->count(); ++i)
        listed << ListView1->item(i)->text();
    const workspace::Result<students::Registration> registration = students::registerStudent(
        {workspace::workingFolder(), typed, listed, !inUse.schoolClass.isEmpty()}, *IdFTP1,
        [this](const QString &text) { platform::ShowMessage(this, text); });
    if (!registration) {
        platform::ShowMessage(this, registration.reason());
        return;
    }
    showRegistration(*registration);
}

void TForm2::showRegistration(const students::Registration &registration)
{
    RepertoireW = registration.studentsFolder;
    NomClasse = registration.schoolClass;
    Edit8->setText(registration.city);
    Edit9->setText(registration.school);
    Edit3->setText(NomClasse);
    ListView1->clear();
    ListView1->addItems(registration.listed);
    showRemoteFolder(registration.remoteFolder);
    showStudent(registration.student);
    showStudentFolder(registration.studentFolder);
    Button4->hide();
    Button7->show();
    Button2->show();
    rememberShownPupil();
}

void TForm2::changeClass()
{
    platform::ShowMessage(this, u"Vous avez changez de classe ?"_s);
    // Looked up by the names a registration gives the class folder, so that
    // "6ème" finds the class registered as 6EME.
    const QString city = students::classFieldName(Edit8->text());
    const QString school = students::classFieldName(Edit9->text());
    const QString schoolClass = students::classFieldName(Edit3->text());
    RepertoireW = workspace::studentsFolderPath(workspace::workingFolder(),
                                                workspace::classFolderName(city, school, schoolClass));
    if (QFileInfo(RepertoireW).isDir()) {
        fillStudentList();
        NomClasse = schoolClass;
        Edit8->setText(city);
        Edit9->setText(school);
        Edit3->setText(NomClasse);
        showStudentFolder(RepertoireW);
        writeBothEcole({city, school, NomClasse});
        return;
    }
    platform::ShowMessage(this, u"Cette classe n'existe pas. Redémarrer tessavo"_s);
    QFile::remove(ecoleOfWorkingFolder());
    platform::endProgram();
}
