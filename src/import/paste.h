#pragma once

#include <QString>

// What a paste brings into the text box from the clipboard.
namespace import {

// The clipboard's plain text when it has one; else the text of its HTML, as
// some browsers and word processors give only that: one paragraph, heading
// or list item a line, the paragraphs parted by an empty line, the items of
// a list as "• " lines following each other, character references decoded
// (« », ’, no-break spaces kept). Empty when the clipboard brings no visible
// character.
// ("", "<p>Le loup&nbsp;!</p><p>Fin</p>") -> "Le loup\u00A0!\n\nFin"
// ("", "<p>Liste</p><ul><li>un</li><li>deux</li></ul>") -> "Liste\n\n• un\n• deux"
QString pastedText(const QString &plain, const QString &html);

// The message of a paste that brings nothing.
QString nothingToPasteMessage();

// Whether putting `inserted` between `before` and `after` (the text of the
// line on either side of the caret, or of the selection it replaces) makes
// a word longer than a file brought in may hold (over 1,000 characters):
// the text box would take minutes to show it. Only the words the insertion
// touches are looked at, so that a keystroke costs little.
// ("Le lo", "u", "p mange") -> false; ("", 1,001 "a", "") -> true
bool makesLongWord(QStringView before, QStringView inserted, QStringView after);

// The message of a paste, a keystroke or a drop refused for that.
QString longWordMessage();

} // namespace import
