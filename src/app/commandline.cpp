#include "commandline.h"

using namespace Qt::StringLiterals;

namespace app {

workspace::Result<CommandLine> readCommandLine(const QStringList &arguments)
{
    QStringList folders;
    bool options = true;
    for (const QString &argument : arguments) {
        const bool option = options && argument.startsWith(u'-');
        if (option && argument == u"--")
            options = false;
        else if (option && (argument == u"--help" || argument == u"-h"))
            return CommandLine{CommandLine::Request::Help, {}};
        else if (option && (argument == u"--version" || argument == u"-v"))
            return CommandLine{CommandLine::Request::Version, {}};
        else if (option)
            return workspace::refuse(u"Option inconnue : « %1 »."_s.arg(argument));
        else if (argument.isEmpty())
            return workspace::refuse(u"Le nom du dossier de travail est vide."_s);
        else
            folders.append(argument);
    }
    if (folders.size() > 1)
        return workspace::refuse(u"Un seul dossier de travail peut être donné, et non %1 : « %2 »."_s
                                     .arg(folders.size())
                                     .arg(folders.join(u" », « "_s)));
    return CommandLine{CommandLine::Request::Run, folders.value(0)};
}

QString helpText()
{
    return uR"(Usage : tessavo [DOSSIER]

Tessavo prépare des textes de lecture pour les élèves dyslexiques, en adapte
la présentation (police, espacements, syllabes en couleurs, lettres muettes,
phrases en couleurs, un son en gras rouge...) et les publie pour
l'application de lecture de la tablette de l'élève.

Le dossier de travail :
  Tessavo travaille dans DOSSIER, qu'il crée s'il n'existe pas. Sans DOSSIER,
  il travaille dans le dossier courant s'il contient déjà le dossier des
  modèles « reserve », et sinon dans le dossier « Tessavo » du dossier
  personnel (~/Tessavo), comme lorsqu'il est lancé depuis le menu.

  S'il manque au dossier de travail le dossier des modèles « reserve », la
  page « travaux.html » ou la page d'aide « A_lire_une_Fois.htm », Tessavo
  les y écrit au démarrage. Il ne modifie jamais ce que le dossier contient
  déjà.

Le serveur de publication local :
  En démarrant, Tessavo lance le serveur de publication local du dossier de
  travail (FTP et web, sur cet ordinateur seulement), ou le trouve déjà en
  marche, quand publication.ini nomme cet ordinateur (127.0.0.1) ou manque :
  il l'écrit alors, lisible par vous seul. Quand publication.ini nomme un
  autre hôte, rien n'est lancé. Le serveur continue après la fin de Tessavo.

Options :
  -h, --help     affiche cette aide et s'arrête
  -v, --version  affiche la version de Tessavo et s'arrête
  --             ce qui suit est le dossier, même s'il commence par « - »

Les aides à la lecture existent aussi en ligne de commande : tessavo-aides.
)"_s;
}

QString versionText()
{
    return u"Tessavo, version %1\n"_s.arg(QStringLiteral(TESSAVO_VERSION));
}

} // namespace app
