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
    bool operator==(const CarriedAid &) const = default;
};

// The body aid whose output, made from untransformed, is aided (an aided
// document's lines without their mark), as the aids make it now, with the
// teacher's corrections in force; the frame lines are compared trimmed. The
// aids that the style sheet's flag lines name are tried first, and each in
// the mode preferByEar first, so that of two aids that give the same lines
// the one the layout screen shows wins. Nothing when no aid gives them.
std::optional<CarriedAid> carriedAid(const QStringList &untransformed, const QStringList &aided, const Css &css,
                                     bool preferByEar);

// The boxes whose aid the style sheet's flag lines name (lines 47, 48 and 58).
AidBoxes flaggedBoxes(const Css &css);

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
