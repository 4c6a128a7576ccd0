#pragma once

#include <QString>
#include <QStringList>

#include <stop_token>

namespace sources {

// The body of a Word document (.docx): one line a paragraph, in order, list
// items, table cells and text boxes included; line breaks start a new line,
// tabs are kept. Headers, footers, notes and comments (kept in other parts),
// deleted and moved-away tracked changes and field codes are left out.
// The main part is read as it is unpacked, within a bounded memory, and the
// reading stops soon after a stop is requested (sources::stopped). Raises
// workspace::IoError.
QStringList readWordDocument(const QString &path, std::stop_token stop = {});

// The same from the bytes of the main part (word/document.xml).
QStringList wordDocumentLines(const QByteArray &documentXml, const QString &path);

} // namespace sources
