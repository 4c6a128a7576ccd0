#include "diffusionscreen.h"

#include "platform/platform.h"
#include "publishing/connexion.h"
#include "publishing/diffusion.h"
#include "publishing/settings.h"
#include "workspace/paths.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

bool s_enCours = false;

class EnCours
{
public:
    EnCours() { s_enCours = true; }
    ~EnCours() { s_enCours = false; }
    EnCours(const EnCours &) = delete;
    EnCours &operator=(const EnCours &) = delete;
};

// The progress window over the screen, told by the client while it connects
// and uploads; it closes, and the client stops telling it, on destruction.
class Fenetre
{
public:
    Fenetre(QWidget *screen, platform::FtpClient &client)
        : m_client(client)
        , m_progress(platform::services().progress->open(screen))
    {
        m_client.setProgress([this](qint64 sent, qint64 total) { m_progress->bytesSent(sent, total); });
    }
    ~Fenetre() { m_client.setProgress({}); }
    Fenetre(const Fenetre &) = delete;
    Fenetre &operator=(const Fenetre &) = delete;

    UploadWatch watch() const
    {
        UploadWatch watch;
        watch.fileStarted = [this](const UploadStep &step) {
            m_progress->fileStarted(step.index, step.count, step.name, step.size);
        };
        watch.bytesSent = [this](qint64 sent, qint64 total) { m_progress->bytesSent(sent, total); };
        watch.cancelRequested = [this] { return m_progress->cancelRequested(); };
        return watch;
    }

private:
    platform::FtpClient &m_client;
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

bool publicationEnCours()
{
    return s_enCours;
}

DiffusionOutcome diffuser(QWidget *screen, const QString &source, const QString &target)
{
    Q_ASSERT(!s_enCours);
    const EnCours enCours;
    const QString workingFolder = workspace::workingFolder();
    if (!QFileInfo(source).isDir()) {
        platform::ShowMessage(screen, u"Le dossier de l'élève « %1 » est introuvable : rien n'a été publié."_s.arg(source));
        return {};
    }
    const std::unique_ptr<platform::FtpClient> client = platform::services().ftp->create();
    auto fenetre = std::make_unique<Fenetre>(screen, *client);
    if (const std::optional<QString> error = ConnexionFTP(*client, workingFolder)) {
        fenetre.reset();
        platform::ShowMessage(screen, *error);
        return {};
    }
    DiffusionOutcome outcome;
    outcome.tableOfContents = tableOfContentsAddress(readPublicationSettings(workingFolder).adresse_web, target);
    const QStringList files = sourceFiles(source);
    const UploadResult result = uploadFiles(*client, {source, target, workingFolder}, files, fenetre->watch());
    client->disconnect();
    fenetre.reset();
    outcome.published = result.published;
    if (files.isEmpty()) {
        platform::ShowMessage(screen, u"Le dossier de l'élève « %1 » ne contient aucun fichier : rien n'a été publié."_s.arg(source));
        outcome.end = DiffusionEnd::NothingToPublish;
    } else if (result.cancelled) {
        platform::ShowMessage(screen, interrompue(result));
        outcome.end = DiffusionEnd::Cancelled;
    } else {
        outcome.end = DiffusionEnd::Published;
    }
    return outcome;
}

void ouvrirTableDesMatieres(const DiffusionOutcome &outcome)
{
    platform::services().shell->openAddress(outcome.tableOfContents);
}

} // namespace publishing
