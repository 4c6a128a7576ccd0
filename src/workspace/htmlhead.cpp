#include "htmlhead.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace workspace {

QStringList withRobotsMeta(const QStringList &lines)
{
    const auto saysRobots = [](const QString &line) { return line.contains(u"name=\"robots\""_s, Qt::CaseInsensitive); };
    if (std::any_of(lines.begin(), lines.end(), saysRobots))
        return lines;
    const auto opensHead = [](const QString &line) {
        const QString trimmed = line.trimmed();
        return trimmed.startsWith(u"<head>"_s, Qt::CaseInsensitive) || trimmed.startsWith(u"<head "_s, Qt::CaseInsensitive);
    };
    const auto head = std::find_if(lines.begin(), lines.end(), opensHead);
    if (head == lines.end())
        return lines;
    QStringList result = lines;
    result.insert(std::distance(lines.begin(), head) + 1, RobotsMeta);
    return result;
}

} // namespace workspace
