#pragma once

#include <QStringList>

// Reading documents of ordinary French sentences, as the import screen writes
// them, for the benchmarks.
namespace benchtext {

// A reading document whose body lines together hold at least bodyCharacters
// characters (each a byte once written in Windows-1252).
QStringList readingDocument(qsizetype bodyCharacters);

// Lines of those sentences, one or two a line as a pasted text gives them,
// until they hold at least minimumWords words (blank-separated) or
// minimumCharacters characters, whichever comes first when both are given.
QStringList textLines(qsizetype minimumWords, qsizetype minimumCharacters = -1);

// The number of characters of the body lines of such a document.
qsizetype bodySize(const QStringList &document);

} // namespace benchtext
