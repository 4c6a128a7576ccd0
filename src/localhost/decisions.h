#pragma once

#include "localhost/probes.h"
#include "localhost/record.h"
#include "publishing/settings.h"
#include "workspace/result.h"

#include <QString>

// What the launcher and the connection decide about the server on the
// working folder's ports.
namespace localhost {

// Whether the record names a live server of this launcher's for the working
// folder: the user's own process, started when the record says, the
// launcher's server program run by Python, over the record's published
// folder. A process that merely mentions the folder is not it.
bool isOurServer(const HostRecord &record, const QString &workingFolder, const Probes &probes);

// What the launcher does for a working folder, from what it found.
struct HostFacts
{
    bool ownFile = false;            // publication.ini is the program's own, or is about to be written
    bool namesThisComputer = false;  // its host is 127.0.0.1 or localhost
    bool ourServerRuns = false;      // the record names a live server of ours for this folder
    bool sameSettings = false;       // that server is on the ports and folder publication.ini gives now
    bool takesTheAccount = false;    // and it logs in with publication.ini's account
};

enum class HostAction {
    LeaveAlone,  // not the program's own host: nothing is started, nothing stopped
    Keep,        // the running server is this folder's: kept
    Replace,     // ours, but publication.ini changed: stopped, and a new one started
    Start,       // none runs: one is started
};

HostAction hostAction(const HostFacts &facts);

// The one line the server program says as it starts.
struct ServerReply
{
    enum Kind { Ready, PortTaken, ModuleMissing, Failed, Unknown };
    Kind kind = Unknown;
    qint64 pid = 0;      // Ready
    int port = 0;        // PortTaken
    QString text;        // ModuleMissing: the module; Failed: the error; Unknown: the line
};

// "PRET 4242", "PORT_PRIS 2121", "MODULE_ABSENT pyftpdlib", "ERREUR text";
// anything else, a number that is not one included, is Unknown.
ServerReply parseServerReply(const QString &line);

// Whether the program may log in to the host of publication.ini. A file of
// the program's own names its local host: the password goes there only when
// the server on its port is this folder's own, as its record says. Anything
// else (another host, a file a person wrote) is used as it is.
struct OwnHostFacts
{
    bool ownFile = false;
    bool namesThisComputer = false;
    bool serverIsOurs = false;  // the record names our live server, listening on the file's ports
    bool portHeld = false;      // something listens on the file's FTP port
    int port = 0;
};

workspace::Result<void> ownHostVerdict(const OwnHostFacts &facts);

// The verdict for the working folder, from the record in stateFolder and
// what probes say of its process and port.
workspace::Result<void> mayLogIn(const QString &workingFolder, const publishing::PublicationSettings &settings,
                                 const QString &stateFolder, const Probes &probes);
// The same as the system is now.
workspace::Result<void> mayLogIn(const QString &workingFolder, const publishing::PublicationSettings &settings);

} // namespace localhost
