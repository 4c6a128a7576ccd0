#pragma once

#include <QString>

// What a paste brings into the text box from the clipboard.
namespace import {

// The clipboard's plain text when it has one; else the text of its HTML, as
// some browsers and word processors give only that: one paragraph, heading
// or list item a line, the paragraphs parted by an empty line, character
// references decoded (« », ’, no-break spaces kept). Empty when the clipboard
// brings no visible character.
// ("", "<p>Le loup&nbsp;!</p><p>Fin</p>") -> "Le loup\u00A0!\n\nFin"
QString pastedText(const QString &plain, const QString &html);

// The message of a paste that brings nothing.
QString nothingToPasteMessage();

} // namespace import
