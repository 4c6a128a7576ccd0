#pragma once

#include "workspace/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The three ways to the publishing host: FTP, FTPS (FTP with TLS) and SFTP
// (a file transfer over SSH). FTP and FTPS share every rule of the remote
// folders; SFTP has no remote current folder and no certificate, and these
// rules give it the same behaviour.
namespace publishing {

enum class Protocol { Ftp, Sftp };

// The port a host listens on when publication.ini gives none: 21, 22.
int defaultPort(Protocol protocol);

// The fingerprint of an SSH host key as `ssh-keygen -lf` prints it: "SHA256:"
// and the unpadded base64 of the key's SHA-256.
QString hostKeyFingerprint(const QByteArray &keyBlob);

// The key type in the words of `ssh-keygen -lf`: "ED25519", "RSA", "ECDSA"...
// (libcurl's CURLKHTYPE numbering: 1 RSA1, 2 RSA, 3 DSS, 4 ECDSA, 5 ED25519).
QString hostKeyType(int curlKeyType);

// The pinned keys of publication.ini's cle_hote: one fingerprint, or several
// separated by commas (a host has a key of each type, and which one it shows
// depends on what both sides prefer). The whole line that `ssh-keygen -lf`
// prints may be pasted: only its "SHA256:..." word counts.
// "256 SHA256:abc...xyz root@hote (ED25519)" -> {"SHA256:abc...xyz"}
workspace::Result<QStringList> pinnedHostKeys(const QString &value);

// Whether the key the host showed is one of the pinned ones (the base64
// compared exactly, with or without its "=" padding).
bool sameHostKey(const QString &shown, const QStringList &pinned);

// The absolute SFTP path of a remote path taken as FTP takes it: relative to
// the current folder, or to the login folder when it starts with "/", and
// kept inside the login folder as an FTP server keeps its account there (a
// ".." at the login folder stays in it). A path ending with "/" keeps it.
// ("/home/ecole/", "/home/ecole/", "../Orvane_A_B_C/") -> "/home/ecole/Orvane_A_B_C/"
QString sftpPath(const QString &loginFolder, const QString &currentFolder, const QString &remotePath);

// A path as an argument of libcurl's SFTP commands ("mkdir"): in double
// quotes, with '"' and '\' escaped.
QByteArray sftpArgument(const QString &path);

// The login folder out of the reply that libcurl gives to "pwd" over SFTP:
// `257 "/home/ecole/" is current directory.` -> "/home/ecole/"; empty when
// the reply is not one.
QString sftpLoginFolder(const QByteArray &pwdReply);

} // namespace publishing
