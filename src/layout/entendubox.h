#pragma once

#include "aidcommands.h"
#include "readingaids/corrections.h"
#include "readingaids/incontext.h"
#include "workspace/result.h"

#include <QString>
#include <QStringView>

#include <optional>

// The "entendu" box: whether the word aids read by ear (the syllables, the
// silent letters and the sound), remembered for each student in a small file
// of the student folder (the style sheet's lines stay as they are).
namespace layout {

// The box's caption.
inline const QString EntenduCaption = QStringLiteral("Aides à l'oreille (entendu)");

// The file that remembers the box, in the student folder: one line,
// "entendu=oui" or "entendu=non". No reading document writes such a name.
inline const QString EntenduFile = QStringLiteral("entendu.ini");

// The box "à la suite" of the syllables in colours: red and green in turn
// along the line instead of the five colours from red at every word,
// remembered for each student in "syllabes.ini" of the student folder:
// "suite=oui" or "suite=non".
inline const QString SuiteCaption = QStringLiteral("Syllabes à la suite");
inline const QString SuiteFile = QStringLiteral("syllabes.ini");

// Whether the student of cheminW has the syllables in colours in a row; a
// missing file says no. Raises workspace::IoError when it cannot be read.
bool syllablesInARow(const QString &cheminW);

// Remembers the box for the student. Raises workspace::IoError.
void rememberSyllablesInARow(const QString &cheminW, bool inARow);

// The box as the layout screen opens it for a student.
struct EntenduBox
{
    bool enabled = false; // espeak-ng can be loaded
    bool checked = false; // enabled, and left checked for this student
    QString reason;       // why it is not enabled, in French
};

// The box for the student of cheminW (a folder path ending with a separator).
// A student whose file is missing, or says "entendu=oui", opens with the box
// checked; a file that says anything else, unchecked; and every student when
// espeak-ng cannot be loaded. Raises workspace::IoError when the file is there but cannot be read.
EntenduBox entenduBox(const QString &cheminW);

// Remembers the box for the student. Raises workspace::IoError.
void rememberEntendu(const QString &cheminW, bool checked);

// What the screen says beside the sound field: why the mode cannot work, or,
// with the box checked, that the typed spelling names no sound and its
// letters are matched; nothing otherwise.
// (enabled, checked, "c") -> "lettres : aucun son de ce nom"; (enabled, checked, "on") -> ""
QString entenduNote(const EntenduBox &box, bool checked, QStringView sound);

// The teacher's corrections of the working folder, which every aid of every
// student reads. Raises workspace::IoError.
readingaids::Corrections loadCorrections(const QString &workingFolder);

// Those of the working folder with the corrections of the text of document
// (readingaids::textCorrectionsPath) in place of theirs. Raises workspace::IoError.
readingaids::Corrections loadCorrections(const QString &workingFolder, const QString &document);

// The caption of the list of the words to check on the layout screen.
inline const QString MotsAVerifierCaption = QStringLiteral("Mots à vérifier");

// The words of the current document to check: those whose reading its
// sentence decides, and those espeak-ng cannot read (readingaids::wordsToCheck),
// from its text without aid; none for a document the aids refuse. Raises
// workspace::IoError.
QList<readingaids::WordToCheck> motsAVerifier(const WorkingCopies &files, const QStringList &documentLines);

// Where a correction is kept.
enum class CorrectionFor {
    AllStudents, // the working folder's file: every text of every student
    ThisText,    // the file beside the current document
};

// The teacher's correction of a word, typed in the notation "o[i]|gnon": kept
// in the working folder's corrections, then the checked syllable or
// silent-letter aid, or the sound, is put on again so that it shows; the
// corrections of files become those of the file. A correction that is empty
// or not the word's is refused, with nothing changed. Raises
// workspace::IoError.
// With ThisText, the correction is kept beside files.document instead, and
// changes that text only.
workspace::Result<std::optional<AidOutcome>> correctWordCut(const QString &workingFolder, const QString &word,
                                                            const QString &notation, const QString &sound,
                                                            AidBoxes boxes, bool byEar, Css &css,
                                                            WorkingCopies &files, QStringList &documentLines,
                                                            CorrectionFor scope = CorrectionFor::AllStudents);

} // namespace layout
