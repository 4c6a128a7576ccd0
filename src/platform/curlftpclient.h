#pragma once

#include "publishing/ftpclient.h"

#include <QByteArray>
#include <QLoggingCategory>

#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcFtp)

namespace platform {

// The FTP client of libcurl. One easy handle keeps one control connection
// open from connect() to disconnect(); every command after the login is sent
// on it, so the current remote folder stays where the last CWD left it.
// Remote paths are sent as they are ("../" included). Each command and reply
// goes to the logging category "tessavo.ftp", the password hidden.
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
