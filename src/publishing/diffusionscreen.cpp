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

UploadResult envoyer(QWidget *screen, platform::FtpClient &client, const Diffusion &diffusion,
                     const QStringList &files)
{
    const std::unique_ptr<platform::Progress> progress = platform::services().progress->open(screen);
    client.setProgress([&progress](qint64 sent, qint64 total) { progress->bytesSent(sent, total); });
    UploadWatch watch;
    watch.fileStarted = [&progress](const UploadStep &step) {
        progress->fileStarted(step.index, step.count, step.name, step.size);
    };
    watch.bytesSent = [&progress](qint64 sent, qint64 total) { progress->bytesSent(sent, total); };
    watch.cancelRequested = [&progress] { return progress->cancelRequested(); };
    try {
        const UploadResult result = uploadFiles(client, diffusion, files, watch);
        client.setProgress({});
        return result;
    } catch (...) {
        client.setProgress({});
        throw;
    }
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
    if (const std::optional<QString> error = ConnexionFTP(*client, workingFolder)) {
        platform::ShowMessage(screen, *error);
        return {};
    }
    DiffusionOutcome outcome;
    outcome.tableOfContents = tableOfContentsAddress(readPublicationSettings(workingFolder).adresse_web, target);
    const QStringList files = sourceFiles(source);
    if (files.isEmpty()) {
        client->disconnect();
        platform::ShowMessage(screen, u"Le dossier de l'élève « %1 » ne contient aucun fichier : rien n'a été publié."_s.arg(source));
        outcome.end = DiffusionEnd::NothingToPublish;
        return outcome;
    }
    const UploadResult result = envoyer(screen, *client, {source, target, workingFolder}, files);
    client->disconnect();
    outcome.published = result.published;
    if (result.cancelled) {
        platform::ShowMessage(screen, u"Publication interrompue : %1 fichier(s) sur %2 mis en ligne. Ceux-là restent publiés."_s
                                          .arg(result.published)
                                          .arg(result.count));
        outcome.end = DiffusionEnd::Cancelled;
        return outcome;
    }
    outcome.end = DiffusionEnd::Published;
    return outcome;
}

void ouvrirTableDesMatieres(const DiffusionOutcome &outcome)
{
    platform::services().shell->openAddress(outcome.tableOfContents);
}

} // namespace publishing
