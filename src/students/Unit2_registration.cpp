// "Enregistrer cet élève": a class change, or the registration of the student
// typed in the fields, on disk and on the publishing host.
#include "Unit2.h"

#include "platform/modal.h"
#include "platform/platform.h"
#include "publishing/connexion.h"
#include "publishing/forcedirectories.h"
#include "publishing/remotepaths.h"
#include "publishing/settings.h"
#include "students/classindex.h"
#include "students/publicaddress.h"
#include "students/registration.h"
#include "students/selection.h"
#include "workspace/folding.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>

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
    workspace::Result<void> connected = publishing::ConnexionFTP(*IdFTP1, workspace::workingFolder());
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
    workspace::Result<void> checked = students::checkPlaceholders(typed);
    if (checked)
        checked = students::checkStudentFields(typed);
    if (checked)
        checked = students::checkPathLength(workspace::workingFolder(), typed);
    const QString city = students::classFieldName(typed.city);
    const QString school = students::classFieldName(typed.school);
    const QString schoolClass = students::classFieldName(typed.schoolClass);
    if (checked && isNewClass(city, school, schoolClass))
        checked = students::checkNewClass(city, school, schoolClass);
    if (!checked) {
        platform::ShowMessage(this, checked.reason());
        return;
    }

    // Everything that can refuse the registration, the host included, is
    // asked before anything is written: a refused registration leaves the
    // working folder as it was.
    const workspace::Result<students::RemoteFolderChoice> remote = makeRemoteFolders(city, school, schoolClass);
    if (!remote) {
        platform::ShowMessage(this, remote.reason());
        return;
    }
    // A registration that fails half-way (a file that cannot be written, the
    // class page refused by the host) leaves the working folder as it was.
    const students::RegistrationUndo undo = keptForUndo(city, school, schoolClass);
    auto undoOnFailure = qScopeGuard([&, earlierFolder = RepertoireW, earlierClass = NomClasse] {
        undo.undo();
        RepertoireW = earlierFolder;
        NomClasse = earlierClass;
        fillStudentList();
    });
    NomClasse = schoolClass;
    Edit8->setText(city);
    Edit9->setText(school);
    Edit3->setText(NomClasse);
    makeClassFolder(city, school, NomClasse);
    // Without a class in use the list was empty: it shows the class's
    // students now, so that none of them is registered again or left off
    // the class page.
    if (inUse.schoolClass.isEmpty())
        fillStudentList();
    showRemoteFolder(remote->remoteFolder);
    registerStudent(city, school, NomClasse, remote->newAddress);
    undoOnFailure.dismiss();
}

