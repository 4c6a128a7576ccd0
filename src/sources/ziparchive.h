#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct zip;

// The parts of a word-processor file, a zip archive, read from its bytes in
// memory through libzip.
namespace sources {

class ZipArchive
{
public:
    // Raises sources::damaged when the bytes are no zip archive (or a
    // damaged one).
    ZipArchive(const QString &path, const QByteArray &bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // The bytes of a part, or nothing when the archive lacks it. A part that
    // is encrypted, damaged (its checksum included) or larger than
    // MaxPartBytes once unpacked raises the matching refusal.
    std::optional<QByteArray> part(const QString &name) const;

    // The markup of a text part is far larger than its text; past this the
    // text would be too long anyway (and a "zip bomb" stops here).
    static constexpr qint64 MaxPartBytes = 128 * 1024 * 1024;

private:
    QString m_path;
    QByteArray m_bytes; // held while the archive reads from it
    zip *m_archive = nullptr;
};

} // namespace sources
