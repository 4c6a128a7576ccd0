#pragma once

#include <QString>

// Folders on the publishing host. Remote paths use "/", begin with "../" and
// end with "/" when they name a folder.
namespace publishing {

// "../Orvane_" + city + "_" + school + "_" + class + "/"
QString remoteClassFolderPath(const QString &city, const QString &school, const QString &schoolClass);

} // namespace publishing