students::RegistrationUndo TForm2::keptForUndo(const QString &city, const QString &school,
                                               const QString &schoolClass) const
{
    const QString workingFolder = workspace::workingFolder();
    const QString className = workspace::classFolderName(city, school, schoolClass);
    const QString classFolder = workspace::classFolderPath(workingFolder, className);
    const QString studentsFolder = workspace::studentsFolderPath(workingFolder, className);
    students::RegistrationUndo undo;
    undo.keepFile(ecoleOfWorkingFolder());
    undo.keepFolder(classFolder);
    undo.keepFolder(studentsFolder);
    undo.keepFile(studentsFolder + workspace::EcoleTxt);
    undo.keepFile(studentsFolder + workspace::ListeLecteursTxt);
    undo.keepFile(classFolder + workspace::IndexHtml);
    undo.keepFolder(studentsFolder + workspace::studentFolderName(Edit1->text(), Edit2->text(), Edit4->text())
                    + workspace::separator());
    return undo;
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

bool TForm2::isNewClass(const QString &city, const QString &school, const QString &schoolClass) const
{
    const QString classFolder = workspace::classFolderPath(workspace::workingFolder(),
                                                           workspace::classFolderName(city, school, schoolClass));
    return !QFileInfo::exists(ecoleOfWorkingFolder()) || !QFileInfo(classFolder).isDir();
}

void TForm2::makeClassFolder(const QString &city, const QString &school, const QString &schoolClass)
{
    const QString workingFolder = workspace::workingFolder();
    const QString className = workspace::classFolderName(city, school, schoolClass);
    const QString classFolder = workspace::classFolderPath(workingFolder, className);
    RepertoireW = workspace::studentsFolderPath(workingFolder, className);
    if (!isNewClass(city, school, schoolClass))
        return;
    if (!QFileInfo(classFolder).isDir())
        QDir().mkpath(RepertoireW);
    writeBothEcole({city, school, schoolClass});
}

workspace::Result<students::RemoteFolderChoice> TForm2::makeRemoteFolders(const QString &city, const QString &school,
                                                                          const QString &schoolClass)
{
    // A host out of reach is reported at once, and the e-mail is checked
    // still: the teacher hears of both before the registration stops.
    const bool connected = ConnexionFTP().ok();
    if (students::isMissingMail(Edit4->text()))
        return workspace::refuse(students::MissingMailMessage);
    const QString workingFolder = workspace::workingFolder();
    const students::Identity registered{city, school, schoolClass, Edit1->text(), Edit2->text(), Edit4->text()};
    const QString studentFolder =
        workspace::studentsFolderPath(workingFolder, workspace::classFolderName(city, school, schoolClass))
        + workspace::studentFolderName(registered.surname, registered.firstName, registered.mail)
        + workspace::separator();
    const students::RemoteFolderChoice remote =
        students::registrationRemoteFolder(registered, studentFolder, students::namedAddresses(workingFolder));
    // Without a connection the remote folder cannot be made, and the
    // registration ends here: nothing of the student is written locally.
    if (!connected)
        throw publishing::FtpError::notConnected();
    const auto closeConnection = qScopeGuard([this] { IdFTP1->disconnect(); });
    publishing::ForceFtpDirectories(*IdFTP1, remote.remoteFolder);
    return remote;
}

void TForm2::registerStudent(const QString &city, const QString &school, const QString &schoolClass,
                             const std::optional<students::PublicAddress> &newAddress)
{
    const int listed = ListView1->count();
    const QString EleveAct = workspace::studentFolderName(Edit1->text(), Edit2->text(), Edit4->text());
    showStudent(EleveAct);
    const QString studentFolder = RepertoireW + EleveAct + workspace::separator();
    const bool existed = QFileInfo(studentFolder).isDir();
    QDir().mkpath(studentFolder);

    bool enregistre = true;
    QStringList names;
    for (int i = 0; i < listed; ++i) {
        names << ListView1->item(i)->text();
        if (names.last() == EleveAct) {
            platform::ShowMessage(this, u"Cet élève est déjà enregistré"_s);
            showStudentFolder(studentFolder);
            enregistre = false;
        }
    }
    // A student folder that the list did not show is a student all the
    // same: the files in it are the student's own settings and are kept.
    if (enregistre && existed) {
        platform::ShowMessage(this, u"Cet élève est déjà enregistré : son dossier « %1 » existe déjà. Ses fichiers et "
                                    u"ses réglages sont gardés tels quels."_s.arg(EleveAct));
        showStudentFolder(studentFolder);
        ListView1->addItem(EleveAct);
        enregistre = false;
    }
    if (enregistre) {
        if (newAddress)
            students::writePublicAddress(studentFolder, *newAddress);
        const students::Identity fields{city, school, schoolClass, Edit1->text(), Edit2->text(), Edit4->text()};
        workspace::appendLines(RepertoireW + workspace::ListeLecteursTxt, {students::registerLine(fields)});
        const QString typed = Edit1->text() + u'_' + Edit2->text() + u'_' + Edit4->text();
        const students::ClassPageEntry entry = newAddress
            ? students::ClassPageEntry{newAddress->code, newAddress->shownName}
            : students::ClassPageEntry{workspace::EnleveAccentsCaseOfDoubles(typed), typed};
        indexHtml(city, school, schoolClass, entry, names);
        if (QDir().mkpath(studentFolder))
            showStudentFolder(studentFolder);
        for (const QLatin1StringView name : {workspace::StyleCss, workspace::EnteteHtml, workspace::FinFichierHtml})
            workspace::copyTextLines(RepertoireR + name, studentFolder + name);
        ListView1->addItem(EleveAct);
    }
    // The border picture the student folder lacks; one that is there stays.
    const QString reserve = workspace::subfolderPath(workspace::workingFolder(), workspace::Reserve);
    if (!QFileInfo::exists(studentFolder + workspace::FondJpg))
        workspace::copyBytes(reserve + workspace::FondJpg, studentFolder + workspace::FondJpg);
    Button4->hide();
    Button7->show();
    Button2->show();
    rememberShownPupil();
}

void TForm2::indexHtml(const QString &city, const QString &school, const QString &schoolClass,
                       const students::ClassPageEntry &newStudent, const QStringList &listed)
{
    const QString workingFolder = workspace::workingFolder();
    publishing::PublicationSettings settings;
    try {
        settings = publishing::readPublicationSettings(workingFolder);
    } catch (const publishing::SettingsError &unusable) {
        // Without the web address no link can be written: the page waits
        // for the next registration.
        platform::ShowMessage(this, unusable.message());
        return;
    }
    const QString classFolder =
        workspace::classFolderPath(workingFolder, workspace::classFolderName(city, school, schoolClass));
    const QList<students::ClassPageEntry> entries = QList<students::ClassPageEntry>{newStudent}
        + students::listedEntries(RepertoireW, listed, students::namedAddresses(workingFolder));
    students::writeClassIndex(workspace::templateFolderPath(workingFolder), classFolder,
                              students::classIndexLinks(settings.adresse_web, city, school, schoolClass, entries));
    if (!ConnexionFTP())
        return;
    IdFTP1->put(classFolder + workspace::IndexHtml, students::remoteClassIndexPath(city, school, schoolClass));
    IdFTP1->disconnect();
}
