#pragma once

#include "workspace/ioerror.h"

#include <QString>

// Why a file's text is not brought in, told to the teacher with the file's
// name, and the limits past which a file is refused rather than read.
namespace sources {

// A file larger than this is not opened at all.
inline constexpr qint64 MaxFileBytes = 20 * 1024 * 1024;
// A text longer than this (in characters, one byte each once saved) is
// refused: the text window and the aids are meant for a reading text.
inline constexpr qsizetype MaxTextCharacters = 2 * 1024 * 1024;
// A "word" (characters between blanks) longer than this is no word a pupil
// reads: the file holds something else (a page of one repeated sign, data).
inline constexpr qsizetype MaxWordCharacters = 1000;
// Whether a text holds a "word" longer than that: more than
// MaxWordCharacters characters (a pair of surrogates is one) between blanks
// or line ends.
bool holdsLongWord(QStringView text);
// A PDF of more pages is refused before any is read.
inline constexpr int MaxPdfPages = 1000;

workspace::IoError damaged(const QString &path);
workspace::IoError encrypted(const QString &path);
workspace::IoError emptyFile(const QString &path);
workspace::IoError noText(const QString &path);
workspace::IoError onlyPictures(const QString &path);
workspace::IoError copyForbidden(const QString &path);
workspace::IoError notText(const QString &path);
workspace::IoError tooBig(const QString &path, qint64 bytes);
workspace::IoError tooLong(const QString &path);
workspace::IoError longWord(const QString &path);
workspace::IoError tooManyPages(const QString &path, int pages);
workspace::IoError tooManyStrokes(const QString &path);
// The teacher stopped the reading ("Annuler").
workspace::IoError stopped(const QString &path);

// The file's size, checked against MaxFileBytes; an empty or missing file is
// refused too.
qint64 checkedSize(const QString &path);

// Counts the characters a reader brings in, and refuses the file once they
// pass MaxTextCharacters, so a huge text is never built whole.
class TextBudget
{
public:
    explicit TextBudget(QString path)
        : m_path(std::move(path))
    {
    }
    void spend(qsizetype characters);
    // Characters counted, then taken away again (blanks trimmed at a line's end).
    void refund(qsizetype characters) { m_spent -= characters; }

private:
    QString m_path;
    qsizetype m_spent = 0;
};

} // namespace sources
