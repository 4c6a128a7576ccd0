// The quick look at rich text before a conversion, on any bytes: it ends
// whatever the numbers say (no overflow), finds no more than the bytes hold,
// and skips raw bytes (\bin) exactly: the same text behind them reads the
// same.
#include "fuzzcheck.h"

#include "sources/office.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    const QByteArrayView rtf(data, qsizetype(size));
    const sources::RichTextShape shape = sources::richTextShape(rtf);
    expect("the depth is within the groups opened", shape.depth >= 0 && shape.depth <= rtf.count('{'));
    expect("at most one character of text a byte", shape.text >= 0 && shape.text <= rtf.size());

    // The first byte says how many of the next ones are raw bytes put in
    // front of the rest.
    const qsizetype raw = rtf.isEmpty() ? 0 : static_cast<unsigned char>(rtf[0]) % 16;
    if (rtf.isEmpty() || raw >= rtf.size())
        return 0;
    const QByteArrayView rest = rtf.sliced(1 + raw);
    const QByteArray behind = "\\bin" + QByteArray::number(raw) + ' ' + rtf.sliced(1, raw).toByteArray()
                              + rest.toByteArray();
    const sources::RichTextShape alone = sources::richTextShape(rest);
    const sources::RichTextShape skipped = sources::richTextShape(behind);
    expect("raw bytes are skipped: the same depth", skipped.depth == alone.depth);
    expect("raw bytes are skipped: the same text", skipped.text == alone.text);
    expect("raw bytes are skipped: the same end", skipped.cutShort == alone.cutShort);
    return 0;
}
