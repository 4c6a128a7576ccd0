#pragma once

#include <QStringList>
#include <QStringView>

// The highlight and the border cells: fixed lines of the document's header
// and trailer, rewritten in place, the body left as it is.
namespace readingaids {

// The text that every highlight line contains.
inline constexpr QStringView highlightMark = u"<span style=\"background-color:";

// The lines with every line that contains highlightMark replaced by the
// highlight line: a light yellow background when highlighted, white when not.
// The other lines are kept as they are, untrimmed.
QStringList highlightLines(const QStringList &lines, bool highlighted);

// The two border boxes, each owning two border lines.
enum class Border {
    GreenRed,   // "<!--BORD 1-->" green and "<!--BORD 4-->" red
    Multicolor, // "<!--BORD 2-->" and "<!--BORD 3-->" painted with fond.jpg
};

// The lines with both border lines of the box flipped: a bare marker gets its
// cell, a marker with its cell becomes bare (compared trimmed, written
// without indentation). The other lines are kept as they are, untrimmed.
QStringList flipBorders(const QStringList &lines, Border border);

} // namespace readingaids
