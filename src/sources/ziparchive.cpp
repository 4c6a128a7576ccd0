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

std::optional<QByteArray> ZipArchive::part(const QString &name) const
{
    const zip_int64_t index = zip_name_locate(m_archive, name.toUtf8().constData(), 0);
    if (index < 0)
        return std::nullopt;
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
    // Read by pieces up to the limit, whatever size the archive claims.
    QByteArray bytes;
    if (stat.valid & ZIP_STAT_SIZE)
        bytes.reserve(qsizetype(stat.size)); // what the archive claims, checked above
    char piece[64 * 1024];
    zip_int64_t got = 0;
    while ((got = zip_fread(file, piece, sizeof piece)) > 0) {
        if (bytes.size() + got > MaxPartBytes) {
            zip_fclose(file);
            throw tooLong(m_path);
        }
        bytes.append(piece, qsizetype(got));
    }
    const bool failed = got < 0;
    if (zip_fclose(file) != 0 || failed)
        throw damaged(m_path);
    return bytes;
}

} // namespace sources
