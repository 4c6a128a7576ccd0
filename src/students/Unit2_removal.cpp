// "Rendre l'adresse discrète", "Retirer cet élève" and "Retirer la classe du
// serveur": a pupil moved from a named folder on the host to a code, a pupil
// removed from the host and the class, a class removed from the host.
#include "Unit2.h"

#include "platform/platform.h"
#include "publishing/diffusion.h"
#include "publishing/diffusionscreen.h"
#include "publishing/forcedirectories.h"
#include "publishing/remotefolders.h"
#include "publishing/remotepaths.h"
#include "publishing/settings.h"
#include "students/classindex.h"
#include "students/publicaddress.h"
#include "students/registration.h"
#include "students/removal.h"
#include "students/studentlist.h"
#include "workspace/folding.h"
#include "workspace/paths.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

QStringList listedNames(const QListWidget &list)
{
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names << list.item(i)->text();
    return names;
}

} // namespace

students::Identity TForm2::classFields() const
{
    return {students::classFieldName(Edit8->text()), students::classFieldName(Edit9->text()),
            students::classFieldName(Edit3->text()), {}, {}, {}};
}

QString TForm2::chosenPupilName() const
{
    const std::optional<students::PublicAddress> address = students::readPublicAddress(m_selection.studentFolder);
    return address && !address->shownName.isEmpty() ? address->shownName : m_selection.student;
}

void TForm2::publishClassPage(const QStringList &listed)
{
    const QString workingFolder = workspace::workingFolder();
    const students::Identity fields = classFields();
    const QString classFolder = workspace::classFolderPath(
        workingFolder, workspace::classFolderName(fields.city, fields.school, fields.schoolClass));
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(workingFolder);
    students::writeClassIndex(workspace::templateFolderPath(workingFolder), classFolder,
                              students::classIndexLinks(settings.adresse_web, fields.city, fields.school,
                                                        fields.schoolClass,
                                                        students::listedEntries(RepertoireW, listed,
                                                                                students::namedAddresses(workingFolder))));
    IdFTP1->put(classFolder + workspace::IndexHtml,
                students::remoteClassIndexPath(fields.city, fields.school, fields.schoolClass));
}

void TForm2::Button4Click()
{
    if (m_selection.student.isEmpty() || students::readPublicAddress(m_selection.studentFolder))
        return;
    const QString namedFolder = m_selection.remoteFolder;
    const students::StudentIdentity listed = students::listedStudent(RepertoireW, m_selection.student);
    const students::PublicAddress address{
        students::newAddressCode(),
        students::classPageName(students::shownName(listed.firstName), students::shownName(listed.surname))};
    const QString codeFolder = students::codeRemoteFolder(classFields(), address.code);

    // The documents go up under the code first: until they are there, the
    // pupil keeps the named address and nothing of it is removed.
    if (!ConnexionFTP())
        return;
    {
        const auto closeConnection = qScopeGuard([this] { IdFTP1->disconnect(); });
        publishing::ForceFtpDirectories(*IdFTP1, codeFolder);
    }
    const publishing::DiffusionOutcome outcome = publishing::publish(this, m_selection.studentFolder, codeFolder, true);
    if (outcome.end != publishing::DiffusionEnd::Published) {
        platform::ShowMessage(this, u"L'adresse de « %1 » n'a pas changé : ses documents restent à l'adresse à son nom."_s.arg(
                                        m_selection.student));
        return;
    }
    students::writePublicAddress(m_selection.studentFolder, address);
    showRemoteFolder(codeFolder);
    Button4->hide();

    if (!ConnexionFTP())
        return;
    const auto closeConnection = qScopeGuard([this] { IdFTP1->disconnect(); });
    publishClassPage(listedNames(*ListView1));
    publishing::removeRemoteFolder(*IdFTP1, namedFolder);
    platform::ShowMessage(this, u"Les documents de %1 sont maintenant à l'adresse discrète :\n%2\nLe dossier à son nom "
                                u"a été retiré du serveur, et la page de la classe ne donne plus que « %1 »."_s.arg(
                                    address.shownName, outcome.tableOfContents));
}

