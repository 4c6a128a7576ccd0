#pragma once

#include <QList>
#include <QString>
#include <QStringList>
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

// A character of a text that a Windows-1252 file cannot hold, even by its
// typographic equivalent (withWindows1252Equivalents), and the lines where it
// stands, counted from 1.
struct UnwritableCharacter
{
    char32_t character = 0;
    QList<int> lines;

    bool operator==(const UnwritableCharacter &) const = default;
};

// The unwritable characters of the lines, in the order of their first
// appearance. {"Où vas‑tu ?", "Łódź 😀", "Ł"} -> {Ł: 2, 3}, {😀: 2}
QList<UnwritableCharacter> unwritableCharacters(const QStringList &lines);

// How a message names a character: « # », « Ł » (U+0141), un retour à la
// ligne (U+000A), un caractère invisible (U+200E).
QString shownCharacter(char32_t c);

} // namespace workspace
