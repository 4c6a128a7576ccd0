// tessavo-publication-host: starts the local publishing host of a working
// folder, or recognises it as already running. Every message is French, like
// the program's.

#include "platform/curlftpclient.h"
#include "localhost/host.h"
#include "localhost/processes.h"
#include "publishing/settings.h"
#include "workspace/failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QSettings>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int Failed = 1;
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

// Why the host was not started or stopped, as the end of a sentence, and what
// to do about it.
class LauncherError : public workspace::Failure
{
public:
    explicit LauncherError(QString cause, QString remedy = {})
        : Failure(std::move(cause))
        , remedy(std::move(remedy))
    {
    }
    QString remedy;
};

void print(FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

QString servedLine(const QString &what, const localhost::LocalHost &host)
{
    return u"%1 pour %2 : ftp://127.0.0.1:%3 (utilisateur %4) et http://127.0.0.1:%5, qui publient %6. %7"_s.arg(
        what, host.workingFolder, QString::number(host.ftpPort), host.user, QString::number(host.webPort),
        host.servedFolder,
        localhost::whatIsPublished(host, host.classroom ? localhost::localNetworkAddress() : QString()));
}

using localhost::isOurServer;

// The server answers on both ports, proves to be this folder's own, and takes
// the account of publication.ini, through the program's own client.
bool servesTheFile(const localhost::HostRecord &record, const publishing::PublicationSettings &settings)
{
    if (!localhost::processes::listensOn(record.pid, record.ftpPort) || !localhost::processes::listensOn(record.pid, record.webPort))
        return false;
    platform::CurlFtpClient client;
    try {
        client.connect(localhost::ownHostLogin(settings));
    } catch (const publishing::FtpError &) {
        return false;
    }
    client.disconnect();
    return true;
}

const QString NotOwnPlace = u"Supprimez-le ou renommez-le : le prochain démarrage le créera à nouveau, pour vous "
                              u"seul."_s;

// A place of the host that the launcher may not use.
void require(const workspace::Result<void> &own, const QString &remedy = {})
{
    if (!own)
        throw LauncherError(own.reason(), remedy);
}

LauncherError portTaken(const localhost::LocalHost &host, int port)
{
    return LauncherError(u"le port %1 de cet ordinateur (clé %2 de publication.ini) est déjà pris par un autre "
                         u"programme"_s.arg(QString::number(port), port == host.ftpPort ? u"port"_s : u"adresse_web"_s),
                         u"Arrêtez ce programme, ou choisissez un autre port dans publication.ini."_s);
}

// What the server said before it ended: its "ERREUR" line, or the last line
// of a Python error.
QString serverFailure(const localhost::ServerReply &said, const QString &errors)
{
    if (said.kind == localhost::ServerReply::Failed)
        return said.text;
    const QStringList lines = errors.split(u'\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? said.text : lines.last().trimmed();
}

void refuseHeldPorts(const localhost::LocalHost &host)
{
    for (const int port : {host.ftpPort, host.webPort}) {
        if (!localhost::processes::portIsFree(port))
            throw portTaken(host, port);
    }
}

QString serverScript()
{
    return QCoreApplication::applicationDirPath() + u"/tessavo-publication-server"_s;
}

// Starts the servers in the background; their process number.
qint64 startServer(const localhost::LocalHost &host, const QString &log)
{
    QProcess server;
    server.setProgram(u"/usr/bin/python3"_s);
    server.setArguments({serverScript(), u"--dossier-publie"_s, host.servedFolder, u"--port-ftp"_s,
                         QString::number(host.ftpPort), u"--port-web"_s, QString::number(host.webPort),
                         u"--journal"_s, log});
    if (host.classroom)
        server.setArguments(server.arguments() << u"--reseau-classe"_s);
    server.setProcessChannelMode(QProcess::SeparateChannels);
    server.start();
    if (!server.waitForStarted(10000))
        throw LauncherError(u"/usr/bin/python3 ne peut pas être lancé (%1)"_s.arg(server.errorString()),
                            u"Installez le paquet python3 (sudo apt-get install python3)."_s);
    const QJsonObject account{{u"utilisateur"_s, host.user}, {u"mot_de_passe"_s, host.password}};
    server.write(QJsonDocument(account).toJson(QJsonDocument::Compact) + '\n');
    server.closeWriteChannel();
    server.waitForFinished(20000);
    const QString said = QString::fromUtf8(server.readAllStandardOutput()).trimmed();
    const localhost::ServerReply reply = localhost::parseServerReply(said);
    switch (reply.kind) {
    case localhost::ServerReply::Ready:
        return reply.pid;
    case localhost::ServerReply::PortTaken:
        // Taken between the check and the start.
        throw portTaken(host, reply.port);
    case localhost::ServerReply::ModuleMissing:
        throw LauncherError(u"le module Python %1 est introuvable"_s.arg(reply.text),
                            u"Installez le paquet python3-%1 (sudo apt-get install python3-%1)."_s.arg(reply.text));
    case localhost::ServerReply::Failed:
    case localhost::ServerReply::Unknown:
        break;
    }
    const QString failure = serverFailure(reply, QString::fromUtf8(server.readAllStandardError()));
    throw LauncherError(failure.isEmpty() ? u"son serveur s'est arrêté sans rien dire"_s
                                          : u"son serveur s'est arrêté sur l'erreur « %1 »"_s.arg(failure),
                        u"Installez Tessavo à nouveau si l'erreur se répète."_s);
}

// A publication.ini written by hand or by an earlier version may be readable
// by others: it holds the password.
void keepForItsOwner(const QString &ini)
{
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions now = QFile::permissions(ini);
    if (now & others)
        QFile::setPermissions(ini, now & ~others);
}

int serve(const QString &workingFolder, const QString &state)
{
    bool written = false;
    const QString ini = QDir(workingFolder).filePath(publishing::PublicationIni);
    if (QFileInfo::exists(ini) || QFileInfo(ini).isSymLink()) {
        keepForItsOwner(ini);
    } else {
        const auto [ftpPort, webPort] = localhost::choosePorts(
            localhost::processes::portIsFree, localhost::portsOfOtherFolders(state, workingFolder));
        written = localhost::writeFreshPublicationIni(
            workingFolder, localhost::freshPublicationIni(ftpPort, webPort, localhost::randomPassword()));
    }
    const bool ownFile = localhost::isProgramsOwnIni(workingFolder);
    if (!ownFile) {
        // A file a person wrote, for a host of their choosing: it is used as it is.
        const QString named = QSettings(ini, QSettings::IniFormat).value(u"publication/hote"_s).toString().trimmed();
        print(stdout, u"publication.ini n'a pas été écrit par Tessavo : aucun serveur de publication local n'est "
                      u"démarré pour %1, la publication va vers l'hôte qu'il nomme (%2)."_s.arg(workingFolder, named));
        return 0;
    }
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(workingFolder);
    localhost::HostFacts facts;
    facts.ownFile = true;
    facts.namesThisComputer = localhost::namesThisComputer(settings.host);
    if (!facts.namesThisComputer) {
        print(stdout, u"publication.ini nomme l'hôte %1 : aucun serveur de publication local n'est démarré pour %2."_s.arg(
                          settings.host, workingFolder));
        return 0;
    }
    const localhost::LocalHost host = localhost::localHostOf(workingFolder, settings);
    const QString recordPath = localhost::recordPath(state, workingFolder);
    require(localhost::checkOwnPlace(recordPath, u"l'état du serveur"_s), NotOwnPlace);
    const std::optional<localhost::HostRecord> record = localhost::readRecord(recordPath);
    facts.ourServerRuns = record && isOurServer(*record, workingFolder);
    facts.sameSettings = facts.ourServerRuns && record->ftpPort == host.ftpPort && record->webPort == host.webPort
                         && record->servedFolder == host.servedFolder && record->classroom == host.classroom;
    facts.takesTheAccount = facts.sameSettings && servesTheFile(*record, settings);

    switch (localhost::hostAction(facts)) {
    case localhost::HostAction::LeaveAlone:
        return 0;
    case localhost::HostAction::Keep:
        print(stdout, servedLine(u"Serveur de publication local déjà en marche"_s, host));
        return 0;
    case localhost::HostAction::Replace:
        // Ours, but publication.ini changed since: it makes way for a new one.
        localhost::processes::stop(record->pid, record->startTime);
        break;
    case localhost::HostAction::Start:
        break;
    }
    QFile::remove(recordPath);

    // The published folder is the launcher's own: never one that another
    // user made, a link to elsewhere, or one that others can write.
    require(localhost::makeOwnFolder(host.servedFolder, u"le dossier publié"_s), NotOwnPlace);
    refuseHeldPorts(host);
    localhost::HostRecord started{workingFolder, host.servedFolder, 0, 0, host.ftpPort, host.webPort, host.classroom};
    started.pid = startServer(host, localhost::logPath(state, workingFolder));
    started.startTime = localhost::processes::startTimeOf(started.pid).value_or(0);
    if (!isOurServer(started, workingFolder) || !servesTheFile(started, settings)) {
        localhost::processes::stop(started.pid, started.startTime);
        throw LauncherError(u"il n'accepte pas le compte (utilisateur et mot de passe) de publication.ini, et a été "
                            u"arrêté"_s,
                            u"Voyez son journal %1."_s.arg(localhost::logPath(state, workingFolder)));
    }
    localhost::writeRecord(recordPath, started);
    QString line = servedLine(u"Serveur de publication local démarré"_s, host);
    if (written)
        line += u" publication.ini vient d'être écrit, avec un mot de passe tiré au hasard."_s;
    print(stdout, line);
    return 0;
}

int stopServer(const QString &workingFolder, const QString &state)
{
    const QString recordPath = localhost::recordPath(state, workingFolder);
    require(localhost::checkOwnPlace(recordPath, u"l'état du serveur"_s), NotOwnPlace);
    const std::optional<localhost::HostRecord> record = localhost::readRecord(recordPath);
    if (!record || !isOurServer(*record, workingFolder)) {
        QFile::remove(recordPath);
        print(stdout, u"Aucun serveur de publication local ne tourne pour %1."_s.arg(workingFolder));
        return 0;
    }
    localhost::processes::stop(record->pid, record->startTime);
    QFile::remove(recordPath);
    print(stdout, u"Serveur de publication local arrêté pour %1."_s.arg(workingFolder));
    return 0;
}

// The state folder, made for its owner alone.
QString preparedStateFolder()
{
    const QString state = localhost::stateFolder();
    if (!QDir().mkpath(QFileInfo(state).absolutePath()))
        throw LauncherError(u"le dossier d'état %1 ne peut pas être créé"_s.arg(state));
    require(localhost::makeOwnFolder(state, u"le dossier d'état"_s), NotOwnPlace);
    QFile::setPermissions(state, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return state;
}

// A sentence of the program's ("Le fichier « x » ne peut pas être écrit.") as
// the end of another one.
QString asCause(QString sentence)
{
    if (sentence.endsWith(u'.'))
        sentence.chop(1);
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toLower();
    return sentence;
}

// The one message of a launcher that failed, saying once that the host was
// not started (or stopped), why, and what to do.
QString failed(bool stopping, const QString &cause, const QString &remedy)
{
    return stopping ? localhost::hostNotStopped(cause, remedy) : localhost::hostNotStarted(cause, remedy);
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
    try {
        const QString workingFolder = QFileInfo(arguments.first()).canonicalFilePath();
        if (workingFolder.isEmpty() || !QFileInfo(workingFolder).isDir())
            throw LauncherError(u"le dossier de travail « %1 » est introuvable"_s.arg(arguments.first()));
        const QString state = preparedStateFolder();
        // One launcher at a time: two starts at once end with one server.
        QLockFile lock(state + u"/hote.lock"_s);
        lock.setStaleLockTime(0);
        if (!lock.tryLock(60000))
            throw LauncherError(u"un autre lanceur du serveur ne finit pas (verrou %1)"_s.arg(state + u"/hote.lock"_s),
                                u"Recommencez dans une minute."_s);
        return stopping ? stopServer(workingFolder, state) : serve(workingFolder, state);
    } catch (const LauncherError &error) {
        print(stderr, failed(stopping, error.message(), error.remedy));
        return Failed;
    } catch (const publishing::SettingsError &refused) {
        // publication.ini cannot be served here, or no port is left for it.
        const QString remedy = refused.file().isEmpty()
                                   ? u"Fermez les programmes qui occupent ces ports, ou redémarrez l'ordinateur."_s
                                   : u"Corrigez le fichier %1, ou supprimez-le : le prochain démarrage en écrira un "
                                     u"nouveau."_s.arg(refused.file());
        print(stderr, failed(stopping, refused.reason(), remedy));
        return Failed;
    } catch (const workspace::Failure &failure) {
        print(stderr, failed(stopping, asCause(failure.message()), {}));
        return Failed;
    }
}
