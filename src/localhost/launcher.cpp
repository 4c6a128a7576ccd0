#include "launcher.h"

#include "localhost/classroom.h"
#include "localhost/decisions.h"
#include "localhost/processes.h"
#include "localhost/proof.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace localhost {

namespace {

QString servedLine(const QString &what, const LocalHost &host, const LauncherSystem &system)
{
    return u"%1 pour %2 : ftp://127.0.0.1:%3 (utilisateur %4) et http://127.0.0.1:%5, qui publient %6. %7"_s.arg(
        what, host.workingFolder, QString::number(host.ftpPort), host.user, QString::number(host.webPort),
        host.servedFolder, whatIsPublished(host, host.classroom ? system.networkAddress() : QString()));
}

// The server answers on both ports, proves to be this folder's own, and takes
// the account of publication.ini.
bool servesTheFile(const HostRecord &record, const publishing::PublicationSettings &settings,
                   const LauncherSystem &system)
{
    return system.probes.listensOn(record.pid, record.ftpPort) && system.probes.listensOn(record.pid, record.webPort)
           && system.logsIn(settings);
}

const QString NotOwnPlace = u"Supprimez-le ou renommez-le : le prochain démarrage le créera à nouveau, pour vous "
                            u"seul."_s;

// A place of the host that the launcher may not use.
void require(const workspace::Result<void> &own, const QString &remedy = {})
{
    if (!own)
        throw LauncherError(own.reason(), remedy);
}

LauncherError portTaken(const LocalHost &host, int port)
{
    return LauncherError(u"le port %1 de cet ordinateur (clé %2 de publication.ini) est déjà pris par un autre "
                         u"programme"_s.arg(QString::number(port), port == host.ftpPort ? u"port"_s : u"adresse_web"_s),
                         u"Arrêtez ce programme, ou choisissez un autre port dans publication.ini."_s);
}

// What the server said before it ended: its "ERREUR" line, or the last line
// of a Python error.
QString serverFailure(const ServerReply &said, const QString &errors)
{
    if (said.kind == ServerReply::Failed)
        return said.text;
    const QStringList lines = errors.split(u'\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? said.text : lines.last().trimmed();
}

void refuseHeldPorts(const LocalHost &host, const Probes &probes)
{
    for (const int port : {host.ftpPort, host.webPort}) {
        if (!probes.portIsFree(port))
            throw portTaken(host, port);
    }
}

// Starts the servers in the background; their process number.
qint64 startServerProcess(const QString &script, const LocalHost &host, const QString &log)
{
    QProcess server;
    server.setProgram(u"/usr/bin/python3"_s);
    server.setArguments({script, u"--dossier-publie"_s, host.servedFolder, u"--port-ftp"_s,
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
    const ServerReply reply = parseServerReply(said);
    switch (reply.kind) {
    case ServerReply::Ready:
        return reply.pid;
    case ServerReply::PortTaken:
        // Taken between the check and the start.
        throw portTaken(host, reply.port);
    case ServerReply::ModuleMissing:
        throw LauncherError(u"le module Python %1 est introuvable"_s.arg(reply.text),
                            u"Installez le paquet python3-%1 (sudo apt-get install python3-%1)."_s.arg(reply.text));
    case ServerReply::Failed:
    case ServerReply::Unknown:
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

// Writes a fresh publication.ini when there is none; true when it did.
bool ensurePublicationIni(const QString &workingFolder, const QString &state, const Probes &probes)
{
    const QString ini = QDir(workingFolder).filePath(publishing::PublicationIni);
    if (QFileInfo::exists(ini) || QFileInfo(ini).isSymLink()) {
        keepForItsOwner(ini);
        return false;
    }
    const auto [ftpPort, webPort] = choosePorts(probes.portIsFree, portsOfOtherFolders(state, workingFolder));
    return writeFreshPublicationIni(workingFolder, freshPublicationIni(ftpPort, webPort, randomPassword()));
}

// The line said when publication.ini sends the publication to another host
// than the program's own: a file a person wrote, used as it is, or the
// program's file edited to name a real host. Nothing for the own host.
std::optional<QString> publishedElsewhere(const QString &workingFolder)
{
    if (!isProgramsOwnIni(workingFolder)) {
        const QString ini = QDir(workingFolder).filePath(publishing::PublicationIni);
        const QString named = QSettings(ini, QSettings::IniFormat).value(u"publication/hote"_s).toString().trimmed();
        return u"publication.ini n'a pas été écrit par Tessavo : aucun serveur de publication local n'est démarré "
               u"pour %1, la publication va vers l'hôte qu'il nomme (%2)."_s.arg(workingFolder, named);
    }
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(workingFolder);
    if (!namesThisComputer(settings.host))
        return u"publication.ini nomme l'hôte %1 : aucun serveur de publication local n'est démarré pour %2."_s.arg(
            settings.host, workingFolder);
    return std::nullopt;
}

// What the launcher finds of the server its record names, for the own host
// of publication.ini.
HostFacts factsOf(const std::optional<HostRecord> &record, const LocalHost &host,
                  const publishing::PublicationSettings &settings, const LauncherSystem &system)
{
    HostFacts facts{true, true};
    facts.ourServerRuns = record && isOurServer(*record, host.workingFolder, system.probes);
    facts.sameSettings = facts.ourServerRuns && record->ftpPort == host.ftpPort && record->webPort == host.webPort
                         && record->servedFolder == host.servedFolder && record->classroom == host.classroom;
    facts.takesTheAccount = facts.sameSettings && servesTheFile(*record, settings, system);
    return facts;
}

// Starts the servers of host and checks that they are this folder's own,
// taking the account of settings; the record of them.
HostRecord startChecked(const LocalHost &host, const publishing::PublicationSettings &settings, const QString &state,
                        const LauncherSystem &system)
{
    const QString log = logPath(state, host.workingFolder);
    HostRecord started{host.workingFolder, host.servedFolder, 0, 0, host.ftpPort, host.webPort, host.classroom};
    started.pid = system.startServer(host, log);
    started.startTime = system.probes.startTimeOf(started.pid).value_or(0);
    if (!isOurServer(started, host.workingFolder, system.probes) || !servesTheFile(started, settings, system)) {
        system.stop(started.pid, started.startTime);
        throw LauncherError(u"il n'accepte pas le compte (utilisateur et mot de passe) de publication.ini, et a été "
                            u"arrêté"_s,
                            u"Voyez son journal %1."_s.arg(log));
    }
    return started;
}

// The state folder, made for its owner alone.
void prepareStateFolder(const QString &state)
{
    if (!QDir().mkpath(QFileInfo(state).absolutePath()))
        throw LauncherError(u"le dossier d'état %1 ne peut pas être créé"_s.arg(state));
    require(makeOwnFolder(state, u"le dossier d'état"_s), NotOwnPlace);
    QFile::setPermissions(state, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
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
LauncherOutcome failed(bool stopping, const QString &cause, const QString &remedy)
{
    return {1, {}, stopping ? hostNotStopped(cause, remedy) : hostNotStarted(cause, remedy)};
}

LauncherOutcome launch(bool stopping, const QString &folderArgument, const QString &state, const LauncherSystem &system)
{
    const QString workingFolder = QFileInfo(folderArgument).canonicalFilePath();
    if (workingFolder.isEmpty() || !QFileInfo(workingFolder).isDir())
        throw LauncherError(u"le dossier de travail « %1 » est introuvable"_s.arg(folderArgument));
    prepareStateFolder(state);
    // One launcher at a time: two starts at once end with one server.
    QLockFile lock(state + u"/hote.lock"_s);
    lock.setStaleLockTime(0);
    if (!lock.tryLock(60000))
        throw LauncherError(u"un autre lanceur du serveur ne finit pas (verrou %1)"_s.arg(state + u"/hote.lock"_s),
                            u"Recommencez dans une minute."_s);
    return {0, stopping ? stopServer(workingFolder, state, system) : serve(workingFolder, state, system), {}};
}

} // namespace

LauncherError::LauncherError(QString cause, QString remedy)
    : Failure(std::move(cause))
    , remedy(std::move(remedy))
{
}

LauncherSystem systemLauncher(const QString &serverScript,
                              std::function<std::unique_ptr<publishing::FtpClient>()> newClient)
{
    LauncherSystem system;
    system.probes = systemProbes();
    system.startServer = [serverScript](const LocalHost &host, const QString &log) {
        return startServerProcess(serverScript, host, log);
    };
    system.stop = processes::stop;
    system.logsIn = [newClient = std::move(newClient)](const publishing::PublicationSettings &settings) {
        const std::unique_ptr<publishing::FtpClient> client = newClient();
        try {
            client->connect(ownHostLogin(settings));
        } catch (const publishing::FtpError &) {
            return false;
        }
        client->disconnect();
        return true;
    };
    system.networkAddress = localNetworkAddress;
    return system;
}

QString serve(const QString &workingFolder, const QString &state, const LauncherSystem &system)
{
    const bool written = ensurePublicationIni(workingFolder, state, system.probes);
    if (const std::optional<QString> elsewhere = publishedElsewhere(workingFolder))
        return *elsewhere;
    const publishing::PublicationSettings settings = publishing::readPublicationSettings(workingFolder);
    const LocalHost host = localHostOf(workingFolder, settings);
    const QString recordPath = localhost::recordPath(state, workingFolder);
    require(checkOwnPlace(recordPath, u"l'état du serveur"_s), NotOwnPlace);
    const std::optional<HostRecord> record = readRecord(recordPath);
    switch (hostAction(factsOf(record, host, settings, system))) {
    case HostAction::LeaveAlone:
        return {};
    case HostAction::Keep:
        return servedLine(u"Serveur de publication local déjà en marche"_s, host, system);
    case HostAction::Replace:
        // Ours, but publication.ini changed since: it makes way for a new one.
        system.stop(record->pid, record->startTime);
        break;
    case HostAction::Start:
        break;
    }
    QFile::remove(recordPath);

    // The published folder is the launcher's own: never one that another
    // user made, a link to elsewhere, or one that others can write.
    require(makeOwnFolder(host.servedFolder, u"le dossier publié"_s), NotOwnPlace);
    refuseHeldPorts(host, system.probes);
    writeRecord(recordPath, startChecked(host, settings, state, system));
    QString line = servedLine(u"Serveur de publication local démarré"_s, host, system);
    if (written)
        line += u" publication.ini vient d'être écrit, avec un mot de passe tiré au hasard."_s;
    return line;
}

QString stopServer(const QString &workingFolder, const QString &state, const LauncherSystem &system)
{
    const QString recordPath = localhost::recordPath(state, workingFolder);
    require(checkOwnPlace(recordPath, u"l'état du serveur"_s), NotOwnPlace);
    const std::optional<HostRecord> record = readRecord(recordPath);
    if (!record || !isOurServer(*record, workingFolder, system.probes)) {
        QFile::remove(recordPath);
        return u"Aucun serveur de publication local ne tourne pour %1."_s.arg(workingFolder);
    }
    system.stop(record->pid, record->startTime);
    QFile::remove(recordPath);
    return u"Serveur de publication local arrêté pour %1."_s.arg(workingFolder);
}

LauncherOutcome runLauncher(bool stopping, const QString &folderArgument, const QString &state,
                            const LauncherSystem &system)
{
    try {
        return launch(stopping, folderArgument, state, system);
    } catch (const LauncherError &error) {
        return failed(stopping, error.message(), error.remedy);
    } catch (const publishing::SettingsError &refused) {
        // publication.ini cannot be served here, or no port is left for it.
        const QString remedy = refused.file().isEmpty()
                                   ? u"Fermez les programmes qui occupent ces ports, ou redémarrez l'ordinateur."_s
                                   : u"Corrigez le fichier %1, ou supprimez-le : le prochain démarrage en écrira un "
                                     u"nouveau."_s.arg(refused.file());
        return failed(stopping, refused.reason(), remedy);
    } catch (const workspace::Failure &failure) {
        return failed(stopping, asCause(failure.message()), {});
    }
}

} // namespace localhost
