// The teacher's corrections with the word aids: a corrections file and a
// body line, from any bytes. Whatever the file holds (lines whose letters
// lower-case to another length, cuts past a word's end, any 16-bit text),
// every syllable and silent-letter aid, by its letters and by ear, keeps the
// teacher's text, its marks and blanks aside, and closes every mark it
// opens.
//
// The first byte chooses the aid (its low three bits), whether the line is
// read as Windows-1252 or as any 16-bit units (0x08), and whether the
// letters of the file's lines begin the line (0x10), so that the
// corrections meet their words. The bytes up to the first zero byte are the
// file; the rest is the line.

#include "aidsfuzz.h"
#include "fuzzcheck.h"

#include "readingaids/bodyaids.h"
#include "readingaids/corrections.h"
#include "readingaids/trim.h"
#include "readingaids/writtenbyear.h"

#include <QByteArrayView>

namespace {

using namespace fuzzing;
using readingaids::BodyAid;

constexpr BodyAid Aids[] = {BodyAid::Couleurs,        BodyAid::Tirets,         BodyAid::Muettes,
                            BodyAid::CouleursEntendu, BodyAid::TiretsEntendu,  BodyAid::MuettesEntendu,
                            BodyAid::Couleurs,        BodyAid::TiretsEntendu};

// The text and the count of openings and closings of one kind of mark.
struct Marks
{
    QString text;
    bool balanced;
};

Marks withoutMarks(const QString &output, QStringView opening, QStringView closing)
{
    QString text = output;
    const bool balanced = output.count(opening) == output.count(closing);
    text.remove(opening.toString());
    text.remove(closing.toString());
    return {text, balanced};
}

void check(BodyAid aid, const QString &line, const readingaids::Corrections &corrections)
{
    const QString output = readingaids::treatBodyLine(aid, line, {}, corrections);
    const QString trimmed = readingaids::trimLine(line).toString();
    switch (aid) {
    case BodyAid::Couleurs:
    case BodyAid::CouleursEntendu:
        // The colour texts can be told from the teacher's own only when the
        // text holds none.
        if (line.contains(u"FONT"))
            return;
        expectEqual("the colours keep the text", without(withoutColours(output), u" "), without(trimmed, u" "));
        expect("every colour is closed", output.count(u"<FONT") == output.count(u"</FONT>"));
        return;
    case BodyAid::MuettesEntendu: {
        if (line.contains(u"FONT"))
            return;
        const Marks grey = withoutMarks(output, readingaids::silentOpening, readingaids::silentClosing);
        expectEqual("the grey letters keep the text", without(grey.text, u" "), without(trimmed, u" "));
        expect("every grey is closed", grey.balanced);
        return;
    }
    default:
        break;
    }
    // The dashes: the syllables with dashes, the silent letters set apart.
    expectEqual("the dashes keep the text", without(withoutWholeWords(output), u" -"),
                without(withoutWholeWords(trimmed), u" -"));
    if (!line.contains(u"span"))
        expect("every whole word is closed",
               withoutMarks(output, readingaids::wholeWordOpening, readingaids::wholeWordClosing).balanced);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t mode = data[0];
    const QByteArrayView rest(data + 1, qsizetype(size - 1));
    const qsizetype zero = rest.indexOf('\0');
    const QByteArrayView file = zero < 0 ? rest : rest.first(zero);
    const std::uint8_t *lineBytes = data + 1 + (zero < 0 ? rest.size() : zero + 1);
    const std::size_t lineSize = std::size_t(data + size - lineBytes);
    QString line = mode & 0x08 ? asUnits(lineBytes, lineSize) : asWindows1252(lineBytes, lineSize);
    if (mode & 0x10) {
        QStringList words;
        for (const QByteArray &notation : file.toByteArray().split('\n'))
            words.append(readingaids::lettersOf(QString::fromUtf8(notation).trimmed()));
        line = words.join(u' ') + u' ' + line;
    }
    check(Aids[mode & 0x07], line, readingaids::Corrections::fromBytes(file));
    return 0;
}
