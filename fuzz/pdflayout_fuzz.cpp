// A PDF page's lines put back into paragraphs, from lines of any place and
// size: every line is in one paragraph, in its order, none empty.
#include "sourcesfuzz.h"

#include "sources/pdflayout.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace fuzzing;
    // Each line: its box (x, y, width, height) and first word's width, as
    // 16-bit numbers, so that positions repeat and lines touch.
    QList<sources::PdfLine> lines;
    for (std::size_t at = 0; at + 10 <= size; at += 10) {
        std::int16_t v[5];
        std::memcpy(v, data + at, sizeof v);
        lines.append({QString::number(lines.size()), QRectF(v[0] / 8.0, v[1] / 8.0, v[2] / 8.0, v[3] / 8.0),
                      v[4] / 8.0});
    }
    const QList<sources::PdfParagraph> paragraphs = sources::pageParagraphs(lines);
    QStringList order;
    for (const sources::PdfParagraph &paragraph : paragraphs) {
        expect("no paragraph is empty", !paragraph.lines.isEmpty());
        expect("the first paragraph is not set apart", !paragraph.apart || !order.isEmpty());
        order += paragraph.lines;
    }
    QStringList expected;
    for (const sources::PdfLine &line : lines)
        expected.append(line.text);
    expect("every line once, in its order", order == expected);
    return 0;
}
