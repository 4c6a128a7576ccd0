// A sound in relief by ear, with espeak-ng's French voice: the first byte
// chooses the typed sound (one that names a sound, or one that does not) and
// whether the rest is read as Windows-1252 or as any 16-bit text; the rest is
// a body line. Every word of the line goes through espeak-ng and the
// alignment, and the line is read as sentences. The marks aside, the output
// is the trimmed line.

#include "fuzzcheck.h"

#include "readingaids/entendu.h"
#include "readingaids/incontext.h"
#include "readingaids/son.h"
#include "readingaids/trim.h"

namespace {

using namespace fuzzing;

const QStringList typedSounds = {
    QStringLiteral("on"), QStringLiteral("ou"), QStringLiteral("s"),  QStringLiteral("ill"),
    QStringLiteral("x"),  QStringLiteral("eu"), QStringLiteral("gn"), QStringLiteral("un"),
    QStringLiteral("é"),  QStringLiteral("e"),  QStringLiteral("c"),  QStringLiteral("on "),
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QString &typed = typedSounds[data[0] % typedSounds.size()];
    const QString line = data[0] & 0x80 ? asUnits(data + 1, size - 1) : asWindows1252(data + 1, size - 1);

    static readingaids::EarWords words(readingaids::Pronouncer::process());
    expect("espeak-ng is loaded", readingaids::Pronouncer::process().available());
    words.prepareBody({line});
    // The words read in their sentence are words of the line, never a mark.
    for (const readingaids::ReadInContext &read : readingaids::readInContext(line)) {
        expect("a word read in its sentence lies in the line",
               read.begin >= 0 && read.length > 0 && read.begin + read.length <= line.size());
        expect("a word read in its sentence begins with a letter", line[read.begin].isLetter() || line[read.begin].isMark());
    }
    readingaids::LineBuffer out;
    readingaids::entenduLine(line, readingaids::soundNamedBy(typed), typed, words, out);
    if (!line.contains(u"FONT") && !line.contains(u"<B>") && !line.contains(u"</B>")) {
        QString unmarked = out.toString();
        unmarked.remove(readingaids::markOpening.toString());
        unmarked.remove(readingaids::markClosing.toString());
        expectEqual("the marks keep the text", unmarked, readingaids::trimLine(line));
    }
    return 0;
}
