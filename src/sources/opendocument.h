#pragma once

#include <QString>
#include <QStringList>

#include <stop_token>

namespace sources {

// The body of an OpenDocument text (.odt): one line a paragraph or heading,
// in order, list items and table cells included; line breaks start a new
// line, tabs and the blanks of <text:s> are kept. Headers and footers (kept
// in another part), notes, comments, deleted tracked changes and generated
// indexes are left out. The body is read as it is unpacked, within a
// bounded memory, and the reading stops soon after a stop is requested
// (sources::stopped). Raises workspace::IoError.
QStringList readOpenDocument(const QString &path, std::stop_token stop = {});

// The same from the bytes of the whole file.
QStringList openDocumentArchiveLines(const QByteArray &bytes, const QString &path, std::stop_token stop = {});

// The same from the bytes of content.xml, the file's path only naming it in
// a refusal.
QStringList openDocumentLines(const QByteArray &contentXml, const QString &path);

} // namespace sources
