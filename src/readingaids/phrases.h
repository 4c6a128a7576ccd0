#pragma once

#include <QString>
#include <QStringList>

// Sentences in colours: the text runs in red, green, blue, black and orange,
// changing at every sentence mark.
namespace readingaids {

// The body lines run together into one line, opened in red, with a colour
// switch before every "!", "?", ".", "...", ":", "«", "»" and "…" of the text
// (never inside a tag or a character reference). Every mark is written as
// typed, at the start of the next run. {"Il dort. Oui<br>"} ->
// <FONT color="red">Il dort</FONT><FONT color="green">. Oui<br></FONT>
QString colourSentences(const QStringList &bodyLines);

// The transformed document: the header trimmed, the logo line trimmed and
// followed by the opening in red, every body line in one coloured line, the
// end marker trimmed with "</FONT>" before it, the rest of the trailer trimmed.
// Raises DocumentRefused when a marker is missing.
QStringList writeSentences(const QStringList &lines);

} // namespace readingaids
