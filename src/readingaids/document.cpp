#include "document.h"

#include "trim.h"

using namespace Qt::StringLiterals;

namespace readingaids {

DocumentRefused DocumentRefused::withoutStartMarker()
{
    return DocumentRefused(u"Ce document ne contient pas le repère <!--DEBUT--> : les aides à la lecture "
                           "ne savent pas où commence le texte, et le document n'a pas été modifié."_s);
}

DocumentRefused DocumentRefused::withoutEndMarker()
{
    return DocumentRefused(u"Ce document ne contient pas le repère <!--FIN--> après la ligne du logo : les "
                           "aides à la lecture ne savent pas où finit le texte, et le document n'a pas été "
                           "modifié."_s);
}

Regions findRegions(const QStringList &lines)
{
    qsizetype start = 0;
    while (start < lines.size() && trimLine(lines[start]) != startMarker)
        ++start;
    if (start == lines.size())
        throw DocumentRefused::withoutStartMarker();
    const qsizetype logo = start + 1;
    qsizetype end = lines.size() - 1;
    while (end > logo && trimLine(lines[end]) != endMarker)
        --end;
    if (end <= logo)
        throw DocumentRefused::withoutEndMarker();
    return {start, logo, end};
}

void writeOutput(const QStringList &lines, const LineViewTreatment &treatment, const LineSink &sink)
{
    const Regions regions = findRegions(lines);
    for (qsizetype i = 0; i <= regions.logo; ++i)
        sink(trimLine(lines[i]));
    for (qsizetype i = regions.logo + 1; i < regions.endMarker; ++i)
        sink(treatment(lines[i]));
    for (qsizetype i = regions.endMarker; i < lines.size(); ++i)
        sink(trimLine(lines[i]));
}

QStringList writeOutput(const QStringList &lines, const LineTreatment &treatment)
{
    // Each line held at its exact size: a coloured line grows to eight times
    // its text in room that doubles, and a whole document held with that
    // room unused costs the memory of two.
    QStringList output;
    output.reserve(lines.size());
    QString made;
    writeOutput(
        lines,
        [&made, &treatment](QStringView line) {
            // The line before is let go first, so that its room serves again.
            made = QString();
            made = treatment(line);
            return QStringView(made);
        },
        [&output](QStringView line) { output.append(line.toString()); });
    return output;
}

} // namespace readingaids
