#pragma once

#include "layout/stylesheet.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace layout {

// What the layout screen does to open the document at path: its lines are
// read, handed to show, and the document is written again from them in the
// code page and with the line ends of every file the program writes; its copy
// beside it ("<document>.bak") too when no aid is in force (gardeCopie).
// show comes first, so that a failed rewrite still leaves the lines read shown.
// Raises workspace::IoError.
void loadDocument(const QString &path, const Css &css, const std::function<void(const QStringList &)> &show);

} // namespace layout
