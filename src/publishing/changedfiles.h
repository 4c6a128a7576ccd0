#pragma once

#include "publishing/ftpclient.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What a publication may leave out: the files whose bytes this working folder
// already sent to the same host and remote folder, and that the host still
// holds as they were sent.
//
// The working folder keeps, per host, a record of what it sent:
// "publication-envois-<16 hex digits>.txt" beside publication.ini, UTF-8 with
// CR LF, written whole each time:
//   tessavo-envois 1
//   hote ftp://classe@ftp.ecole.fr:21
//   ../Orvane_A_B_C/Dupont_Jean_x/<TAB>conte.html<TAB>1234<TAB><SHA-256 hex><TAB>20261211072500<TAB><local file>
// one line per file: the remote folder, the name, the size, the SHA-256 of
// the bytes sent, the stamp the host's listing gave the file afterwards
// (empty when it gives none), and the local file's signature when it was read
// (localSignature). A record that is missing, not a regular file,
// or not read whole as that means a full publication.
namespace publishing {

// The regular files of a listing: MLSD's lines ("type=file;size=12;modify=...; name")
// or LIST's, in the Unix form ("-rw-r--r-- 1 u g 12 Dec 11 07:25 name") or
// the DOS form ("12-11-26  07:25AM  12 name"). Folders, links and lines that
// are not understood are left out: such a file counts as missing.
QList<RemoteFile> parseMlsd(const QByteArray &listing);
QList<RemoteFile> parseList(const QByteArray &listing);

// Every entry of a long listing (LIST's Unix or DOS form, or SFTP's) with
// its kind; a link's "-> target" is left out of its name, "." and ".." and
// lines not understood are left out.
QList<RemoteEntry> parseEntries(const QByteArray &listing);

// What was sent of one file.
struct SentFile
{
    qint64 size = 0;
    QByteArray sha256;  // 32 bytes
    QString stamp;
    QString local;      // localSignature of the file whose bytes these were
};

// Remote folder -> name -> what was sent.
using SentFiles = QHash<QString, QHash<QString, SentFile>>;

// The host as the record names it: "ftp://classe@ftp.ecole.fr:21" (FTPS
// counts as FTP: the files are the same).
QString hostIdentity(const FtpLogin &login);

// workingFolder/publication-envois-<16 hex digits of the identity's SHA-256>.txt
QString sentRecordPath(const QString &workingFolder, const QString &identity);

// The record of that host; nothing when it is missing, is not a regular file,
// names another host, or any line of it is not understood.
std::optional<SentFiles> readSentRecord(const QString &path, const QString &identity);

// Writes the record whole (the old one stays until the new one is complete).
// Raises workspace::IoError.
void writeSentRecord(const QString &path, const QString &identity, const SentFiles &sent);

// What the file system says of a file without reading it: its size, the
// times of its last write and last change (to the nanosecond), its device
// and inode ("1234.1765437900123456789.1765437900123456789.2049.131"). A file
// written again, or replaced by a save, gets another one; the same signature
// means the same bytes as when it was read. Empty when there is no such file.
QString localSignature(const QString &path);

// The SHA-256 of a file's bytes, read a megabyte at a time, reading told
// after each; nothing when it cannot be read.
std::optional<QByteArray> fileSha256(const QString &path, const std::function<void()> &reading = {});

} // namespace publishing
