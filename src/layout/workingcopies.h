#pragma once

#include "readingaids/corrections.h"
#include "readingaids/wordcontext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The working copies of a student folder, and how a reading aid is installed
// in place of the current document and taken off again without ever losing
// the teacher's text.
//
// A document that carries an aid ends with one mark line,
// "<!--COPIE SANS AIDE 0123456789abcdef-->", which names the fingerprint of
// its untransformed form. A backup belongs to the document when its bytes
// have that fingerprint; any other backup (another document's, an old one) is
// never put in its place. The untransformed form is kept twice: in the shared
// working copy TexteAlire_copie.html, and in the document's own
// "<document>.sansaide.bak" beside it, which no other document and no other
// step writes, so a second document of the student never takes the first
// one's backup away.
namespace layout {

// The files of one current document, and the teacher's corrections that the
// aids put on it read.
struct WorkingCopies
{
    QString cheminW;  // the student folder, ending with the separator
    QString document; // the current document's full path
    readingaids::Corrections corrections; // of the working folder (loadCorrections); none by default
    // How the syllables in colours take their colours for this student.
    readingaids::SyllableColours colours = readingaids::SyllableColours::EachWord;

    QString output() const; // cheminW + "TexteAlire2.html": an aid's output being written
    QString copie() const;  // cheminW + "TexteAlire_copie.html": the shared backup
    QString own() const;    // document + ".sansaide.bak": the document's own backup
    QString bak() const;    // document + ".bak": the copy the opening writes
};

// The mark line of an aided document whose untransformed bytes are plain.
QString aidMark(const QByteArray &plain);

// The fingerprint named by the last line when it is a mark line.
std::optional<QString> markedFingerprint(const QStringList &lines);

// True when the lines are those of a document that carries an aid.
bool carriesAid(const QStringList &lines);

// The untransformed lines of the current document: its backup when it carries
// an aid and its backup is there; otherwise its own lines without a mark.
QStringList untransformedLines(const WorkingCopies &files);

// Puts the aid's output, with its mark, in place of the current document.
// The output is written beside it (TexteAlire2.html) and then moved onto it,
// so the document is either the old or the new one. Its untransformed form
// (the document itself, or the backup of the aid it carries already) is in
// its own backup before it changes, and in the shared copy after.
// Raises workspace::IoError.
void install(const WorkingCopies &files, const QStringList &output);

// What the restore step found.
enum class Restored {
    Untransformed, // the document carried an aid; its backup is back in place
    AlreadyPlain,  // the document carries no aid: nothing to do
    NoBackup,      // it carries an aid, but no backup of it is left: kept as it is
};

// Takes the aid off the current document: its own backup replaces it, and the
// shared working copy no longer holds it. The document is never deleted nor
// replaced by anything else. Raises workspace::IoError.
Restored restore(const WorkingCopies &files);

// Rewrites fixed lines of the current document (highlight, borders) in the
// document and, when it carries an aid, in its untransformed backup too, so
// that taking the aid off keeps the change. Raises workspace::IoError.
void rewriteInPlace(const WorkingCopies &files, const std::function<QStringList(const QStringList &)> &change);

// The teacher corrected the document's text outside the aids: lines (its
// untransformed form, without a mark) replace the document. The backups of its
// older text go (its own, and the shared copy or an output left behind when
// they hold that text), and the copy the opening made, if any, gets the new
// lines, so that taking an aid off never brings the older text back.
// Raises workspace::IoError.
void replaceText(const WorkingCopies &files, const QStringList &lines);

} // namespace layout
