// The line treatments of the syllables in colours, the syllables with dashes
// and the silent letters on any body line, read from a file (Windows-1252)
// or typed (any 16-bit units): what the aid adds aside, every character of
// the teacher's text is in the output, in its order; only blanks between
// words change, and a no-break space stays between the coloured words. The
// sentences in colours over the same text as a body of lines keep every
// character too, their marks aside.

#include "aidsfuzz.h"
#include "fuzzcheck.h"

#include "readingaids/colours.h"
#include "readingaids/couleurs.h"
#include "readingaids/linescanner.h"
#include "readingaids/muettes.h"
#include "readingaids/phrases.h"
#include "readingaids/tirets.h"
#include "readingaids/trim.h"


namespace {

using namespace fuzzing;

// Whether a no-break space stands inside a coloured word: it ends words as
// a blank does, so it must stand between them.
bool noBreakSpaceInsideAWord(QStringView coloured)
{
    int open = 0;
    for (qsizetype i = 0; i < coloured.size(); ++i) {
        if (coloured.sliced(i).startsWith(u"<FONT"))
            ++open;
        else if (coloured.sliced(i).startsWith(u"</FONT>"))
            --open;
        else if (coloured[i] == u'\u00A0' && open > 0)
            return true;
    }
    return false;
}

enum class Aid { Tirets, Muettes, Couleurs, Phrases };

void checkLine(Aid aid, const QString &line)
{
    const QString text = without(readingaids::trimLine(line), u" ");
    switch (aid) {
    case Aid::Tirets:
        expectEqual("tirets keep the text", without(withoutWholeWords(readingaids::tiretsLine(line)), u" -"),
                    without(withoutWholeWords(readingaids::trimLine(line).toString()), u" -"));
        return;
    case Aid::Muettes:
        expectEqual("muettes keep the text", without(withoutWholeWords(readingaids::muettesLine(line)), u" -"),
                    without(withoutWholeWords(readingaids::trimLine(line).toString()), u" -"));
        return;
    case Aid::Couleurs:
    case Aid::Phrases:
        break;
    }
    // The colour texts can be told from the teacher's own only when the
    // text holds none.
    if (line.contains(u"FONT"))
        return;
    if (aid == Aid::Couleurs) {
        const QString coloured = readingaids::couleursLine(line);
        expectEqual("couleurs keep the text", without(withoutColours(coloured), u" "), text);
        // Tags and references are copied whole, no-break spaces in them too.
        if (!line.contains(u'<') && !line.contains(u'&'))
            expect("couleurs colour no no-break space", !noBreakSpaceInsideAWord(coloured));
        return;
    }
    const QStringList lines = line.split(u'\n');
    const QString sentences = readingaids::colourSentences(lines);
    // Every mark as typed: the guillemets and "…" too.
    expectEqual("phrases keep the text", withoutColours(sentences), lines.join(QString()));
    expect("phrases open and close every colour", sentences.count(u"<FONT") == sentences.count(u"</FONT>"));
}

} // namespace

// The first byte chooses the aid and how the rest is read (one aid an
// input: the fuzzer learns from each aid's own paths, and every input costs
// an eighth).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const auto aid = static_cast<Aid>((data[0] >> 1) % 4);
    const bool typed = data[0] & 1;
    checkLine(aid, typed ? asUnits(data + 1, size - 1) : asWindows1252(data + 1, size - 1));
    return 0;
}
