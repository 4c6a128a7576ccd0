#pragma once

#include "linebuffer.h"
#include "wordcontext.h"

#include <QString>
#include <QStringView>

namespace readingaids {

// A word treatment: appends the treated word to out, as its context has it
// (the teacher's corrections, the words by ear).
using WordTreatment = void (*)(QStringView word, const WordContext &context, LineBuffer &out);

// Where the marks "-", ",", "." and ":" stand for the word treatment.
enum class Marks {
    InWord,    // inside the word they touch: "dort." is one word
    BeginWord, // each ends the word before it and begins a word of its own,
               // written right after: "vent," gives "vent" and ","
};

// The mark-up around a word that the treatment cut with dashes (syllables,
// silent letters): the word stays whole on its line in the view, in print and
// on the tablet, which would otherwise break it after a dash ("rou-" then
// "ge"). An inline style: the document carries it wherever it goes, with no
// rule needed in the student's style sheet.
inline constexpr QStringView wholeWordOpening = u"<span style=\"white-space:nowrap\">";
inline constexpr QStringView wholeWordClosing = u"</span>";

// A line aid that the scanner makes of a word treatment.
struct ScannedAid
{
    Marks marks;
    WordTreatment demontage;
};

// One body line turned into its output line (the line scanner): the line is
// trimmed and cut into tags, character references, blanks and words. Tags and
// references are copied unchanged; each word is treated and written after one
// blank (a word that begins with a mark in BeginWord, unless a blank stood
// before the mark, or right after a reference or a "!", ";", "?", is written without it, so a
// reference inside a word adds no blank to it); a treated word with more dashes outside its tags than the
// word had is written between wholeWordOpening and wholeWordClosing; "!",
// ";", "?" and references end a word and stay where they stood, with one
// blank before them when one stood there; a "<" that no ">" closes on the
// line copies the rest of the line unchanged. A no-break space ends a word as
// a blank does, and every one is kept: where the blanks between two things
// written hold one, they are written as the text has them (a run of blanks as
// one), in place of the one blank.
// "Le  chat<br>" -> " Le chat<br>" with a treatment that copies the word;
// "for&#xEA;t" -> " for&#xEA;t" (the treatment sees "for" and "t");
// "dit\u00A0!" -> " dit\u00A0!" (the treatment sees "dit");
// "rouge<br>" -> " <span style=\"white-space:nowrap\">rou-ge</span><br>" with
// the syllables joined by dashes.
// The context is handed to the treatment with each word.
QString MiseCouleur(QStringView line, Marks marks, WordTreatment demontage, const WordContext &context);

// The same output line appended to out.
void MiseCouleur(QStringView line, Marks marks, WordTreatment demontage, const WordContext &context,
                 LineBuffer &out);

} // namespace readingaids
