// Text files in any encoding: the bytes decode (or are not text), the lines
// hold no line end, and joined again they give the text with its ends made
// LF (a final end dropped).
#include "sourcesfuzz.h"

#include "sources/plaintext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    const std::optional<QString> text = sources::decodeText(QByteArrayView(data, qsizetype(size)));
    if (!text)
        return 0;
    const QStringList lines = sources::splitLines(*text);
    expectLines(lines);
    QString ends = *text;
    ends.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (ends.endsWith(u'\n'))
        ends.chop(1);
    expectEqual("the lines joined give the text", lines.join(u'\n'), ends);
    return 0;
}
