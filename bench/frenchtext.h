#pragma once

#include <QStringList>

// Reading documents of ordinary French sentences, as the import screen writes
// them, for the benchmarks.
namespace benchtext {

// A reading document whose body lines together hold at least bodyCharacters
// characters (each a byte once written in Windows-1252).
QStringList readingDocument(qsizetype bodyCharacters);

// The number of characters of the body lines of such a document.
qsizetype bodySize(const QStringList &document);

} // namespace benchtext
