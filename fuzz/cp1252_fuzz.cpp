// The Windows-1252 reader and writer on any bytes: the lines read and
// written again give the bytes with every line end made CR LF (and one added
// to a last line without it); decoding and encoding gives every byte back;
// any 16-bit text encodes to one byte a character, and those bytes decode to
// a text that encodes to the same bytes.

#include "fuzzcheck.h"

#include "workspace/textfile.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    const QByteArrayView bytes(data, qsizetype(size));

    QByteArray crlf;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            crlf += "\r\n";
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            crlf += bytes[i];
        }
    }
    if (!crlf.isEmpty() && !crlf.endsWith("\r\n"))
        crlf += "\r\n";
    const QStringList lines = workspace::decodeLines(bytes);
    expect("lines written again give the bytes with CR LF", workspace::encodeLines(lines) == crlf);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    workspace::LineWriter writer(buffer, QStringLiteral("buffer"));
    for (const QString &line : lines)
        writer.write(line);
    writer.flush();
    expect("the line writer writes the same bytes", buffer.data() == crlf);

    expect("every byte comes back", workspace::toWindows1252(workspace::fromWindows1252(bytes)) == bytes);

    const QString text = asUnits(data, size);
    const QByteArray encoded = workspace::toWindows1252(text);
    expect("at most one byte a unit", encoded.size() <= text.size());
    expect("encoding is stable", workspace::toWindows1252(workspace::fromWindows1252(encoded)) == encoded);
    return 0;
}
