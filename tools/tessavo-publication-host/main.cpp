// tessavo-publication-host: starts the local publishing host of a working
// folder, or recognises it as already running (localhost::runLauncher); here,
// only its command line and what it prints.

#include "localhost/launcher.h"
#include "platform/curlftpclient.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Usage = 2;

const QString Help = uR"(Usage : tessavo-publication-host DOSSIER
        tessavo-publication-host --arreter DOSSIER

Démarre le serveur de publication local du dossier de travail DOSSIER : un
serveur FTP et un serveur web qui n'écoutent que sur cet ordinateur
(127.0.0.1), tous deux sur le dossier DOSSIER-publication. Avec
reseau_classe=oui dans publication.ini, le serveur web répond aussi sur le
réseau local, en lecture seule et pour les seuls dossiers nommés par le code
d'un élève ; le serveur FTP reste sur cet ordinateur.

Sans publication.ini dans DOSSIER, l'écrit d'abord (lisible par vous seul) :
utilisateur tessavo, mot de passe tiré au hasard, deux ports libres choisis
pour ce dossier, et la ligne serveur_local=oui qui le marque comme celui de
Tessavo. Un publication.ini écrit par une personne (sans cette ligne) est
utilisé tel quel, même s'il nomme cet ordinateur : rien n'est démarré.

Un serveur déjà démarré pour ce dossier, qui accepte le mot de passe de
publication.ini, est gardé. L'état est noté dans $XDG_STATE_HOME/tessavo
(~/.local/state/tessavo par défaut), avec le journal des serveurs.

Le mot de passe ne passe ni par la ligne de commande ni par l'environnement.
En cas de succès, une ligne dit ce qui est servi et le code de sortie est 0.
Sinon, un message est écrit sur la sortie d'erreur et le code de sortie est 1
(2 pour une commande mal formée).

  --arreter   arrête le serveur de publication local de DOSSIER
)"_s;

void print(FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    if (arguments.contains(u"--help"_s) || arguments.contains(u"-h"_s)) {
        print(stdout, Help.trimmed());
        return 0;
    }
    const bool stopping = arguments.removeAll(u"--arreter"_s) > 0;
    if (arguments.size() != 1 || arguments.first().startsWith(u'-')) {
        print(stderr, u"Usage : tessavo-publication-host [--arreter] DOSSIER (--help pour l'aide)."_s);
        return Usage;
    }
    const localhost::LauncherSystem system =
        localhost::systemLauncher(QCoreApplication::applicationDirPath() + u"/tessavo-publication-server"_s,
                                  [] { return std::make_unique<platform::CurlFtpClient>(); });
    const localhost::LauncherOutcome outcome =
        localhost::runLauncher(stopping, arguments.first(), localhost::stateFolder(), system);
    if (!outcome.output.isEmpty())
        print(stdout, outcome.output);
    if (!outcome.error.isEmpty())
        print(stderr, outcome.error);
    return outcome.exitCode;
}
