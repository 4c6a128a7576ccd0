#include "ziparchive.h"

#include "refusals.h"

#include <zip.h>

namespace sources {

ZipArchive::ZipArchive(const QString &path, const QByteArray &bytes)
    : m_path(path)
    , m_bytes(bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(m_bytes.constData(), zip_uint64_t(m_bytes.size()), 0, &error);
    if (source)
        m_archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_archive) {
        if (source)
            zip_source_free(source);
        zip_error_fini(&error);
        throw damaged(path);
    }
    zip_error_fini(&error);
}

ZipArchive::~ZipArchive()
{
    zip_discard(m_archive);
}

std::unique_ptr<ZipPart> ZipArchive::openPart(const QString &name, std::stop_token stop) const
{
    const zip_int64_t index = zip_name_locate(m_archive, name.toUtf8().constData(), 0);
    if (index < 0)
        return nullptr;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, zip_uint64_t(index), 0, &stat) != 0)
        throw damaged(m_path);
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        throw encrypted(m_path);
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(MaxPartBytes))
        throw tooLong(m_path);
    zip_file_t *file = zip_fopen_index(m_archive, zip_uint64_t(index), 0);
    if (!file)
        throw damaged(m_path);
    return std::unique_ptr<ZipPart>(new ZipPart(file, m_path, std::move(stop)));
}

std::optional<QByteArray> ZipArchive::part(const QString &name) const
{
    const std::unique_ptr<ZipPart> part = openPart(name);
    if (!part)
        return std::nullopt;
    // Read by pieces up to the limit, whatever size the archive claims.
    QByteArray bytes;
    char piece[64 * 1024];
    qint64 got = 0;
    while ((got = part->read(piece, sizeof piece)) > 0) {
        bytes.append(piece, qsizetype(got));
        part->mark();
    }
    part->check();
    return bytes;
}

ZipPart::ZipPart(zip_file *file, QString path, std::stop_token stop)
    : m_file(file)
    , m_path(std::move(path))
    , m_stop(std::move(stop))
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

ZipPart::~ZipPart()
{
    if (m_file)
        zip_fclose(m_file);
}

void ZipPart::check() const
{
    switch (m_end) {
    case End::Stopped:
        throw stopped(m_path);
    case End::TooLong:
        throw tooLong(m_path);
    case End::Damaged:
        throw damaged(m_path);
    case End::Open:
    case End::Whole:
        break;
    }
}

qint64 ZipPart::readData(char *data, qint64 maxSize)
{
    if (m_end != End::Open)
        return m_end == End::Whole ? 0 : -1;
    const auto end = [this](End why) {
        m_end = why;
        return why == End::Whole ? 0 : -1;
    };
    if (m_stop.stop_requested())
        return end(End::Stopped);
    const zip_int64_t got = zip_fread(m_file, data, zip_uint64_t(maxSize));
    if (got < 0)
        return end(End::Damaged);
    if (got == 0) {
        // The checksum is checked at the end.
        const int closed = zip_fclose(m_file);
        m_file = nullptr;
        return end(closed == 0 ? End::Whole : End::Damaged);
    }
    m_given += got;
    if (m_given > ZipArchive::MaxPartBytes || m_given - m_marked > MaxRunBytes)
        return end(End::TooLong);
    return got;
}

} // namespace sources
