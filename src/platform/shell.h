#pragma once

#include <QString>

namespace platform {

// The desktop's "open": nothing is reported, whatever happens.
class Shell
{
public:
    virtual ~Shell() = default;
    // Shows a web address in the browser.
    virtual void openAddress(const QString &address) = 0;
    // Opens a file in its default application; an empty path opens nothing.
    virtual void openFile(const QString &path) = 0;
};

} // namespace platform
