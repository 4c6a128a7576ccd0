#include "registerstudent.h"

#include "localhost/connexion.h"
#include "publishing/forcedirectories.h"
#include "publishing/plainftp.h"
#include "publishing/settings.h"
#include "students/classindex.h"
#include "students/registration.h"
#include "students/studentlist.h"
#include "workspace/folding.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace students {

namespace {

// Where the registration writes, for a class and a student.
struct Places
{
    QString workingEcole;    // ecole.txt of the working folder
    QString classFolder;
    QString studentsFolder;
    QString studentFolder;
    QString student;
};

Places placesOf(const QString &workingFolder, const Registration &names, const Identity &typed)
{
    const QString className = workspace::classFolderName(names.city, names.school, names.schoolClass);
    Places places;
    places.workingEcole = workingFolder + workspace::separator() + workspace::EcoleTxt;
    places.classFolder = workspace::classFolderPath(workingFolder, className);
    places.studentsFolder = workspace::studentsFolderPath(workingFolder, className);
    places.student = workspace::studentFolderName(typed.surname, typed.firstName, typed.mail);
    places.studentFolder = places.studentsFolder + places.student + workspace::separator();
    return places;
}

bool isNewClass(const Places &places)
{
    return !QFileInfo::exists(places.workingEcole) || !QFileInfo(places.classFolder).isDir();
}

workspace::Result<void> checkFields(const RegistrationRequest &request, const Registration &names, const Places &places)
{
    workspace::Result<void> checked = checkPlaceholders(request.typed);
    if (checked)
        checked = checkStudentFields(request.typed);
    if (checked)
        checked = checkPathLength(request.workingFolder, request.typed);
    if (checked && isNewClass(places))
        checked = checkNewClass(names.city, names.school, names.schoolClass);
    return checked;
}

RegistrationUndo keptForUndo(const Places &places)
{
    RegistrationUndo undo;
    undo.keepFile(places.workingEcole);
    undo.keepFolder(places.classFolder);
    undo.keepFolder(places.studentsFolder);
    undo.keepFile(places.studentsFolder + workspace::EcoleTxt);
    undo.keepFile(places.studentsFolder + workspace::ListeLecteursTxt);
    undo.keepFile(places.classFolder + workspace::IndexHtml);
    undo.keepFolder(places.studentFolder);
    return undo;
}

void makeClassFolder(const Places &places, const Registration &names)
{
    if (!isNewClass(places))
        return;
    if (!QFileInfo(places.classFolder).isDir())
        QDir().mkpath(places.studentsFolder);
    const workspace::SchoolClass lines{names.city, names.school, names.schoolClass};
    workspace::writeEcole(places.studentsFolder + workspace::EcoleTxt, lines);
    workspace::writeEcole(places.workingEcole, lines);
}

// The class page with the new student first, written and sent. A page that
// cannot be written for want of the web address, or sent for want of the
// host, waits for the next registration; the teacher is told.
void publishClassPage(const RegistrationRequest &request, const Registration &names, const ClassPageEntry &newStudent,
                      const QStringList &listed, publishing::FtpClient &client, const Tell &tell)
{
    publishing::PublicationSettings settings;
    try {
        settings = publishing::readPublicationSettings(request.workingFolder);
    } catch (const publishing::SettingsError &unusable) {
        tell(unusable.message());
        return;
    }
    const QList<ClassPageEntry> entries =
        QList<ClassPageEntry>{newStudent} + listedEntries(names.studentsFolder, listed, namedAddresses(request.workingFolder));
    writeClassIndex(workspace::templateFolderPath(request.workingFolder),
                    workspace::classFolderPath(request.workingFolder,
                                               workspace::classFolderName(names.city, names.school, names.schoolClass)),
                    classIndexLinks(settings.adresse_web, names.city, names.school, names.schoolClass, entries));
    if (const workspace::Result<void> connected = localhost::ConnexionFTP(client, request.workingFolder); !connected) {
        tell(connected.reason());
        return;
    }
    const QString classFolder = workspace::classFolderPath(
        request.workingFolder, workspace::classFolderName(names.city, names.school, names.schoolClass));
    client.put(classFolder + workspace::IndexHtml, remoteClassIndexPath(names.city, names.school, names.schoolClass));
    client.disconnect();
}

// The student's files: the address, the register line, the class page, the
// templates. A student listed already, or whose folder is there, is not
// registered again: the files in the folder are the student's own and stay.
void writeStudent(const RegistrationRequest &request, Registration &names, const Places &places,
                  const RemoteFolderChoice &remote, publishing::FtpClient &client, const Tell &tell)
{
    const bool existed = QFileInfo(places.studentFolder).isDir();
    QDir().mkpath(places.studentFolder);
    if (names.listed.contains(places.student)) {
        tell(u"Cet élève est déjà enregistré"_s);
    } else if (existed) {
        tell(u"Cet élève est déjà enregistré : son dossier « %1 » existe déjà. Ses fichiers et ses réglages sont gardés "
             u"tels quels."_s.arg(places.student));
        names.listed << places.student;
    } else {
        if (remote.newAddress)
            writePublicAddress(places.studentFolder, *remote.newAddress);
        const Identity &typed = request.typed;
        workspace::appendLines(places.studentsFolder + workspace::ListeLecteursTxt,
                               {registerLine({names.city, names.school, names.schoolClass, typed.surname,
                                              typed.firstName, typed.mail})});
        const QString shown = typed.surname + u'_' + typed.firstName + u'_' + typed.mail;
        const ClassPageEntry entry = remote.newAddress
            ? ClassPageEntry{remote.newAddress->code, remote.newAddress->shownName}
            : ClassPageEntry{workspace::EnleveAccentsCaseOfDoubles(shown), shown};
        publishClassPage(request, names, entry, names.listed, client, tell);
        const QString templates = workspace::templateFolderPath(request.workingFolder);
        for (const QLatin1StringView name : {workspace::StyleCss, workspace::EnteteHtml, workspace::FinFichierHtml})
            workspace::copyTextLines(templates + name, places.studentFolder + name);
        names.listed << places.student;
    }
    // The border picture the student folder lacks; one that is there stays.
    const QString reserve = workspace::subfolderPath(request.workingFolder, workspace::Reserve);
    if (!QFileInfo::exists(places.studentFolder + workspace::FondJpg))
        workspace::copyBytes(reserve + workspace::FondJpg, places.studentFolder + workspace::FondJpg);
}

} // namespace

