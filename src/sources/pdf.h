#pragma once

#include <QString>
#include <QStringList>

namespace sources {

// The text of a PDF, page after page in reading order, one line a paragraph
// (pdflayout.h), words cut at a line's end put together (hyphens.h). A PDF
// without a text layer (a scan), one that is encrypted or whose author forbade
// copying its text, and a damaged one are refused. Raises workspace::IoError.
QStringList readPdf(const QString &path);

} // namespace sources
