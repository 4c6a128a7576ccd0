#include "plaintext.h"

#include "refusals.h"
#include "workspace/cp1252.h"

#include <QFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

std::optional<QString> decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> decodeText(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QStringDecoder(QStringConverter::Utf8)(bytes.sliced(3)); // marked: a bad byte is one U+FFFD
    if (bytes.startsWith("\xFF\xFE"))
        return decodeWith(QStringConverter::Utf16LE, bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeWith(QStringConverter::Utf16BE, bytes.sliced(2));
    if (bytes.contains('\0'))
        return std::nullopt;
    if (std::optional<QString> utf8 = decodeWith(QStringConverter::Utf8, bytes))
        return utf8;
    return workspace::fromWindows1252(bytes);
}

QStringList splitLines(QStringView text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start).toString());
    return lines;
}

QByteArray readSourceBytes(const QString &path)
{
    checkedSize(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw workspace::IoError::cannotRead(path);
    // Read with a limit: a file that grows meanwhile is still refused.
    QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw workspace::IoError::cannotRead(path);
    if (bytes.size() > MaxFileBytes)
        throw tooBig(path, bytes.size());
    if (bytes.isEmpty())
        throw emptyFile(path);
    return bytes;
}

QStringList readPlainText(const QString &path)
{
    const std::optional<QString> text = decodeText(readSourceBytes(path));
    if (!text)
        throw notText(path);
    TextBudget(path).spend(text->size());
    return splitLines(*text);
}

} // namespace sources
