#pragma once

#include <QString>
#include <QStringList>

namespace workspace {

// Asks search engines to leave a published page out: the pupils' pages are
// for the pupils, not for the web.
inline const QString RobotsMeta = QStringLiteral("<meta name=\"robots\" content=\"noindex, nofollow\">");

// The lines of a page's head with RobotsMeta after the line that opens the
// head, unless a robots line is there already or there is no head.
// {"<html>", "<head>", "</head>"} -> {"<html>", "<head>", RobotsMeta, "</head>"}
QStringList withRobotsMeta(const QStringList &lines);

} // namespace workspace
