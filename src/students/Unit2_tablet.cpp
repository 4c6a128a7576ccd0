// "Adresse pour la tablette": the chosen pupil's address with its QR code,
// and the cards of the class to print.
#include "Unit2.h"

#include "platform/handlers.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "localhost/connexion.h"
#include "publishing/diffusion.h"
#include "localhost/classroom.h"
#include "publishing/settings.h"
#include "students/classcards.h"
#include "students/publicaddress.h"
#include "students/tabletwindow.h"
#include "workspace/ioerror.h"
#include "workspace/paths.h"
#include "workspace/textfile.h"

#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString CardsPdf = u"codes-tablettes.pdf"_s;

} // namespace

QString TForm2::tabletAddress(const QString &remoteFolder) const
{
    const QString workingFolder = workspace::workingFolder();
    if (const std::optional<QString> classroom = localhost::tabletAddressOf(workingFolder, remoteFolder))
        return *classroom;
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(workingFolder);
    return publishing::tableOfContentsAddress(settings.adresse_web, remoteFolder);
}

void TForm2::showClassroomNetwork()
{
    const QString workingFolder = workspace::workingFolder();
    const bool own = localhost::isProgramsOwnIni(workingFolder);
    CheckBox1->setVisible(own);
    if (!own)
        return;
    const QSettings ini(QDir(workingFolder).filePath(publishing::PublicationIni), QSettings::IniFormat);
    CheckBox1->setChecked(ini.value(u"publication/reseau_classe"_s).toString().trimmed().toLower() == u"oui"_s);
}

void TForm2::CheckBox1Click()
{
    const bool open = CheckBox1->isChecked();
    const QString ini = QDir(workspace::workingFolder()).filePath(publishing::PublicationIni);
    const std::optional<QByteArray> bytes = workspace::readBytesIfAny(ini);
    if (!bytes)
        throw workspace::IoError::cannotRead(ini);
    workspace::writeBytes(ini, publishing::withPublicationKey(*bytes, u"reseau_classe"_s, open ? u"oui"_s : u"non"_s));
    localhost::restartHost();
    platform::ShowMessage(
        this, open ? u"Le serveur de publication de cet ordinateur s'ouvre au réseau de la classe : les tablettes y "
                     u"lisent les documents de chaque élève par son code (« Adresse pour la tablette »), et rien "
                     u"d'autre. La page de la classe et les dossiers à un nom n'y sont pas servis."_s
                   : u"Le serveur de publication ne sert plus que cet ordinateur : les tablettes ne le joignent plus."_s);
}

void TForm2::Button7Click()
{
    if (m_selection.student.isEmpty()) {
        platform::ShowMessage(this, u"Il faut d'abord choisir un élève dans la liste."_s);
        return;
    }
    delete m_tabletWindow;
    const QString workingFolder = workspace::workingFolder();
    const bool onlyHere = localhost::isProgramsOwnIni(workingFolder)
        && !localhost::tabletAddressOf(workingFolder, m_selection.remoteFolder);
    m_tabletWindow = new TabletWindow(
        this, chosenPupilName(), tabletAddress(m_selection.remoteFolder),
        onlyHere ? u"Cette adresse ne s'ouvre que sur cet ordinateur : cochez « Réseau de la classe » sur l'écran des "
                   u"élèves pour que la tablette la lise."_s
                 : QString());
    m_tabletWindow->setAttribute(Qt::WA_DeleteOnClose);
    platform::connectHandler(m_tabletWindow.data(), &TabletWindow::printRequested, this, &TForm2::printClassCards);
    m_tabletWindow->show();
}

void TForm2::printClassCards()
{
    QList<students::TabletCard> cards;
    QStringList named;
    const students::Identity fields = classFields();
    for (int i = 0; i < ListView1->count(); ++i) {
        const QString name = ListView1->item(i)->text();
        const std::optional<students::PublicAddress> address =
            students::readPublicAddress(RepertoireW + name + workspace::separator());
        if (!address) {
            named << name;
            continue;
        }
        cards << students::TabletCard{address->shownName,
                                      tabletAddress(students::codeRemoteFolder(fields, address->code))};
    }
    if (cards.isEmpty()) {
        platform::ShowMessage(this, u"Aucun élève de la classe n'a d'adresse discrète : il n'y a pas de code à imprimer."_s);
        return;
    }
    const QString pdf = QDir(RepertoireW).absoluteFilePath(u"../"_s + CardsPdf);
    students::writeClassCards(QDir::cleanPath(pdf), u"Les codes de la classe %1"_s.arg(fields.schoolClass), cards);
    if (!named.isEmpty())
        platform::ShowMessage(this, u"Ces élèves sont publiés sous leur nom et n'ont pas de carte : %1. Choisissez-les "
                                    u"puis « Rendre l'adresse discrète »."_s.arg(named.join(u", "_s)));
    if (!platform::services().shell->openFile(QDir::cleanPath(pdf)))
        platform::ShowMessage(this, u"Les cartes de la classe sont dans « %1 » : ouvrez ce fichier pour les "
                                    u"imprimer."_s.arg(QDir::toNativeSeparators(QDir::cleanPath(pdf))));
}
