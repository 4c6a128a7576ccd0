#pragma once

#include "workspace/failure.h"

#include <QString>

#include <memory>

namespace platform {

// A failure of the publishing host: it cannot be reached, refuses the login,
// a folder or a file. Its text is the one shown to the teacher.
class FtpError : public workspace::Failure
{
public:
    using Failure::Failure;
};

struct FtpLogin
{
    QString host;
    int port = 21;
    QString user;
    QString password;
    bool passive = true;
};

// An FTP client holding at most one connection. Remote paths use "/" and are
// taken relative to the current remote folder. Failures raise FtpError.
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
};

class FtpClients
{
public:
    virtual ~FtpClients() = default;
    virtual std::unique_ptr<FtpClient> create() = 0;
};

} // namespace platform