void TForm2::Button5Click()
{
    if (m_selection.student.isEmpty()) {
        platform::ShowMessage(this, u"Il faut d'abord choisir dans la liste l'élève à retirer."_s);
        return;
    }
    const QString name = chosenPupilName();
    const int answer = platform::Ask(
        this,
        u"Retirer l'élève « %1 » (dossier « %2 ») ?\nSes documents sont d'abord retirés du serveur de publication, et "
        u"son nom de la page de la classe. Puis son dossier est rangé dans « archives » de votre dossier de travail, "
        u"ou supprimé."_s.arg(name, m_selection.student),
        {u"Retirer et archiver"_s, u"Retirer et supprimer"_s, u"Annuler"_s});
    if (answer != 0 && answer != 1)
        return;
    // The host first: when it cannot be reached, nothing is changed here.
    if (!ConnexionFTP()) {
        platform::ShowMessage(this, u"Rien n'a été changé sur cet ordinateur. Les documents de « %1 » restent sur le "
                                    u"serveur, dans « %2 »."_s.arg(name, m_selection.remoteFolder));
        return;
    }
    {
        const auto closeConnection = qScopeGuard([this] { IdFTP1->disconnect(); });
        publishing::removeRemoteFolder(*IdFTP1, m_selection.remoteFolder);
        publishClassPage(students::withoutStudent(listedNames(*ListView1), m_selection.student));
    }

    const QString workingFolder = workspace::workingFolder();
    const QString className = workspace::classFolderName(classFields().city, classFields().school, classFields().schoolClass);
    QString kept;
    if (answer == 0)
        kept = students::archiveStudentFolder(workingFolder, className, m_selection.studentFolder);
    else
        students::deleteStudentFolder(m_selection.studentFolder);
    students::removeFromRegister(RepertoireW, m_selection.student);
    delete ListView1->findItems(m_selection.student, Qt::MatchExactly).value(0);
    forgetStudent();
    platform::ShowMessage(this, kept.isEmpty()
                                    ? u"« %1 » a été retiré du serveur et de la classe, et son dossier supprimé."_s.arg(name)
                                    : u"« %1 » a été retiré du serveur et de la classe. Son dossier est rangé dans « %2 »."_s.arg(
                                          name, QDir::toNativeSeparators(kept)));
}

void TForm2::Button6Click()
{
    const students::Identity fields = classFields();
    if (fields.schoolClass.isEmpty() || RepertoireW.isEmpty()) {
        platform::ShowMessage(this, u"Aucune classe n'est en cours : il n'y a rien à retirer du serveur."_s);
        return;
    }
    const QString remoteClass = workspace::EnleveAccentsCaseOfDoubles(
        publishing::remoteClassFolderPath(fields.city, fields.school, fields.schoolClass));
    const int answer = platform::Ask(
        this,
        u"Retirer la classe %1 du serveur de publication ?\nLe dossier de chaque élève et la page de la classe sont "
        u"retirés du serveur. Les dossiers des élèves restent sur cet ordinateur."_s.arg(fields.schoolClass),
        {u"Retirer la classe du serveur"_s, u"Annuler"_s});
    if (answer != 0)
        return;
    if (!ConnexionFTP())
        return;
    const auto closeConnection = qScopeGuard([this] { IdFTP1->disconnect(); });
    const QStringList left = publishing::removeRemoteClass(*IdFTP1, remoteClass);
    if (!left.isEmpty()) {
        platform::ShowMessage(this, u"Les élèves et la page de la classe %1 sont retirés du serveur. Restent dans son "
                                    u"dossier « %2 », que Tessavo n'y a pas mis : %3."_s.arg(
                                        fields.schoolClass, remoteClass, left.join(u", "_s)));
        return;
    }
    platform::ShowMessage(this, u"La classe %1 a été retirée du serveur de publication. Ses dossiers restent sur cet "
                                u"ordinateur."_s.arg(fields.schoolClass));
}
