#pragma once

#include "aidselection.h"
#include "readingaids/frame.h"
#include "stylesheet.h"
#include "workingcopies.h"

#include <QStringList>

#include <optional>

// The commands of the reading-aid boxes and of the sound field, over the
// files, the style sheet lines and the document lines; the screen reads its
// controls, calls one of them, and shows the result.
namespace layout {

// What a command left for the screen to show.
struct AidOutcome
{
    AidBoxes boxes;           // the new states of the four body-aid boxes
    bool emptySound = false;  // the sound field is to be emptied
    bool soundTakenOff = false; // the view no longer marks a sound: the field is emptied without running its aid
    Restored restored = Restored::AlreadyPlain; // when the command took an aid off
};

// The click on a body-aid box, whose state before the click is in boxes: a
// checked box takes its aid off, an unchecked one puts it on, after taking
// off the aids of its exclusion set. The output is built from the document
// lines; a document the aids refuse raises readingaids::DocumentRefused
// before anything is changed. Raises workspace::IoError.
// byEar: the syllables and silent letters are those by ear.
AidOutcome clickAidBox(AidBox box, AidBoxes boxes, Css &css, const WorkingCopies &files, QStringList &documentLines,
                       bool byEar = false);

// A change of the sound field to sound: an empty field unchecks syllables in
// colours and takes the aid off; any other marks the sound: its letters, or,
// byEar, the graphemes that say the sound it names
// (readingaids::BodyAid::SonEntendu). Line 48 then reads "/*PHONEME*/".
AidOutcome changeSound(const QString &sound, AidBoxes boxes, Css &css, const WorkingCopies &files,
                       QStringList &documentLines, bool byEar = false);

// A click on the "entendu" box, which now reads byEar: the sound aid runs
// again on the sound in the field, by ear or by letters; with an empty field
// the checked syllable or silent-letter aid runs again; and the box is
// remembered for the student. With neither, only the box is remembered (no
// outcome): the document stays as it is.
std::optional<AidOutcome> changeEntendu(bool byEar, const QString &sound, AidBoxes boxes, Css &css,
                                        const WorkingCopies &files, QStringList &documentLines);

// The word aid in force put on again, as the reading now is (byEar, and the
// teacher's corrections): the sound when one is typed, else the checked
// syllable or silent-letter aid; nothing when neither is in force.
std::optional<AidOutcome> putWordAidOnAgain(const QString &sound, AidBoxes boxes, bool byEar, Css &css,
                                            const WorkingCopies &files, QStringList &documentLines);

// A click on the box "à la suite", which now reads inARow: the syllables in
// colours, when their box is checked, are put on again in the new colours
// (by ear when byEar), and the box is remembered for the student. Without
// them, only the box is remembered (no outcome).
std::optional<AidOutcome> changeSyllablesInARow(bool inARow, AidBoxes boxes, Css &css, WorkingCopies files,
                                                QStringList &documentLines, bool byEar);

// The highlight box changed to highlighted.
void changeHighlight(bool highlighted, const WorkingCopies &files, QStringList &documentLines);

// The box of a border changed (borders: the states of both boxes now): its two
// border lines flip; lines 56 to 58 record the boxes.
void changeBorder(readingaids::Border border, BorderBoxes borders, const AidBoxes &boxes, Css &css,
                  const WorkingCopies &files, QStringList &documentLines);

// Line 55 reads "/*FIN*/" and the style sheet is written.
void flagSave(Css &css, const QString &cheminW);

} // namespace layout
