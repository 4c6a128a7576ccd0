#pragma once

#include <QStringView>

namespace readingaids {

// The line without its leading and trailing characters of code 32 or less
// (blanks, tabs, control characters); a no-break space is text and stays.
// "\t le chat \r" -> "le chat"
QStringView trimLine(QStringView line);

} // namespace readingaids
