#pragma once

#include "publishing/ftpclient.h"

#include <QString>
#include <QStringList>

#include <optional>

// The remote folders as the host holds them: no write and no removal ever
// passes through a link on the host, which another account or a careless
// copy may have put there and which could lead outside the published
// folders. Each level of a remote path is looked up in the listing of the
// level above it, whose long form shows a link as a link.
namespace publishing {

// Before files go up into the remote folder (ending with "/"): a level of its
// way that is a link, or a file, raises FtpError naming it, before anything
// is sent; an entry of the folder that bears the name of one of the files
// and is a link is removed, so that the file is written in its place and not
// through it. Nothing is looked at with a client that cannot list so, nor
// when the folder is not there (the upload then fails as it would).
// Returns the folder's other entries as listed; nothing when not looked at.
std::optional<QList<RemoteEntry>> guardRemoteFolder(FtpClient &client, const QString &remoteFolder,
                                                    const QStringList &names);

// Removes the remote folder ("../Orvane_A_B_C/K7WQ.../", the "/" at the end
// optional) from the host: every file in it (a link there: the link itself,
// never what it leads to), every sub-folder likewise, then the folder. A
// folder that is not there counts as removed. The folder, or a level on its
// way, being a link raises FtpError naming it, and nothing is removed; so
// does a host that refuses a removal (the files removed before stay
// removed), cannot be reached, or cannot list its folders.
void removeRemoteFolder(FtpClient &client, const QString &remotePath);

// Removes a class from the host: every folder of the remote class folder
// ("../Orvane_A_B_C/"), each as removeRemoteFolder does, its class page
// "index.html", and then the class folder itself when nothing else is left
// in it. Returns the names of what was left there (files and links that
// Tessavo did not put, which it does not remove); empty when the class
// folder is gone, or was not there. Raises FtpError as removeRemoteFolder.
QStringList removeRemoteClass(FtpClient &client, const QString &remoteClassFolder);

} // namespace publishing
