#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stop_token>

// Bringing a text in from a file: the reader of each kind of file that
// Tessavo reads, chosen by the file's name.
namespace sources {

enum class SourceKind {
    PlainText,     // .txt
    OpenDocument,  // .odt
    WordDocument,  // .docx
    Pdf,           // .pdf
    Html,          // .html, .htm
    ThroughOffice, // .doc, .rtf, when the office suite is installed
    Other,         // any other kind: the desktop opens it
};

// The kind of a file by its extension, in any case. "Conte.ODT" -> OpenDocument
SourceKind sourceKind(const QString &path);

// The text of a file of a kind Tessavo reads, as the lines a paste of it
// would give; nothing for any other kind, which the desktop opens instead.
// A file that cannot be read, is damaged, encrypted, empty, without text,
// over 20 MB or whose text is over 2 MB, holding a "word" of over 1,000
// characters, or past another limit of its reader raises workspace::IoError,
// whose French message names the file. Each limit ends the reading in
// seconds, within a bounded memory. A reading that may take longer (a PDF,
// a file the office suite converts) stops soon after a stop is requested,
// raising sources::stopped; it may run on a thread of its own.
std::optional<QStringList> readSource(const QString &path, std::stop_token stop = {});

// The import dialog's filter, in the "Description (*.a)|*.a" form: the kinds
// read, each kind, then every file.
QString sourceFilter();

} // namespace sources
