#include "filefilter.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace platform {

QString toQtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        const bool showsItsPatterns = description.contains(u'(');
        filters.append(showsItsPatterns ? description : description + u" ("_s + patterns + u')');
    }
    return filters.join(u";;"_s);
}

} // namespace platform
