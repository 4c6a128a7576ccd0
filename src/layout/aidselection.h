#pragma once

#include "readingaids/bodyaids.h"

#include <QString>

#include <array>

// The four check boxes of the body aids, which aids exclude which, and the
// style sheet lines that record them.
namespace layout {

enum class AidBox { CheckBox2, CheckBox6, CheckBox8, CheckBox9 };

// The states of the four boxes.
struct AidBoxes
{
    bool checkBox2 = false; // "Syllabes en couleurs"
    bool checkBox6 = false; // "Syllabes tirets"
    bool checkBox8 = false; // "Lettres muettes"
    bool checkBox9 = false; // "Phrases en couleurs"

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

// Line 58: the flag of the checked box among CheckBox2, CheckBox9 and
// CheckBox6, the later one in that order winning; empty when none is checked.
QString boxesOnFlag(const AidBoxes &boxes);

} // namespace layout
