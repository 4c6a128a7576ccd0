#pragma once

#include <QtGlobal>

// What a word treatment reads besides the word itself.
namespace readingaids {

// How the syllables in colours take their colours: the five colours from red
// again at every word, or red and green in turn along the line ("à la
// suite"), so that a line of short words is not all red.
enum class SyllableColours {
    EachWord,
    InARow,
};

class Corrections;
class EarWords;
class LineReadings;
struct EarCount;

// The teacher's corrections of the text, and, for the aids by ear, the words
// read aloud and the count of the words cut by their letters instead.
struct WordContext
{
    const Corrections &corrections;
    const EarWords *words = nullptr;
    EarCount *count = nullptr;
    // With the colours in a row: how many syllables of the line were coloured
    // before the word (the line scanner sets it to 0 at each line); null when
    // each word starts again in red.
    qsizetype *syllablesInARow = nullptr;
    // For the aids by ear: the words of the line read in their sentence (the
    // line scanner reads each line into it); null for the aids by letters.
    LineReadings *inContext = nullptr;
};

} // namespace readingaids
