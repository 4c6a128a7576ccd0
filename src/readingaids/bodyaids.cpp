#include "bodyaids.h"

#include "couleurs.h"
#include "document.h"
#include "entendu.h"
#include "muettes.h"
#include "phrases.h"
#include "son.h"
#include "tirets.h"
#include "writtenbyear.h"

#include <optional>

namespace readingaids {

namespace {

// The aids that the line scanner makes of a word treatment.
std::optional<ScannedAid> scannedAid(BodyAid aid)
{
    switch (aid) {
    case BodyAid::Couleurs:
        return couleurs::aid;
    case BodyAid::Tirets:
        return tirets::aid;
    case BodyAid::Muettes:
        return muettes::aid;
    case BodyAid::Son:
    case BodyAid::SonEntendu:
    case BodyAid::Phrases:
    case BodyAid::CouleursEntendu:
    case BodyAid::TiretsEntendu:
    case BodyAid::MuettesEntendu:
        break;
    }
    return std::nullopt;
}

std::optional<WrittenAid> writtenAid(BodyAid aid)
{
    switch (aid) {
    case BodyAid::CouleursEntendu:
        return WrittenAid::Couleurs;
    case BodyAid::TiretsEntendu:
        return WrittenAid::Tirets;
    case BodyAid::MuettesEntendu:
        return WrittenAid::Muettes;
    default:
        return std::nullopt;
    }
}

} // namespace

QString treatBodyLine(BodyAid aid, QStringView line, QStringView sound, const Corrections &corrections,
                      SyllableColours colours)
{
    switch (aid) {
    case BodyAid::Couleurs:
        return couleursLine(line, corrections, colours);
    case BodyAid::Tirets:
        return tiretsLine(line, corrections);
    case BodyAid::Muettes:
        return muettesLine(line, corrections);
    case BodyAid::Son:
        return sonLine(line, sound);
    case BodyAid::SonEntendu:
        return entenduBodyLines({line.toString()}, sound).constFirst();
    case BodyAid::CouleursEntendu:
    case BodyAid::TiretsEntendu:
    case BodyAid::MuettesEntendu:
        return byEarBodyLines({line.toString()}, *writtenAid(aid), corrections, nullptr, colours).constFirst();
    case BodyAid::Phrases:
        break;
    }
    Q_ASSERT_X(false, "treatBodyLine", "the sentences colour the body as a whole");
    return line.toString();
}

void writeBodyAid(const QStringList &lines, BodyAid aid, QStringView sound,
                  const std::function<void(QStringView line)> &sink, const Corrections &corrections,
                  SyllableColours colours)
{
    if (aid == BodyAid::Phrases) {
        for (const QString &line : writeSentences(lines))
            sink(line);
        return;
    }
    if (aid == BodyAid::SonEntendu) {
        writeEntendu(lines, sound, sink);
        return;
    }
    if (const std::optional<WrittenAid> written = writtenAid(aid)) {
        writeByEar(lines, *written, corrections, sink, colours);
        return;
    }
    // Each line is made in the same room and handed over from there.
    LineBuffer out;
    if (const std::optional<ScannedAid> scanned = scannedAid(aid)) {
        qsizetype inARow = 0;
        const WordContext context{corrections, nullptr, nullptr,
                                  colours == SyllableColours::InARow ? &inARow : nullptr};
        writeOutput(lines, [&out, scanned, &context](QStringView line) {
            out.clear();
            MiseCouleur(line, scanned->marks, scanned->demontage, context, out);
            return out.view();
        }, sink);
        return;
    }
    writeOutput(lines, [&out, sound](QStringView line) {
        out.clear();
        sonLine(line, sound, out);
        return out.view();
    }, sink);
}

BodyAid byEar(BodyAid aid)
{
    switch (aid) {
    case BodyAid::Couleurs:
        return BodyAid::CouleursEntendu;
    case BodyAid::Tirets:
        return BodyAid::TiretsEntendu;
    case BodyAid::Muettes:
        return BodyAid::MuettesEntendu;
    case BodyAid::Son:
        return BodyAid::SonEntendu;
    default:
        return aid;
    }
}

QStringList writeBodyAid(const QStringList &lines, BodyAid aid, QStringView sound, const Corrections &corrections,
                         SyllableColours colours)
{
    if (aid == BodyAid::Phrases)
        return writeSentences(lines);
    // Each line held at its exact size: a coloured line is about nine times
    // its text, and a whole document held with room left unused would cost
    // the memory of two.
    QStringList output;
    output.reserve(lines.size());
    writeBodyAid(lines, aid, sound, [&output](QStringView line) { output.append(line.toString()); }, corrections,
                 colours);
    return output;
}

} // namespace readingaids
