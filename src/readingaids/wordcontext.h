#pragma once

// What a word treatment reads besides the word itself.
namespace readingaids {

class Corrections;
class EarWords;
struct EarCount;

// The teacher's corrections of the text, and, for the aids by ear, the words
// read aloud and the count of the words cut by their letters instead.
struct WordContext
{
    const Corrections &corrections;
    const EarWords *words = nullptr;
    EarCount *count = nullptr;
};

} // namespace readingaids
