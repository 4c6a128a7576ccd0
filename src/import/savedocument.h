#pragma once

#include "import/picturechoice.h"
#include "import/readingdocument.h"
#include "import/tableofcontents.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace import {

// Saves a new text as a reading document, in one call as a correction is
// saved (saveAgain): the text copy and the document (writeDocument), then the
// logo taken for it put under the document's name, then the document's entry,
// newest, in the table of contents. written is told as soon as the document
// exists, so that a later failure still leaves it the current document.
// Raises workspace::IoError. Returns the table of contents as written.
TableOfContents saveNewDocument(const DocumentNames &names, const TakenPicture &picture,
                                const BoxLines &typedLines, const QString &studentFolder,
                                const QString &templateFolder, const std::function<void()> &written = {});

} // namespace import
