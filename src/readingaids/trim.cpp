#include "trim.h"

namespace readingaids {

namespace {

bool isTrimmed(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

QStringView trimLine(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isTrimmed(line[begin]))
        ++begin;
    while (end > begin && isTrimmed(line[end - 1]))
        --end;
    return line.sliced(begin, end - begin);
}

} // namespace readingaids
