#pragma once

#include <QString>

namespace platform {

// A filter of description and pattern pairs, "Jpg files (*.jpg)|*.jpg", in the
// form of a Qt file dialog, "Jpg files (*.jpg)"; pairs become ";;"-separated.
QString toQtFileFilter(const QString &filter);

} // namespace platform
