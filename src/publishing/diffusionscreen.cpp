#include "diffusionscreen.h"

#include "platform/platform.h"
#include "publishing/changedfiles.h"
#include "localhost/connexion.h"
#include "publishing/diffusion.h"
#include "publishing/plainftp.h"
#include "publishing/settings.h"
#include "workspace/paths.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

bool s_running = false;

class Running
{
public:
    Running() { s_running = true; }
    ~Running() { s_running = false; }
    Running(const Running &) = delete;
    Running &operator=(const Running &) = delete;
};

// The progress window over the screen, told by the client while it connects
// and uploads; it closes, and the client stops telling it, on destruction.
class ProgressWindow
{
public:
    ProgressWindow(QWidget *screen, FtpClient &client)
        : m_client(client)
        , m_progress(platform::services().progress->open(screen))
    {
        m_client.setProgress([this](qint64 sent, qint64 total) { m_progress->bytesSent(sent, total); });
    }
    ~ProgressWindow() { m_client.setProgress({}); }
    ProgressWindow(const ProgressWindow &) = delete;
    ProgressWindow &operator=(const ProgressWindow &) = delete;

    UploadWatch watch() const
    {
        UploadWatch watch;
        watch.fileStarted = [this](const UploadStep &step) {
            m_progress->fileStarted(step.index, step.count, step.name, step.size);
        };
        watch.bytesSent = [this](qint64 sent, qint64 total) { m_progress->bytesSent(sent, total); };
        watch.cancelRequested = [this] { return m_progress->cancelRequested(); };
        watch.unchangedFound = [this](int count) { m_progress->unchangedFiles(count); };
        return watch;
    }

private:
    FtpClient &m_client;
    std::unique_ptr<platform::Progress> m_progress;
};

QString interrompue(const UploadResult &result)
{
    if (result.published == 0)
        return u"Publication interrompue : aucun fichier n'a été mis en ligne."_s;
    return u"Publication interrompue : %1 fichier(s) sur %2 mis en ligne. Ceux-là restent publiés."_s
        .arg(result.published)
        .arg(result.count);
}

} // namespace

QString MessageLecteur()
{
    return u"Ceci permet au lecteur de récupérer les textes aménagés sur sa tablette ou son ordi au travers l'application \"Tessavo\"-lecteur"_s;
}

bool askBeforePublishing(QWidget *screen)
{
    return platform::ShowMessageWithCheckBox(screen, MessageLecteur(), u"Tout republier"_s);
}

void warnIfPlainFtp(QWidget *screen, const QString &workingFolder)
{
    if (const std::optional<QString> warning = plainFtpWarningBeforeUpload(workingFolder))
        platform::ShowMessage(screen, *warning);
}

bool publicationRunning()
{
    return s_running;
}

namespace {

QString leftOutMessage(const StudentFiles &found)
{
    QStringList reasons;
    for (const QString &name : found.links)
        reasons << u"« %1 » : c'est un lien vers un autre fichier, qui n'est pas celui de l'élève ;"_s.arg(name);
    for (const QString &name : found.unreadable)
        reasons << u"« %1 » : son nom n'est pas lisible (caractères inconnus), renommez-le pour le publier ;"_s.arg(name);
    reasons.last().chop(2);
    return u"Ces fichiers du dossier de l'élève ne sont pas publiés :\n"_s + reasons.join(u'\n') + u'.';
}

// The files to send, once the folder was found to be the student's own;
// nothing when the teacher was told why not.
std::optional<QStringList> studentFiles(QWidget *screen, const QString &source)
{
    if (!QFileInfo(source).isDir()) {
        platform::ShowMessage(screen, u"Le dossier de l'élève « %1 » est introuvable : rien n'a été publié."_s.arg(source));
        return std::nullopt;
    }
    if (isLinkedFolder(source)) {
        platform::ShowMessage(screen, u"Le dossier de l'élève « %1 » est un lien vers un autre dossier : rien n'a été "
                                      u"publié."_s.arg(source));
        return std::nullopt;
    }
    const StudentFiles found = listStudentFiles(source);
    removeLeftovers(source, found.leftovers);
    if (!found.links.isEmpty() || !found.unreadable.isEmpty())
        platform::ShowMessage(screen, leftOutMessage(found));
    if (found.files.isEmpty()) {
        platform::ShowMessage(screen, u"Le dossier de l'élève « %1 » ne contient aucun fichier : rien n'a été publié."_s.arg(source));
        return std::nullopt;
    }
    return found.files;
}

} // namespace

DiffusionOutcome publish(QWidget *screen, const QString &source, const QString &target, bool everything)
{
    Q_ASSERT(!s_running);
    const Running running;
    const QString workingFolder = workspace::workingFolder();
    const std::optional<QStringList> files = studentFiles(screen, source);
    if (!files)
        return {};
    warnIfPlainFtp(screen, workingFolder);
    const std::unique_ptr<FtpClient> client = platform::services().ftp->create();
    auto window = std::make_unique<ProgressWindow>(screen, *client);
    if (const workspace::Result<void> connected = localhost::ConnexionFTP(*client, workingFolder); !connected) {
        window.reset();
        platform::ShowMessage(screen, connected.reason());
        return {};
    }
    DiffusionOutcome outcome;
    const PublicationSettings settings = readPublicationSettings(workingFolder);
    outcome.tableOfContents = tableOfContentsAddress(settings.adresse_web, target);
    const UploadResult result = uploadChangedFiles(*client, {source, target, workingFolder}, *files,
                                                   hostIdentity(settings.login()), everything, window->watch());
    client->disconnect();
    window.reset();
    outcome.published = result.published;
    outcome.unchanged = result.unchanged;
    if (result.cancelled) {
        platform::ShowMessage(screen, interrompue(result));
        outcome.end = DiffusionEnd::Cancelled;
    } else {
        outcome.end = DiffusionEnd::Published;
    }
    return outcome;
}

void openTableOfContents(QWidget *screen, const DiffusionOutcome &outcome)
{
    platform::showInBrowser(screen, outcome.tableOfContents);
}

} // namespace publishing
