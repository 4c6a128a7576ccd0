#pragma once

#include "publishing/changedfiles.h"
#include "publishing/ftpclient.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Which files of a publication go up and which count as unchanged, from
// the record of what this working folder sent, the host's listing and the
// local files: the rule alone, without a client or a file read.
namespace publishing {

// A local file as the file system shows it, before it is read.
struct LocalFile
{
    QString name;
    qint64 size = 0;
    QString signature;  // localSignature; empty when there is no such file
};

struct UploadPlan
{
    QStringList toSend;     // in the order given
    QStringList unchanged;  // left out: the host holds them as this folder sent them
    QHash<QString, SentFile> unchangedLines;  // the record's lines of the unchanged files
};

// The file of that name in a listing; nothing when it is not there.
const RemoteFile *listedFile(const QList<RemoteFile> &listing, const QString &name);

// The SHA-256 of a file's bytes now: the recorded one when the file system
// shows the file as it was then (the same signature), else read.
std::optional<QByteArray> currentSha256(const SentFile *recorded, const QString &signature,
                                        const std::function<std::optional<QByteArray>()> &read);

// A file counts as unchanged when this folder sent it (recorded), the host
// lists it at the size and with the stamp it had just after, and its bytes
// here are those sent. Without a listing every file goes up. sha256 reads a
// file; it is asked only of a file that may be left out and whose signature
// changed since it was recorded.
UploadPlan planUpload(const QHash<QString, SentFile> &recorded, const std::optional<QList<RemoteFile>> &listing,
                      const QList<LocalFile> &files,
                      const std::function<std::optional<QByteArray>(const LocalFile &)> &sha256);

} // namespace publishing
