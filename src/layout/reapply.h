#pragma once

#include "aidcommands.h"
#include "aidselection.h"
#include "stylesheet.h"
#include "workingcopies.h"

#include <QString>
#include <QStringList>

#include <optional>

// The body aid a document carries, recognised from its lines, and put on
// again once its text was corrected, as the layout screen puts it on.
namespace layout {

// A body aid as the layout screen puts it on: one of the four boxes, or the
// sound of the sound field; by its letters or by ear.
struct CarriedAid
{
    std::optional<AidBox> box; // none: the sound in relief
    QString sound;             // the sound, for the sound in relief
    bool byEar = false;
    // The syllables in colours: from red at every word, or "à la suite".
    readingaids::SyllableColours colours = readingaids::SyllableColours::EachWord;
    bool operator==(const CarriedAid &) const = default;
};

// The body aid whose output, made from untransformed, is aided (an aided
// document's lines without their mark), as the aids make it now, with the
// teacher's corrections; the frame lines are compared trimmed. The
// aids that the style sheet's flag lines name are tried first, and each in
// the mode preferByEar first, so that of two aids that give the same lines
// the one the layout screen shows wins. Nothing when no aid gives them.
std::optional<CarriedAid> carriedAid(const QStringList &untransformed, const QStringList &aided, const Css &css,
                                     bool preferByEar, const readingaids::Corrections &corrections);

// The boxes whose aid the style sheet's flag lines name (lines 47, 48 and 58).
AidBoxes flaggedBoxes(const Css &css);

// What the body-aid boxes, the sound field and the "entendu" box show for a
// document, so that they say what the view shows.
struct ShownAid
{
    AidBoxes boxes;            // the box of the aid it carries, alone; none for a plain document
    QString sound;             // the sound set in bold red, or empty
    std::optional<bool> byEar; // how the aid reads the words; none when it reads none
    bool operator==(const ShownAid &) const = default;
};

// What the current document (documentLines, read from files.document) shows:
// nothing checked when it carries no aid; the aid recognised as carriedAid
// does, from its untransformed copy and with the corrections of files, when
// it carries one. Nothing at all when no aid gives its lines (its copies lost
// or changed): the screen cannot tell, and keeps the boxes as the flag lines
// set them.
std::optional<ShownAid> shownAid(const WorkingCopies &files, const QStringList &documentLines, const Css &css,
                                 bool preferByEar);

// Lines 47, 48, 55 and 58, which the aids and a correction write, taken from
// the style sheet as written, the other lines kept as they are.
void takeAidFlags(Css &css, const Css &written);

// Puts the aid on the current document, an untransformed one whose lines are
// plain, as the teacher's click on its box (or the sound typed in the field)
// does over the boxes the flag lines show: the same output, backups and flag
// lines. Line 58, when it names another box, names this one (or none).
// Raises workspace::IoError.
void putAidOn(const CarriedAid &aid, Css &css, const WorkingCopies &files, QStringList plain);

// The document in force carries no aid any more: lines 47, 48 and 58 no
// longer name one. The style sheet is written only when a line changed.
// Raises workspace::IoError.
void forgetAids(Css &css, const QString &cheminW);

} // namespace layout
