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

QStringList writeOutput(const QStringList &lines, const LineTreatment &treatment)
{
    const Regions regions = findRegions(lines);
    QStringList output;
    output.reserve(lines.size());
    for (qsizetype i = 0; i <= regions.logo; ++i)
        output.append(trimLine(lines[i]).toString());
    for (qsizetype i = regions.logo + 1; i < regions.endMarker; ++i)
        output.append(treatment(lines[i]));
    for (qsizetype i = regions.endMarker; i < lines.size(); ++i)
        output.append(trimLine(lines[i]).toString());
    return output;
}

} // namespace readingaids
