#pragma once

#include <QString>
#include <QStringList>

#include <stop_token>

namespace sources {

// The text of a PDF, page after page in reading order, one line a paragraph
// (pdflayout.h), words cut at a line's end put together (hyphens.h). A PDF
// without a text layer (a scan), one that is encrypted or whose author forbade
// copying its text, and a damaged one are refused, as are one of more than
// MaxPdfPages pages and one whose pages take too long to draw (hundreds of
// thousands of strokes). Stops soon after a stop is requested. Raises
// workspace::IoError.
QStringList readPdf(const QString &path, std::stop_token stop = {});

} // namespace sources
