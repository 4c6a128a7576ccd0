#include "textfile.h"

#include "cp1252.h"
#include "ioerror.h"

#include <QFile>
#include <QSaveFile>

namespace workspace {

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError::cannotRead(path);
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError::cannotRead(path);
    return content;
}

void replaceWhole(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    // A file in a folder that Qt cannot rename into (or a network share) is
    // still written, straight in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw IoError::cannotWrite(path);
}

} // namespace

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += toWindows1252(line);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList decodeLines(QByteArrayView content)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = content.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(fromWindows1252(content.sliced(start, i - start)));
        if (c == '\r' && i + 1 < size && content[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(fromWindows1252(content.sliced(start)));
    return lines;
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
    QFile file(path);
    const QByteArray bytes = encodeLines(lines);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(bytes) != bytes.size())
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
