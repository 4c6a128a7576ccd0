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

} // namespace entenducases
