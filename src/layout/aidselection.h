#pragma once

#include "readingaids/bodyaids.h"

#include <QString>

#include <QStringList>

#include <array>
#include <optional>

// The four check boxes of the body aids, which aids exclude which, and the
// style sheet lines that record them; and the two border boxes. The layout
// screen maps its controls to these in one place.
namespace layout {

class Css;

enum class AidBox {
    SyllablesInColours,  // "Syllabes en couleurs"
    SyllablesWithDashes, // "Syllabes tirets"
    SilentLetters,       // "Lettres muettes"
    SentencesInColours,  // "Phrases en couleurs"
};

// The states of the four boxes.
struct AidBoxes
{
    bool syllablesInColours = false;
    bool syllablesWithDashes = false;
    bool silentLetters = false;
    bool sentencesInColours = false;

    bool &operator[](AidBox box);
    bool operator[](AidBox box) const;
    bool operator==(const AidBoxes &) const = default;
};

// One row of the exclusion table.
struct AidRow
{
    AidBox box;
    readingaids::BodyAid aid;
    int flagLine;                 // the line that records the aid (47 or 48)
    QString flag;                 // its value while the aid is on
    std::array<AidBox, 2> excluded; // unchecked, and their aid taken off, when this one goes on
    int clearedByExclusion;       // the other flag line, emptied then
    bool emptiesSound;            // turning the aid off empties the sound field
};

const AidRow &aidRow(AidBox box);

// Line 58: the flag of the checked box among syllables in colours, sentences
// in colours and syllables with dashes, the later one in that order winning;
// empty when none is checked.
QString boxesOnFlag(const AidBoxes &boxes);

// The states of the two border boxes, "Bord  vert/rouge" and "Bord multicolor".
struct BorderBoxes
{
    bool greenRed = false;
    bool multicolor = false;
    bool operator==(const BorderBoxes &) const = default;
};

// What the document's border lines show: a box is checked when its border
// lines carry their cells.
BorderBoxes bordersShown(const QStringList &documentLines);

// Which boxes have border lines in the document at all.
BorderBoxes borderLinesPresent(const QStringList &documentLines);

// The boxes once an aid shows alone in the view: only box (when given) is
// checked. The flag line of a body aid whose box goes off is emptied when it
// still names that aid.
AidBoxes showsAlone(std::optional<AidBox> box, const AidBoxes &before, Css &css);

} // namespace layout
