#pragma once

#include <QSize>

namespace platform {

// The size of the display in pixels.
class Display
{
public:
    virtual ~Display() = default;
    virtual QSize size() const = 0;
};

} // namespace platform
