#pragma once

#include <QByteArray>
#include <QString>

// The system's 8-bit code page: every text file of the workspace is
// Windows-1252, whatever the host system.
namespace workspace {

// A character that the code page cannot hold becomes "?" (one per character,
// a surrogate pair included), but for the narrow no-break space U+202F and
// the figure space U+2007, which become the no-break space 0xA0.
// "été €" -> "\xE9t\xE9 \x80"; "dit\u202F!" -> "dit\xA0!"
QByteArray toWindows1252(QStringView text);

// Every byte decodes; the five bytes that the code page leaves undefined
// (81 8D 8F 90 9D) come back as the control characters of the same code.
QString fromWindows1252(QByteArrayView bytes);

// The same two conversions into room the caller provides: out holds at least
// text.size() bytes, or bytes.size() units. encodeWindows1252 returns the
// number of bytes written (a surrogate pair gives one "?").
qsizetype encodeWindows1252(QStringView text, char *out);
void decodeWindows1252(QByteArrayView bytes, char16_t *out);

} // namespace workspace
