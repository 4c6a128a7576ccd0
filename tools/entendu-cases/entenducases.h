#pragma once

#include "readingaids/entendu.h"

#include <QList>
#include <QString>

#include <optional>

// The checked cases of the "entendu" mode (tests/fixtures/readingaids/
// entendu-cas.tsv), read and run for the test and for the accuracy report.
namespace entenducases {

// One case: a word, a typed sound, the word with the letters that should be
// marked between brackets ("b[on]b[on]"), and, for a known disagreement, its
// cause ("espeak", "alignement" or "cas").
struct Case
{
    int line = 0;
    QString word;
    QString sound;
    QString expected;
    QString cause;
};

// The cases of the file; nothing when it cannot be read or a line is not a case.
std::optional<QList<Case>> read(const QString &path);

struct Outcome
{
    Case c;
    QString marked;    // the word as marked, with brackets
    QString alignment; // how the word was read (showReading)
    bool agrees = false;
};

// Each case's word marked by ear, the words all read once with words.
QList<Outcome> run(const QList<Case> &cases, readingaids::EarWords &words);

// One checked word of the written aids by ear (tests/fixtures/readingaids/
// mots-entendus.tsv): the word, its written syllables joined by "|"
// ("ba|teau", "arc-|en-|ciel"), the word with each run of silent letters in
// brackets ("chant[ent]"), and, for a known disagreement, its cause.
struct WordCase
{
    int line = 0;
    QString word;
    QString syllables;
    QString silent;
    QString cause;
};

// The checked words of the file; nothing when it cannot be read or a line
// is not a case.
std::optional<QList<WordCase>> readWords(const QString &path);

struct WordOutcome
{
    WordCase c;
    QString syllables;  // as cut, joined by "|"
    QString silent;     // as marked, with brackets
    QString alignment;  // how the word was read (showReading), "?" when not held
    bool byLetters = false; // a part did not align: the word was cut by its letters
    bool syllablesAgree = false;
    bool silentAgrees = false;
};

// Each checked word cut and marked as the aids by ear write it (no
// correction), the words all read once with words.
QList<WordOutcome> runWords(const QList<WordCase> &cases, readingaids::EarWords &words);

} // namespace entenducases
