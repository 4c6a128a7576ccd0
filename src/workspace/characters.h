#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Characters as the workspace's files and the messages about them see them.
namespace workspace {

// Whether a Windows-1252 file gives the character back as it was written:
// "é" and "€" do, "Ł" and the thin space U+2009 do not.
bool fitsWindows1252(char32_t c);

// The first character of the text that a Windows-1252 file cannot give back,
// a character outside the 16-bit range counting as one.
std::optional<char32_t> firstOutsideWindows1252(QStringView text);

// How a message names a character: « # », « Ł » (U+0141), un retour à la
// ligne (U+000A), un caractère invisible (U+200E).
QString shownCharacter(char32_t c);

} // namespace workspace
