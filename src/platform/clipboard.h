#pragma once

#include <QString>

namespace platform {

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual QString text() const = 0;
    // The clipboard's HTML, empty when it holds none.
    virtual QString html() const = 0;
    virtual void setText(const QString &text) = 0;
};

} // namespace platform
