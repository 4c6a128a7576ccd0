#pragma once

#include "publishing/transport.h"
#include "workspace/failure.h"

#include <QString>
#include <QStringList>

#include <QList>

#include <functional>
#include <memory>
#include <optional>

// The FTP client that publishing works through. The program's own is libcurl's
// (platform/curlftpclient.h); tests give theirs.
namespace publishing {

// A failure of the publishing host: it cannot be reached, refuses the login,
// a folder or a file. Its text is the one shown to the teacher.
class FtpError : public workspace::Failure
{
public:
    using Failure::Failure;

    // An operation asked of a client that holds no connection.
    static FtpError notConnected()
    {
        return FtpError(QStringLiteral("Pas de connexion au serveur de publication : l'opération est impossible."));
    }
};

struct FtpLogin
{
    QString host;
    int port = 21;
    QString user;
    QString password;
    bool passive = true;
    // Explicit FTPS (AUTH TLS) on the control and data connections, the
    // host's certificate verified against the system's authorities, or
    // against caFile when it is given.
    bool tls = false;
    QString caFile;
    // Seconds without an answer after which an operation gives up.
    int timeoutSeconds = 20;
    // SFTP instead of FTP (tls is then not used): the host must show a key
    // whose fingerprint hostKeys gives ("SHA256:..."); with none, every host
    // is refused. privateKey: a key file to log in with, the password being
    // then optional.
    Protocol protocol = Protocol::Ftp;
    QStringList hostKeys;
    QString privateKey;
    // The program's own local host (FTP): every connection comes from
    // ownHostSource, an address of 127.0.0.0/8 drawn for this login, and the
    // host's greeting is given to ownHostGreeting (its last line, the
    // connection's own address and port) before anything is sent. It returns
    // the French text of why the host is not the one expected, or nothing;
    // the login is not sent then.
    QString ownHostSource;
    std::function<QString(const QByteArray &greeting, const QString &address, int port)> ownHostGreeting;
};

// A file as the host's listing of a folder shows it.
struct RemoteFile
{
    QString name;
    qint64 size = 0;
    // When the file was last written, in the listing's own words (MLSD's
    // "modify" fact, or the date of a LIST line): compared, never read as a
    // date. Empty when the listing gives none.
    QString stamp;
};

// An entry of a remote folder as the host's long listing shows it, a link
// shown as a link and never followed.
struct RemoteEntry
{
    enum class Kind { File, Folder, Link };
    QString name;
    Kind kind = Kind::File;

    bool operator==(const RemoteEntry &) const = default;
};

// An FTP client holding at most one connection, over FTP, FTPS or SFTP
// alike. Remote paths use "/" and are taken relative to the current remote
// folder. Failures raise FtpError.
class FtpClient
{
public:
    virtual ~FtpClient() = default;
    virtual bool connected() const = 0;
    // Does nothing on a client that is not connected.
    virtual void disconnect() = 0;
    // Connects and logs in.
    virtual void connect(const FtpLogin &login) = 0;
    virtual void changeDir(const QString &remotePath) = 0;
    virtual void makeDir(const QString &remotePath) = 0;
    // Sends the local file byte for byte, replacing a remote file of that name.
    virtual void put(const QString &localPath, const QString &remotePath) = 0;
    // The regular files of the remote folder (ending with "/"), in one
    // listing; a folder the host refuses to list, or that is missing, holds
    // none. Nothing at all from a client that cannot list: whoever asks then
    // takes every file for missing.
    virtual std::optional<QList<RemoteFile>> list(const QString &remoteFolder)
    {
        Q_UNUSED(remoteFolder);
        return std::nullopt;
    }

    // Every entry of the remote folder (ending with "/"), hidden ones too,
    // links as links; "." and ".." left out. A folder that is not there holds
    // none. Nothing at all from a client that cannot list so.
    virtual std::optional<QList<RemoteEntry>> entries(const QString &remoteFolder)
    {
        Q_UNUSED(remoteFolder);
        return std::nullopt;
    }
    // Removes the remote file (a link: the link itself); raises FtpError when
    // the host refuses, naming the file and giving the host's reply.
    virtual void deleteFile(const QString &remotePath)
    {
        throw FtpError(QStringLiteral("Ce client ne sait pas retirer le fichier « %1 » du serveur de publication.").arg(remotePath));
    }
    // Removes the remote folder, which must be empty; raises FtpError as
    // deleteFile does.
    virtual void removeDir(const QString &remotePath)
    {
        throw FtpError(QStringLiteral("Ce client ne sait pas retirer le dossier « %1 » du serveur de publication.").arg(remotePath));
    }

    // Told often during each put() how many bytes of the file have gone up,
    // and while connect() waits for the host (0 of 0 then); an empty function
    // tells nothing. A client that cannot tell ignores it.
    using Progress = std::function<void(qint64 sent, qint64 total)>;
    virtual void setProgress(Progress progress) { Q_UNUSED(progress); }
};

class FtpClients
{
public:
    virtual ~FtpClients() = default;
    virtual std::unique_ptr<FtpClient> create() = 0;
};

} // namespace publishing
