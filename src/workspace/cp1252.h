#pragma once

#include <QByteArray>
#include <QString>

// The system's 8-bit code page: every text file of the workspace is
// Windows-1252, whatever the host system.
namespace workspace {

// The text with every character that the code page cannot hold but that has
// a typographic equivalent in it replaced by that equivalent, from one table:
// the hyphens U+2010, U+2011 and the minus U+2212 become "-", the narrow
// no-break and figure spaces the no-break space, U+02BC "’", the ligature
// "ﬁ" "fi", the invisible joiners nothing; a letter and its combining accent
// become the accented letter. Every other character stays as it is.
// "vas\u2011tu" -> "vas-tu"; "e\u0301t\u00E9" -> "été"; "Łódź" -> "Łódź"
QString withWindows1252Equivalents(QStringView text);

// A character that the code page cannot hold becomes "?" (one per character,
// a surrogate pair included), but for those whose equivalent above is a
// single character of the code page, which become it.
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
