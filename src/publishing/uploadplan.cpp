#include "uploadplan.h"

namespace publishing {

namespace {

// The record's line of the file when the host holds it as it was sent and
// its bytes here are the same; nothing otherwise.
std::optional<SentFile> unchangedLine(const SentFile *recorded, const RemoteFile *listed, const LocalFile &file,
                                      const std::function<std::optional<QByteArray>(const LocalFile &)> &sha256)
{
    const bool listedAsSent = recorded && listed && listed->size == recorded->size && listed->stamp == recorded->stamp;
    if (!listedAsSent || file.size != recorded->size)
        return std::nullopt;
    const std::optional<QByteArray> bytes = currentSha256(recorded, file.signature, [&] { return sha256(file); });
    if (!bytes || *bytes != recorded->sha256)
        return std::nullopt;
    return SentFile{file.size, *bytes, recorded->stamp, file.signature};
}

} // namespace

const RemoteFile *listedFile(const QList<RemoteFile> &listing, const QString &name)
{
    for (const RemoteFile &file : listing) {
        if (file.name == name)
            return &file;
    }
    return nullptr;
}

std::optional<QByteArray> currentSha256(const SentFile *recorded, const QString &signature,
                                        const std::function<std::optional<QByteArray>()> &read)
{
    if (recorded && !signature.isEmpty() && recorded->local == signature)
        return recorded->sha256;
    return read();
}

UploadPlan planUpload(const QHash<QString, SentFile> &recorded, const std::optional<QList<RemoteFile>> &listing,
                      const QList<LocalFile> &files,
                      const std::function<std::optional<QByteArray>(const LocalFile &)> &sha256)
{
    UploadPlan plan;
    for (const LocalFile &file : files) {
        const auto found = recorded.constFind(file.name);
        const SentFile *sent = found == recorded.constEnd() ? nullptr : &*found;
        if (const std::optional<SentFile> line = unchangedLine(sent, listing ? listedFile(*listing, file.name) : nullptr, file, sha256)) {
            plan.unchanged.append(file.name);
            plan.unchangedLines.insert(file.name, *line);
        } else {
            plan.toSend.append(file.name);
        }
    }
    return plan;
}

} // namespace publishing
