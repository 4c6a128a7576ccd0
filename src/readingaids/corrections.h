#pragma once

#include "workspace/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The teacher's corrections of how words are cut and which of their letters
// are silent: one file of the working folder, used by every aid of every
// student, by ear or not.
namespace readingaids {

// The file of the corrections, in the working folder: UTF-8, one word a line
// in the notation below; a line beginning with "#" is a comment.
inline const QString CorrectionsFile = QStringLiteral("corrections-mots.txt");

// The corrections of one text, beside its document in the student folder
// ("conte.html.corrections", same notation): they follow the document when it
// is corrected or opened again, and win over the working folder's. No
// publication sends such a file.
inline QString textCorrectionsPath(const QString &document)
{
    return document + QStringLiteral(".corrections");
}

// The largest corrections file read: some fifty thousand words.
inline constexpr qsizetype CorrectionsFileLimit = 1024 * 1024;

// How a word is cut and which of its letters are silent.
struct WordCut
{
    QList<qsizetype> starts; // where each syllable but the first begins
    QList<bool> silent;      // one per letter

    bool operator==(const WordCut &) const = default;
};

// The notation of a cut: the word's letters, "|" between two syllables, each
// run of silent letters in square brackets. ("oignon", …) -> "o[i]|gnon"
QString notationOf(QStringView word, const WordCut &cut);

// The letters of a notation. "o[i]|gnon" -> "oignon"
QString lettersOf(QStringView notation);

// The cut that a notation gives the word, or why it cannot, in French: an
// empty notation, letters that are not the word's (letter case aside, each
// letter against its own: "i" + U+0307 is not "İ"), an
// empty syllable, brackets that do not pair, or every letter silent.
workspace::Result<WordCut> cutFromNotation(QStringView word, QStringView notation);

// The corrections, by word (letter case aside, letter by letter).
class Corrections
{
public:
    // The corrections of a file; none when it does not exist. Lines that
    // give no cut are left out. Raises workspace::IoError, with the reason in
    // French, for a file that is not a file of its own (a named pipe, a
    // device, a link) or larger than CorrectionsFileLimit: it is not read.
    static Corrections read(const QString &path);

    // The corrections of a file's bytes, as read() reads them.
    static Corrections fromBytes(QByteArrayView bytes);

    // The correction of a word, or null.
    const WordCut *find(QStringView word) const;

    void set(QStringView word, const WordCut &cut);
    // These corrections with those of text in place of theirs for the same words.
    Corrections overriddenBy(const Corrections &text) const;
    bool isEmpty() const { return m_cuts.isEmpty(); }
    qsizetype size() const { return m_cuts.size(); }
    bool operator==(const Corrections &) const = default;

private:
    QHash<QString, WordCut> m_cuts; // by the word, each letter in lower case on its own
};

// A corrections file's bytes with the word's correction: the lines that
// correct that word replaced by its notation (in lower case), or the
// notation added as a last line; every other line kept byte for byte (the
// teacher's comments, a line that gives no cut). A missing or empty file
// gets two comment lines first.
QByteArray withCorrection(QByteArrayView bytes, QStringView word, const WordCut &cut);

// Adds one correction to the file of the working folder and gives the
// corrections the file then holds, or refuses it with the reason (nothing
// written).
// The file is locked while it is read and written again, so that two
// programs correcting at once both keep their words. Raises
// workspace::IoError, as Corrections::read does.
workspace::Result<Corrections> correctWord(const QString &workingFolder, QStringView word, QStringView notation);

// The same in the corrections file at path (a text's: textCorrectionsPath).
workspace::Result<Corrections> correctWordInFile(const QString &path, QStringView word, QStringView notation);

} // namespace readingaids
