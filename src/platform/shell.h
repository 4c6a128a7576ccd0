#pragma once

#include <QString>

namespace platform {

// The address the browser is given: one without a scheme is an http address.
// "host/Orvane_A/_Tablematieres.html" -> "http://host/Orvane_A/_Tablematieres.html"
inline QString browserAddress(const QString &address)
{
    if (address.isEmpty() || address.contains(QStringLiteral("://")))
        return address;
    return QStringLiteral("http://") + address;
}

// The desktop's "open".
class Shell
{
public:
    virtual ~Shell() = default;
    // Shows a web address in the browser; false when the desktop found
    // nothing to show it with.
    virtual bool openAddress(const QString &address) = 0;
    // Opens a file in its default application; false when the desktop found
    // nothing to open it with.
    virtual bool openFile(const QString &path) = 0;
};

} // namespace platform
