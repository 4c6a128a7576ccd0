// The document frame on any file: the first byte chooses a body aid, the
// rest is read as the lines of a reading document. The aid either refuses
// the document (and then finds no markers either) or gives one output line
// per line (the sentences: their own count), the header and trailer trimmed,
// the same lines whether they are streamed or held, and lines that the file
// keeps as they are. The highlight keeps the line count; flipping the
// borders three times is flipping them once. (One aid an input: the fuzzer
// learns from each aid's own paths, and every input costs a fifth.)

#include "fuzzcheck.h"

#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/frame.h"
#include "readingaids/trim.h"
#include "workspace/textfile.h"

namespace {

using namespace fuzzing;
using readingaids::BodyAid;

bool refused(const QStringList &lines)
{
    try {
        readingaids::findRegions(lines);
        return false;
    } catch (const readingaids::DocumentRefused &) {
        return true;
    }
}

void checkAid(const QStringList &lines, BodyAid aid, bool isRefused)
{
    QStringList output;
    try {
        output = readingaids::writeBodyAid(lines, aid, u"ou");
    } catch (const readingaids::DocumentRefused &) {
        expect("only a document without markers is refused", isRefused);
        return;
    }
    expect("a document without markers is refused", !isRefused);
    const readingaids::Regions regions = readingaids::findRegions(lines);
    if (aid != BodyAid::Phrases) {
        expect("one output line per line", output.size() == lines.size());
        for (qsizetype i = 0; i <= regions.logo; ++i)
            expectEqual("the header trimmed", output[i], readingaids::trimLine(lines[i]));
        for (qsizetype i = regions.endMarker; i < lines.size(); ++i)
            expectEqual("the trailer trimmed", output[i], readingaids::trimLine(lines[i]));
    } else {
        expect("the sentences: header, logo, one body line, trailer",
               output.size() == regions.logo + 2 + (lines.size() - regions.endMarker));
    }
    QStringList streamed;
    readingaids::writeBodyAid(lines, aid, u"ou", [&streamed](QStringView line) { streamed.append(line.toString()); });
    expect("streamed and held outputs agree", streamed == output);
    expect("the file keeps the output lines",
           workspace::decodeLines(workspace::encodeLines(output)) == output);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static constexpr BodyAid aids[] = {BodyAid::Couleurs, BodyAid::Tirets, BodyAid::Muettes, BodyAid::Son,
                                       BodyAid::Phrases};
    const BodyAid aid = aids[data[0] % std::size(aids)];
    const QStringList lines = workspace::decodeLines(QByteArrayView(data + 1, qsizetype(size - 1)));
    checkAid(lines, aid, refused(lines));

    for (const bool on : {true, false})
        expect("the highlight keeps the lines", readingaids::highlightLines(lines, on).size() == lines.size());
    for (const auto border : {readingaids::Border::GreenRed, readingaids::Border::Multicolor}) {
        const QStringList once = readingaids::flipBorders(lines, border);
        expect("flipping three times is flipping once",
               readingaids::flipBorders(readingaids::flipBorders(once, border), border) == once);
    }
    return 0;
}
