#pragma once

#include <QRect>
#include <QSize>

namespace platform {

// The size of the display in pixels, and the part of it a window may take
// (the display less its task bars and docks).
class Display
{
public:
    virtual ~Display() = default;
    virtual QSize size() const = 0;
    virtual QRect availableArea() const { return QRect(QPoint(0, 0), size()); }
};

} // namespace platform