workspace::Result<Registration> registerStudent(const RegistrationRequest &request, publishing::FtpClient &client,
                                                const Tell &tell)
{
    Registration names;
    names.city = classFieldName(request.typed.city);
    names.school = classFieldName(request.typed.school);
    names.schoolClass = classFieldName(request.typed.schoolClass);
    const Places places = placesOf(request.workingFolder, names, request.typed);
    if (const workspace::Result<void> checked = checkFields(request, names, places); !checked)
        return workspace::refuse(checked.reason());

    // Everything that can refuse the registration, the host included, is
    // asked before anything is written. A host out of reach is told at once,
    // and the e-mail checked still: the teacher hears of both.
    if (const std::optional<QString> warning = publishing::plainFtpWarningBeforeUpload(request.workingFolder))
        tell(*warning);
    const workspace::Result<void> connected = localhost::ConnexionFTP(client, request.workingFolder);
    if (!connected)
        tell(connected.reason());
    if (isMissingMail(request.typed.mail))
        return workspace::refuse(MissingMailMessage);
    const Identity registered{names.city, names.school, names.schoolClass, request.typed.surname,
                              request.typed.firstName, request.typed.mail};
    const RemoteFolderChoice remote =
        registrationRemoteFolder(registered, places.studentFolder, namedAddresses(request.workingFolder));
    if (!connected)
        throw publishing::FtpError::notConnected();
    {
        const auto closeConnection = qScopeGuard([&client] { client.disconnect(); });
        publishing::ForceFtpDirectories(client, remote.remoteFolder);
    }

    const RegistrationUndo undo = keptForUndo(places);
    auto undoOnFailure = qScopeGuard([&undo] { undo.undo(); });
    makeClassFolder(places, names);
    // Without a class in use the list was empty: the class's students are
    // listed now, so that none is registered again or left off the class page.
    names.listed = request.classInUse ? request.listed : studentFolderNames(places.studentsFolder);
    names.studentsFolder = places.studentsFolder;
    names.student = places.student;
    names.studentFolder = places.studentFolder;
    names.remoteFolder = remote.remoteFolder;
    writeStudent(request, names, places, remote, client, tell);
    undoOnFailure.dismiss();
    return names;
}

} // namespace students
