#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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
// over 20 MB or whose text is over 2 MB raises workspace::IoError, whose
// French message names the file.
std::optional<QStringList> readSource(const QString &path);

// The import dialog's filter, in the "Description (*.a)|*.a" form: the kinds
// read, each kind, then every file.
QString sourceFilter();

} // namespace sources
