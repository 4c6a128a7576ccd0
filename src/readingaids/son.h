#pragma once

#include "linebuffer.h"

#include <QString>
#include <QStringView>

namespace readingaids {

// The mark-up around a marked sound.
inline constexpr QStringView markOpening = u"<FONT color=\"red\"><B>";
inline constexpr QStringView markClosing = u"</B></FONT>";

// Appends text (plain text, no mark-up) with every occurrence of the sound
// set in bold red, from left to right, without overlap; the sound is not
// empty. ("loup", "ou") -> "l<FONT color="red"><B>ou</B></FONT>p"
void markLetters(QStringView text, QStringView sound, LineBuffer &out);

// The output line of a body line for a sound in relief: the line trimmed,
// every occurrence of the sound in the text (never inside a tag or a
// character reference) set in bold red, from left to right, without overlap.
// Exact and case-sensitive; an empty sound marks nothing.
// ("Le loup<br>", "ou") -> "Le l<FONT color="red"><B>ou</B></FONT>p<br>"
QString sonLine(QStringView line, QStringView sound);

// The same output line appended to out.
void sonLine(QStringView line, QStringView sound, LineBuffer &out);

} // namespace readingaids
