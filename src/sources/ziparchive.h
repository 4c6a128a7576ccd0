#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>
#include <stop_token>

struct zip;
struct zip_file;

// The parts of a word-processor file, a zip archive, read from its bytes in
// memory through libzip.
namespace sources {

class ZipPart;

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

    // The same part read as it is unpacked, never held whole; nothing when
    // the archive lacks it. Its reading ends early when a stop is requested.
    std::unique_ptr<ZipPart> openPart(const QString &name, std::stop_token stop = {}) const;

    // The markup of a text part is far larger than its text; past this the
    // text would be too long anyway (and a "zip bomb" stops here).
    static constexpr qint64 MaxPartBytes = 128 * 1024 * 1024;

private:
    QString m_path;
    QByteArray m_bytes; // held while the archive reads from it
    zip *m_archive = nullptr;
};

// A part of an archive as a device that a reader (QXmlStreamReader) reads
// piece by piece. It ends early, as if the part did, past MaxPartBytes, once
// a stop is requested, or when more than MaxRunBytes come without the reader
// marking its place: a run of text or a tag of tens of megabytes, which no
// document holds, and which the reader would hold whole. check() then raises
// why it ended.
class ZipPart : public QIODevice
{
public:
    ~ZipPart() override;
    bool isSequential() const override { return true; }
    bool atEnd() const override { return m_end != End::Open; }

    // The reader has read up to here: a new run starts. Raises why the part
    // ended early, if it did (see check()).
    void mark()
    {
        check();
        m_marked = m_given;
    }
    // Raises sources::stopped, tooLong or damaged (its checksum) when the
    // part ended early; nothing when it was read whole, or is being read.
    void check() const;

    static constexpr qint64 MaxRunBytes = 16 * 1024 * 1024;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    friend class ZipArchive;
    ZipPart(zip_file *file, QString path, std::stop_token stop);

    enum class End { Open, Whole, Stopped, TooLong, Damaged };
    zip_file *m_file;
    QString m_path;
    std::stop_token m_stop;
    qint64 m_given = 0;  // the bytes unpacked and given
    qint64 m_marked = 0; // where the reader last marked its place
    End m_end = End::Open;
};

} // namespace sources
