#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace sources {

// The visible text of a web page: one line for each paragraph, heading, list
// item, table row (its cells parted by tabs) and <br>; a list item's first
// line starts with "• "; blanks collapsed as a browser shows them, except in
// <pre>; character references decoded; the head, scripts, styles and comments
// left out.
// "<p>Le <b>loup</b>&nbsp;!</p><p>Fin<br>du conte</p>" -> {"Le loup\u00A0!", "Fin", "du conte"}
// "<ul><li>un</li><li>deux</li></ul>" -> {"• un", "• deux"}
QStringList htmlLines(QStringView html, const QString &path);

// The page's characters: a byte order mark, else the charset its <meta>
// declares, else UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString decodeHtml(QByteArrayView bytes);

// The lines of an .html/.htm file. Raises workspace::IoError.
QStringList readHtml(const QString &path);

} // namespace sources
