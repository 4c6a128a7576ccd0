#pragma once

#include "workspace/result.h"

#include <QList>
#include <QString>

#include <optional>

// What the state folder keeps of the server started for each working folder,
// and the places of the host that may be trusted.
namespace localhost {

// What the state folder keeps of the server started for a working folder.
struct HostRecord
{
    QString workingFolder;
    QString servedFolder;
    qint64 pid = 0;
    qint64 startTime = 0;  // the process's start, in clock ticks after boot
    int ftpPort = 0;
    int webPort = 0;
    bool classroom = false;  // the web server answers on the local network too
};

// $XDG_STATE_HOME/tessavo, or ~/.local/state/tessavo.
QString stateFolder();
// stateFolder/hote-<16 hex digits of the folder's SHA-256>.json, and its .log.
QString recordPath(const QString &stateFolder, const QString &workingFolder);
QString logPath(const QString &stateFolder, const QString &workingFolder);

// Nothing when the file is missing or is not a record, or when it may not be
// trusted: a link, another user's file, or one that others can write.
std::optional<HostRecord> readRecord(const QString &path);
// Raises workspace::IoError when it cannot be written.
void writeRecord(const QString &path, const HostRecord &record);

// Whether a place of the local host (the state folder, the published folder,
// the record) may be used: missing, or a folder (file) of the user's own,
// not a link and not writable by others. The refusal names it and says why,
// as the end of a sentence: what ("le dossier publié") starts it.
workspace::Result<void> checkOwnPlace(const QString &path, const QString &what);

// Makes the folder for its user alone (mode 700) unless it is there, never
// through a link, then checks it as checkOwnPlace does.
workspace::Result<void> makeOwnFolder(const QString &path, const QString &what);

// The ports of the records of every other working folder.
QList<int> portsOfOtherFolders(const QString &stateFolder, const QString &workingFolder);

} // namespace localhost
