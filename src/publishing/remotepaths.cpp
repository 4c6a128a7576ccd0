#include "remotepaths.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace publishing {

namespace {

const QString Up = u"../"_s;

bool isPlainName(QStringView name)
{
    const bool special = name.isEmpty() || name == u"." || name == u"..";
    const bool unsafe = std::any_of(name.begin(), name.end(), [](QChar c) {
        return c == u'\\' || c.category() == QChar::Other_Control;
    });
    return !special && !unsafe;
}

} // namespace

QString remoteClassFolderPath(const QString &city, const QString &school, const QString &schoolClass)
{
    return Up + u"Orvane_"_s + city + u'_' + school + u'_' + schoolClass + u'/';
}

QString remoteStudentFolderPath(const QString &city, const QString &school, const QString &schoolClass,
                                const QString &studentFolder)
{
    return remoteClassFolderPath(city, school, schoolClass) + studentFolder + u'/';
}

bool isPlainRemotePath(const QString &remotePath)
{
    if (!remotePath.startsWith(Up))
        return false;
    QStringView rest = QStringView(remotePath).sliced(Up.size());
    if (rest.endsWith(u'/'))
        rest.chop(1);
    const auto names = rest.split(u'/');
    return std::all_of(names.begin(), names.end(), isPlainName);
}

} // namespace publishing
