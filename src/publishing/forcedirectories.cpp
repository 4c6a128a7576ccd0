#include "forcedirectories.h"

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

bool tryChangeDir(FtpClient &client, const QString &path)
{
    try {
        client.changeDir(path);
        return true;
    } catch (const FtpError &) {
        return false;
    }
}

} // namespace

void ForceFtpDirectories(FtpClient &client, const QString &pathToForce)
{
    // A path without its final "/" would never be reached by the prefixes.
    const QString path = pathToForce.endsWith(u'/') ? pathToForce : pathToForce + u'/';
    if (tryChangeDir(client, path))
        return;
    QString prefix = u"/"_s;
    do {
        const qsizetype slash = path.indexOf(u'/', prefix.size());
        prefix = slash < 0 ? path : path.left(slash + 1);
        if (!tryChangeDir(client, prefix))
            client.makeDir(prefix);
    } while (prefix != path);
}

} // namespace publishing
