#pragma once

#include "publishing/ftpclient.h"

#include <QByteArray>
#include <QLoggingCategory>

#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcFtp)

namespace platform {

// The FTP client of libcurl, for FTP, FTPS and SFTP. One easy handle keeps
// one connection open from connect() to disconnect(); every command after the
// login is sent on it. Over FTP the current remote folder stays where the
// last CWD left it, and remote paths are sent as they are ("../" included);
// SFTP has no current folder: the client keeps one, inside the login folder,
// and sends whole paths. Each command and reply goes to the logging category
// "tessavo.ftp", the password hidden.
class CurlFtpClient : public publishing::FtpClient
{
public:
    CurlFtpClient();
    ~CurlFtpClient() override;
    CurlFtpClient(const CurlFtpClient &) = delete;
    CurlFtpClient &operator=(const CurlFtpClient &) = delete;

    bool connected() const override;
    void disconnect() override;
    void connect(const publishing::FtpLogin &login) override;
    void changeDir(const QString &remotePath) override;
    void makeDir(const QString &remotePath) override;
    void put(const QString &localPath, const QString &remotePath) override;
    // MLSD where the host knows it, LIST otherwise (asked once per
    // connection); over SFTP, the long listing the host gives.
    std::optional<QList<publishing::RemoteFile>> list(const QString &remoteFolder) override;
    // LIST (with "-a" where the host knows it) over FTP and FTPS, the long
    // listing over SFTP: links are shown as links.
    std::optional<QList<publishing::RemoteEntry>> entries(const QString &remoteFolder) override;
    // DELE and RMD; over SFTP, rm and rmdir (a link is removed, not followed).
    void deleteFile(const QString &remotePath) override;
    void removeDir(const QString &remotePath) override;
    void setProgress(Progress progress) override;

private:
    struct Handle;

    // Sends one command on the open connection; returns its reply's code.
    long command(const QByteArray &line);
    void requireConnection() const;
    // Runs the prepared transfer; on failure closes a broken connection and
    // raises FtpError with the French text of what went wrong, or
    // returns false when the server only refused the command.
    bool perform(const QString &failureText);
    // Raises FtpError for libcurl's result code.
    [[noreturn]] void raise(int result, const QString &failureText);

    // SFTP: logs in and learns the login folder; the current folder is kept
    // here, and each operation is one request on a whole path.
    void connectSftp();
    void changeDirSftp(const QString &remotePath);
    void makeDirSftp(const QString &remotePath);
    // One SFTP command of libcurl's ("mkdir", "rm", "rmdir") on a remote path.
    void sftpCommand(const QByteArray &verb, const QString &remotePath, const QString &refusedText);
    // The text of an SFTP failure where it differs from FTP's; empty otherwise.
    QString sftpFailureText(int result, const QString &failureText) const;
    bool sftp() const;
    // A remote path as the URL path after the host ("home/ecole/conte.html").
    QString sftpTarget(const QString &remotePath) const;
    // Runs an SFTP request; a refusal of the host (no such folder, no right
    // to write) raises FtpError with refusedText followed by the host's
    // reason, and keeps the connection; any other failure is raised as by
    // perform().
    void performSftp(const QString &refusedText);

    // One listing command on the folder; nothing when the host refused it,
    // with its reply code in refusedCode.
    std::optional<QByteArray> listing(const QByteArray &verb, const QString &folder, long &refusedCode);

    std::unique_ptr<Handle> m_handle;
    publishing::FtpLogin m_login;
    Progress m_progress;
};

class CurlFtpClients : public publishing::FtpClients
{
public:
    std::unique_ptr<publishing::FtpClient> create() override;
};

} // namespace platform
