#include "remotepaths.h"

using namespace Qt::StringLiterals;

namespace publishing {

QString remoteClassFolderPath(const QString &city, const QString &school, const QString &schoolClass)
{
    return u"../Orvane_"_s + city + u'_' + school + u'_' + schoolClass + u'/';
}

} // namespace publishing
