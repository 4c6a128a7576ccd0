#pragma once

#include "workspace/failure.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// A reading document as the reading aids see it: the header through the start
// marker, the logo line, the body lines, and the trailer from the end marker.
namespace readingaids {

inline constexpr QStringView startMarker = u"<!--DEBUT-->";
inline constexpr QStringView endMarker = u"<!--FIN-->";

// A document that the aids cannot transform: it has no start marker, or no
// end marker after the logo line. Its text tells the teacher why.
class DocumentRefused : public workspace::Failure
{
public:
    using Failure::Failure;

    static DocumentRefused withoutStartMarker();
    static DocumentRefused withoutEndMarker();
};

// Line numbers, from 0, of the three fixed lines of a reading document. The
// body lines lie between logo and endMarker.
struct Regions
{
    qsizetype startMarker; // the first line that reads "<!--DEBUT-->" trimmed
    qsizetype logo;        // the line right after it
    qsizetype endMarker;   // the last line after the logo that reads "<!--FIN-->" trimmed
};

// The regions of the document lines; raises DocumentRefused when a marker is missing.
Regions findRegions(const QStringList &lines);

// Turns one body line into a view of its output line, which stays valid
// until the next call: the output is made in room kept from line to line. (A
// treatment that returns a string must keep it: the view of a temporary
// string would not outlive the call.)
using LineTreatment = std::function<QStringView(QStringView line)>;

// Receives the output lines one by one, in order, as they are made.
using LineSink = std::function<void(QStringView line)>;

// The transformed document handed to the sink line by line as it is made,
// none held: the header, the logo line, the end marker and the trailer
// trimmed, each body line replaced by its treatment. Raises DocumentRefused,
// before any line reaches the sink, when a marker is missing.
void writeOutput(const QStringList &lines, const LineTreatment &treatment, const LineSink &sink);

} // namespace readingaids
