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

void writeOutput(const QStringList &lines, const LineTreatment &treatment, const LineSink &sink)
{
    const Regions regions = findRegions(lines);
    for (qsizetype i = 0; i <= regions.logo; ++i)
        sink(trimLine(lines[i]));
    for (qsizetype i = regions.logo + 1; i < regions.endMarker; ++i)
        sink(treatment(lines[i]));
    for (qsizetype i = regions.endMarker; i < lines.size(); ++i)
        sink(trimLine(lines[i]));
}

} // namespace readingaids
