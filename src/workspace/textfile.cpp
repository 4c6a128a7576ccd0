#include "textfile.h"

#include "cp1252.h"
#include "ioerror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;

namespace workspace {

namespace {

// Only a file of its own is read: a named pipe or a device in its place would
// never end (or never answer) the read.
void refuseIrregular(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists() && !file.isFile())
        throw IoError(u"« %1 » n'est pas un fichier ordinaire : Tessavo ne le lit pas."_s.arg(path), path);
}

// A link in the place of a file would have the write land in whatever it
// leads to: another student's document, the publication settings.
void refuseLink(const QString &path)
{
    if (QFileInfo(path).isSymLink())
        throw IoError(u"« %1 » est un lien vers un autre fichier : Tessavo n'écrit pas à travers un lien, qui "
                      u"pourrait mener au fichier d'un autre élève. Supprimez ce lien, puis recommencez."_s.arg(path),
                      path);
}

QByteArray readAll(const QString &path)
{
    refuseIrregular(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError::cannotRead(path);
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError::cannotRead(path);
    return content;
}

// The new content goes into a file of its own beside the old one, which it
// replaces only once complete. There is no writing in place: where no new
// file can be made (a full disk, a folder closed to new files), the write
// fails and the old file stays as it was.
void saveWhole(const QString &path, const std::function<void(QIODevice &)> &write)
{
    refuseLink(path);
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    // Unbuffered, so that a write cut short (a full disk) is seen by the
    // writer: a buffered one was flushed in part at the commit, and the file
    // put in place all the same.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw IoError::cannotReplace(path, existed);
    try {
        write(file);
    } catch (const IoError &) {
        file.cancelWriting();
        throw IoError::cannotReplace(path, existed);
    }
    if (!file.commit())
        throw IoError::cannotReplace(path, existed);
}

void replaceWhole(const QString &path, const QByteArray &content)
{
    saveWhole(path, [&](QIODevice &file) {
        if (file.write(content) != content.size())
            throw IoError::cannotWrite(path);
    });
}

} // namespace

std::optional<QByteArray> readBytesIfAny(const QString &path)
{
    // A named pipe or a device in its place would never end the read.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QByteArray encodeLines(const QStringList &lines)
{
    // Sized once for the longest result, encoded in place, cut to what it took.
    qsizetype room = 0;
    for (const QString &line : lines)
        room += line.size() + 2;
    QByteArray bytes(room, Qt::Uninitialized);
    char *out = bytes.data();
    for (const QString &line : lines) {
        out += encodeWindows1252(line, out);
        *out++ = '\r';
        *out++ = '\n';
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

namespace {

// Whether any of the eight bytes of x is a line feed or a carriage return.
bool holdsLineEnd(std::uint64_t x)
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    const std::uint64_t lf = x ^ (ones * '\n');
    const std::uint64_t cr = x ^ (ones * '\r');
    return (((lf - ones) & ~lf) | ((cr - ones) & ~cr)) & highs;
}

// The first CR or LF from p on, or end.
const char *findLineEnd(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int found = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(x, lf), _mm_cmpeq_epi8(x, cr)));
        if (found != 0)
            return p + __builtin_ctz(unsigned(found));
        p += 16;
    }
#endif
    while (end - p >= 8) {
        std::uint64_t x;
        std::memcpy(&x, p, 8);
        if (holdsLineEnd(x))
            break;
        p += 8;
    }
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

} // namespace

QStringList decodeLines(QByteArrayView content)
{
    QStringList lines;
    const char *const end = content.data() + content.size();
    const char *start = content.data();
    while (start < end) {
        const char *p = findLineEnd(start, end);
        lines.append(fromWindows1252(QByteArrayView(start, p - start)));
        if (p == end)
            break;
        if (*p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        start = p + 1;
    }
    return lines;
}

namespace {

constexpr qsizetype writerBuffer = 1 << 20;

} // namespace

LineWriter::LineWriter(QIODevice &device, QString name)
    : m_device(device)
    , m_name(std::move(name))
{
}

void LineWriter::write(QStringView line)
{
    const qsizetype room = line.size() + 2;
    if (m_used + room > m_buffer.size()) {
        // The buffer grows up to its full size, or to the longest line.
        if (m_buffer.size() < writerBuffer || room > m_buffer.size()) {
            QByteArray larger(std::max({m_buffer.size() * 2, m_used + room, qsizetype(4096)}), Qt::Uninitialized);
            std::copy_n(m_buffer.constData(), m_used, larger.data());
            m_buffer = std::move(larger);
        } else {
            flush();
        }
    }
    char *out = m_buffer.data() + m_used;
    out += encodeWindows1252(line, out);
    *out++ = '\r';
    *out++ = '\n';
    m_used = out - m_buffer.constData();
}

void LineWriter::flush()
{
    if (m_used > 0 && m_device.write(m_buffer.constData(), m_used) != m_used)
        throw IoError::cannotWrite(m_name);
    m_used = 0;
}

QStringList readLines(const QString &path)
{
    return decodeLines(readAll(path));
}

void writeLines(const QString &path, const QStringList &lines)
{
    replaceWhole(path, encodeLines(lines));
}

void appendLines(const QString &path, const QStringList &lines)
{
    // The list is written again whole, its earlier bytes unchanged: a line
    // added in place would be cut short on a full disk.
    const QByteArray earlier = QFileInfo::exists(path) ? readAll(path) : QByteArray();
    replaceWhole(path, earlier + encodeLines(lines));
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    replaceWhole(path, bytes);
}

void writeLinesAsMade(const QString &path, const std::function<void(LineWriter &)> &produce)
{
    saveWhole(path, [&](QIODevice &file) {
        LineWriter writer(file, path);
        produce(writer);
        writer.flush();
    });
}

void writeBeforeMove(const QString &path, const QByteArray &bytes)
{
    refuseLink(path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() && file.flush())
        return;
    // Nothing torn is left behind to be taken for the finished file.
    file.close();
    QFile::remove(path);
    throw IoError::cannotWrite(path);
}

void copyTextLines(const QString &source, const QString &target)
{
    QStringList lines = readLines(source);
    if (lines.isEmpty())
        lines.append(QString());
    writeLines(target, lines);
}

void copyBytes(const QString &source, const QString &target)
{
    const QByteArray content = readAll(source);
    if (content.isEmpty())
        throw IoError::emptyPicture(source);
    replaceWhole(target, content);
}

} // namespace workspace
