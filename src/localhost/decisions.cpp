#include "decisions.h"

#include "localhost/host.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace localhost {

bool isOurServer(const HostRecord &record, const QString &workingFolder, const Probes &probes)
{
    if (record.workingFolder != workingFolder || record.pid <= 0
        || probes.startTimeOf(record.pid) != std::optional<qint64>(record.startTime)
        || probes.ownerOf(record.pid) != std::optional<uint>(probes.user))
        return false;
    // python3 tessavo-publication-server --dossier-publie <folder> ...
    const QString executable = QFileInfo(probes.executableOf(record.pid)).fileName();
    const QStringList arguments = probes.argumentsOf(record.pid);
    const qsizetype folder = arguments.indexOf(u"--dossier-publie"_s);
    return executable.startsWith(u"python3"_s) && arguments.size() > 1
           && QFileInfo(arguments.at(1)).fileName() == u"tessavo-publication-server"_s && folder > 1
           && folder + 1 < arguments.size() && arguments.at(folder + 1) == record.servedFolder;
}

HostAction hostAction(const HostFacts &facts)
{
    if (!facts.ownFile || !facts.namesThisComputer)
        return HostAction::LeaveAlone;
    if (!facts.ourServerRuns)
        return HostAction::Start;
    return facts.sameSettings && facts.takesTheAccount ? HostAction::Keep : HostAction::Replace;
}

ServerReply parseServerReply(const QString &line)
{
    ServerReply reply;
    reply.text = line;
    const qsizetype blank = line.indexOf(u' ');
    const QString word = blank < 0 ? line : line.left(blank);
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
    bool ok = false;
    if (word == u"PRET"_s) {
        reply.pid = rest.toLongLong(&ok);
        if (ok && reply.pid > 0)
            reply.kind = ServerReply::Ready;
    } else if (word == u"PORT_PRIS"_s) {
        reply.port = rest.toInt(&ok);
        if (ok && reply.port > 0 && reply.port <= 65535)
            reply.kind = ServerReply::PortTaken;
    } else if (word == u"MODULE_ABSENT"_s && !rest.isEmpty()) {
        reply.kind = ServerReply::ModuleMissing;
    } else if (word == u"ERREUR"_s) {
        reply.kind = ServerReply::Failed;
    }
    if (reply.kind == ServerReply::ModuleMissing || reply.kind == ServerReply::Failed)
        reply.text = rest;
    return reply;
}

workspace::Result<void> ownHostVerdict(const OwnHostFacts &facts)
{
    if (!facts.ownFile || !facts.namesThisComputer || facts.serverIsOurs)
        return {};
    const QString notHere = u"Le serveur de publication local de ce dossier de travail ne tourne pas : "_s;
    if (facts.portHeld)
        return workspace::refuse(notHere + u"le port %1 de cet ordinateur (clé port de publication.ini) est tenu par un "
                                           u"autre programme, qui n'est pas ce serveur. Rien ne lui a été envoyé, ni le "
                                           u"mot de passe ni les fichiers. Arrêtez ce programme, ou choisissez un autre "
                                           u"port dans publication.ini, puis redémarrez Tessavo."_s.arg(facts.port));
    return workspace::refuse(notHere + u"rien n'écoute sur le port %1 de cet ordinateur. Redémarrez Tessavo pour le "
                                       u"démarrer."_s.arg(facts.port));
}

workspace::Result<void> mayLogIn(const QString &workingFolder, const publishing::PublicationSettings &settings,
                                 const QString &stateFolder, const Probes &probes)
{
    OwnHostFacts facts;
    facts.namesThisComputer = namesThisComputer(settings.host);
    facts.ownFile = facts.namesThisComputer && isProgramsOwnIni(workingFolder);
    facts.port = settings.port;
    if (!facts.ownFile)
        return {};
    const QString folder = QFileInfo(workingFolder).canonicalFilePath();
    const std::optional<HostRecord> record = readRecord(recordPath(stateFolder, folder));
    facts.serverIsOurs = record && record->ftpPort == settings.port && isOurServer(*record, folder, probes)
                         && probes.listensOn(record->pid, settings.port);
    facts.portHeld = !probes.portIsFree(settings.port);
    return ownHostVerdict(facts);
}

workspace::Result<void> mayLogIn(const QString &workingFolder, const publishing::PublicationSettings &settings)
{
    return mayLogIn(workingFolder, settings, stateFolder(), systemProbes());
}

} // namespace localhost
