// A sound in relief with a fuzzed sound: the first byte gives the length of
// the sound, the rest is the body line (Windows-1252 both). The marks aside,
// the output is the trimmed line; no occurrence is marked inside a tag.
// AnsiReplaceStr with fuzzed texts ends, and when the text put in place is
// shorter than the one it replaces (the search then always ends) it gives
// what searching again from the start gives.

#include "fuzzcheck.h"

#include "readingaids/replace.h"
#include "readingaids/son.h"
#include "readingaids/trim.h"

#include <optional>

namespace {

using namespace fuzzing;

// AnsiReplaceStr as its definition says it, for as long as it ends.
std::optional<QString> searchingAgainFromTheStart(QString s, QStringView src, QStringView dest)
{
    if (src.isEmpty())
        return s;
    for (int round = 0; round < 2000; ++round) {
        const qsizetype found = s.indexOf(src);
        if (found < 0)
            return s;
        s.replace(found, src.size(), dest.toString());
        if (s.size() > 20000)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t soundSize = std::min<std::size_t>(data[0] % 8, size - 1);
    const QString sound = asWindows1252(data + 1, soundSize);
    const QString line = asWindows1252(data + 1 + soundSize, size - 1 - soundSize);

    const QString marked = readingaids::sonLine(line, sound);
    if (!line.contains(u"FONT") && !sound.contains(u"FONT") && !line.contains(u"<B>")
        && !line.contains(u"</B>") && !sound.contains(u"<B>") && !sound.contains(u"</B>")) {
        QString unmarked = marked;
        unmarked.remove(QStringLiteral("<FONT color=\"red\"><B>"));
        unmarked.remove(QStringLiteral("</B></FONT>"));
        expectEqual("the sound keeps the text", unmarked, readingaids::trimLine(line));
    }

    // The replace routine on short texts: the line, the sound, and the
    // sound's first half as the text put in its place.
    const QStringView s = QStringView(line).first(std::min<qsizetype>(line.size(), 200));
    const QStringView dest = QStringView(line).sliced(s.size()).first(
        std::min<qsizetype>(line.size() - s.size(), 6));
    const QString replaced = readingaids::AnsiReplaceStr(s, sound, dest);
    if (dest.size() < sound.size()) {
        const std::optional<QString> expected = searchingAgainFromTheStart(s.toString(), sound, dest);
        expect("a shrinking search ends", expected.has_value());
        expectEqual("AnsiReplaceStr searches again from the start", replaced, *expected);
    }
    return 0;
}
