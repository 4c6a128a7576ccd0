#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// Text files as teachers get them: UTF-8 with or without its mark, UTF-16
// with its mark, otherwise the Windows code page.
namespace sources {

// The text of the bytes: a byte order mark decides; without one, bytes that
// are valid UTF-8 are read so, and any others as Windows-1252. Nothing when
// the bytes hold a NUL outside UTF-16 (a file that is not text).
// "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9" -> "été"; "\xE9t\xE9" -> "été"
std::optional<QString> decodeText(QByteArrayView bytes);

// The lines of a text: CR LF, LF and a lone CR each end one; a last line
// without an end counts, and a final line end adds no empty line.
QStringList splitLines(QStringView text);

// The lines of a .txt file. Raises workspace::IoError (missing, empty,
// too big or too long, not text).
QStringList readPlainText(const QString &path);

// The whole file, after the size checks of every reader.
QByteArray readSourceBytes(const QString &path);

} // namespace sources
