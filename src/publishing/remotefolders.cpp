#include "remotefolders.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

using Kind = RemoteEntry::Kind;

// Deeper than any folder Tessavo makes: a deeper tree is no student folder.
constexpr int MaxDepth = 8;

QString asFolder(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

[[noreturn]] void refuseLink(const QString &path)
{
    throw FtpError(u"Sur le serveur de publication, « %1 » est un lien vers un autre emplacement : Tessavo n'écrit "
                   u"et ne retire rien à travers un lien, qui pourrait mener hors de ses dossiers. Rien n'a été envoyé "
                   u"ni retiré. Faites supprimer ce lien sur le serveur, puis recommencez."_s.arg(path));
}

[[noreturn]] void refuseNoListing(const QString &folder)
{
    throw FtpError(u"Le serveur de publication ne donne pas la liste du dossier « %1 » : rien n'en a été retiré."_s.arg(folder));
}

const RemoteEntry *findEntry(const QList<RemoteEntry> &entries, const QString &name)
{
    for (const RemoteEntry &entry : entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

enum class Way { Unknown, Missing, Folders };

// Walks the remote folder's levels from the top ("../" and "./" are the
// login folder's side, never looked up): each must be a folder. A link, or a
// file, raises FtpError naming it.
Way checkWay(FtpClient &client, const QString &remoteFolder)
{
    const QStringList parts = remoteFolder.split(u'/', Qt::SkipEmptyParts);
    QString prefix;
    qsizetype i = 0;
    for (; i < parts.size() && (parts.at(i) == u".."_s || parts.at(i) == u"."_s); ++i)
        prefix += parts.at(i) + u'/';
    for (; i < parts.size(); ++i) {
        const std::optional<QList<RemoteEntry>> listed = client.entries(prefix.isEmpty() ? u"./"_s : prefix);
        if (!listed)
            return Way::Unknown;
        const RemoteEntry *entry = findEntry(*listed, parts.at(i));
        if (!entry)
            return Way::Missing;
        const QString path = prefix + parts.at(i);
        if (entry->kind == Kind::Link)
            refuseLink(path);
        if (entry->kind == Kind::File)
            throw FtpError(u"Sur le serveur de publication, « %1 » est un fichier et non un dossier : rien n'a été "
                           u"envoyé ni retiré."_s.arg(path));
        prefix = path + u'/';
    }
    return Way::Folders;
}

QList<RemoteEntry> entriesOf(FtpClient &client, const QString &folder)
{
    const std::optional<QList<RemoteEntry>> listed = client.entries(folder);
    if (!listed)
        refuseNoListing(folder);
    return *listed;
}

// The folder, known to be one (its level listed it so), and all it holds.
void removeTree(FtpClient &client, const QString &folder, int depth)
{
    if (depth > MaxDepth)
        throw FtpError(u"Le dossier « %1 » du serveur de publication est trop profond pour être un dossier de Tessavo : "
                       u"rien de plus n'en a été retiré."_s.arg(folder));
    for (const RemoteEntry &entry : entriesOf(client, folder)) {
        if (entry.kind == Kind::Folder)
            removeTree(client, folder + entry.name + u'/', depth + 1);
        else
            client.deleteFile(folder + entry.name);
    }
    client.removeDir(folder);
}

// Whether the folder is there to be removed; raises FtpError on a link.
bool present(FtpClient &client, const QString &folder)
{
    switch (checkWay(client, folder)) {
    case Way::Unknown:
        refuseNoListing(folder);
    case Way::Missing:
        // A host that refuses to list a level above shows nothing of it:
        // the folder is taken for gone only when it shows nothing either.
        if (const std::optional<QList<RemoteEntry>> inside = client.entries(folder); inside && !inside->isEmpty())
            throw FtpError(u"Le serveur de publication ne montre pas le chemin du dossier « %1 » : Tessavo ne peut pas "
                           u"vérifier qu'aucun lien n'y mène ailleurs, et n'en a rien retiré."_s.arg(folder));
        return false;
    case Way::Folders:
        break;
    }
    return true;
}

} // namespace

std::optional<QList<RemoteEntry>> guardRemoteFolder(FtpClient &client, const QString &remoteFolder,
                                                    const QStringList &names)
{
    const QString folder = asFolder(remoteFolder);
    if (checkWay(client, folder) != Way::Folders)
        return std::nullopt;
    std::optional<QList<RemoteEntry>> listed = client.entries(folder);
    if (!listed)
        return std::nullopt;
    QList<RemoteEntry> others;
    for (const RemoteEntry &entry : std::as_const(*listed)) {
        if (entry.kind == Kind::Link && names.contains(entry.name))
            client.deleteFile(folder + entry.name);
        else
            others.append(entry);
    }
    return others;
}

void removeRemoteFolder(FtpClient &client, const QString &remotePath)
{
    const QString folder = asFolder(remotePath);
    if (present(client, folder))
        removeTree(client, folder, 0);
}

QStringList removeRemoteClass(FtpClient &client, const QString &remoteClassFolder)
{
    const QString folder = asFolder(remoteClassFolder);
    if (!present(client, folder))
        return {};
    QStringList left;
    for (const RemoteEntry &entry : entriesOf(client, folder)) {
        if (entry.kind == Kind::Folder)
            removeTree(client, folder + entry.name + u'/', 1);
        else if (entry.kind == Kind::File && entry.name == u"index.html"_s)
            client.deleteFile(folder + entry.name);
        else
            left.append(entry.name);
    }
    if (left.isEmpty())
        client.removeDir(folder);
    return left;
}

} // namespace publishing
