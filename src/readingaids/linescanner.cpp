#include "linescanner.h"

#include "incontext.h"
#include "markup.h"
#include "trim.h"

namespace readingaids {

namespace {

// The no-break space (0xA0 in the code page) that French typography puts
// before ";", ":", "!", "?" and inside guillemets.
constexpr char16_t NoBreakSpace = u'\u00A0';

// Whether the character is one that the scanner looks at; every other one
// belongs to the word it stands in.
bool needsALook(QChar c, Marks marks)
{
    switch (c.unicode()) {
    case u'<':
    case u'&':
    case u' ':
    case NoBreakSpace:
    case u'!':
    case u';':
    case u'?':
        return true;
    case u'-':
    case u',':
    case u'.':
    case u':':
        return marks == Marks::BeginWord;
    default:
        return false;
    }
}

bool isSentenceMark(QChar c)
{
    return c == u'!' || c == u';' || c == u'?';
}

bool isMark(QChar c)
{
    return c == u'-' || c == u',' || c == u'.' || c == u':';
}

// The dashes of a treated word that the reader sees: those inside its tags
// (a colour's name) are not.
qsizetype dashesOutsideTags(QStringView made)
{
    qsizetype dashes = 0;
    bool inTag = false;
    for (const QChar c : made) {
        if (c == u'<')
            inTag = true;
        else if (c == u'>')
            inTag = false;
        else if (c == u'-' && !inTag)
            ++dashes;
    }
    return dashes;
}

// Where a word is treated before it is written: kept from one word to the next.
thread_local LineBuffer treatedWord;

struct Scanner
{
    QStringView text;
    WordTreatment demontage;
    const WordContext &context;
    LineBuffer &out;
    qsizetype wordStart = -1; // -1 when no word is pending
    // Then the word follows what stands before it without a blank: a mark
    // ("vent,") or a reference that its letters touch ("for&#xEA;t").
    bool wordBeginsWithMark = false;
    // Where the last reference or "!", ";", "?" written ends: letters
    // right after it touch it.
    qsizetype touchingEnd = -1;
    // The blanks and no-break spaces met since the last thing written.
    qsizetype gapStart = -1;
    qsizetype gapEnd = -1;
    bool gapHasNoBreakSpace = false;

    void beginWord(qsizetype pos, bool withMark)
    {
        wordStart = pos;
        wordBeginsWithMark = withMark || pos == touchingEnd;
    }

    void blankAt(qsizetype pos, bool noBreak)
    {
        if (gapStart < 0)
            gapStart = pos;
        gapEnd = pos + 1;
        gapHasNoBreakSpace = gapHasNoBreakSpace || noBreak;
    }

    // What stands between two things written: with a no-break space, the
    // blanks and no-break spaces as the text has them, a run of blanks
    // written as one (the reader sees the same); without any, one blank where
    // `blank` asks for it (blanks collapse).
    void gap(bool blank)
    {
        if (gapHasNoBreakSpace) {
            for (qsizetype i = gapStart; i < gapEnd; ++i) {
                if (text[i] != u' ' || i == gapStart || text[i - 1] != u' ')
                    out.append(text[i].unicode());
            }
        } else if (blank) {
            out.append(u' ');
        }
        gapStart = -1;
        gapHasNoBreakSpace = false;
    }

    void endWord(qsizetype end)
    {
        if (wordStart < 0)
            return;
        gap(!wordBeginsWithMark);
        const QStringView word = text.sliced(wordStart, end - wordStart);
        treatedWord.clear();
        demontage(word, context, treatedWord);
        // The dashes the treatment put in must not end the line there.
        const bool cut = dashesOutsideTags(treatedWord.view()) > word.count(u'-');
        if (cut)
            out.append(wholeWordOpening);
        out.append(treatedWord.view());
        if (cut)
            out.append(wholeWordClosing);
        wordStart = -1;
    }

    // A blank or a no-break space ends a word; a no-break space is kept, and
    // so is a blank beside one.
    void blank(qsizetype pos, bool noBreak)
    {
        endWord(pos);
        blankAt(pos, noBreak);
    }

    // "!", ";" and "?" right after the word they end, or as they stood.
    void sentenceMark(qsizetype pos)
    {
        if (wordStart >= 0)
            endWord(pos);
        else
            gap(pos > 0 && text[pos - 1] == u' ');
        out.append(text[pos].unicode());
        touchingEnd = pos + 1;
    }

    // Copies the tag or reference at pos; returns where the scan goes on. A
    // reference stands for a character of the text, so it keeps a blank that
    // stood before it, and letters right after it go on the teacher's word
    // without a blank.
    qsizetype copyMarkup(qsizetype pos, qsizetype length)
    {
        const bool reference = text[pos] == u'&';
        const bool blankBefore = reference && wordStart < 0 && pos > 0 && text[pos - 1] == u' ';
        endWord(pos);
        gap(blankBefore);
        if (length < 0)
            length = text.size() - pos;
        out.append(text.sliced(pos, length));
        if (reference)
            touchingEnd = pos + length;
        return pos + length;
    }
};

} // namespace

void MiseCouleur(QStringView line, Marks marks, WordTreatment demontage, const WordContext &context,
                 LineBuffer &out)
{
    if (context.syllablesInARow != nullptr)
        *context.syllablesInARow = 0;
    Scanner scan{trimLine(line), demontage, context, out};
    if (context.inContext != nullptr)
        context.inContext->read(scan.text);
    const qsizetype n = scan.text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = scan.text[i];
        if (!needsALook(c, marks)) {
            // The rest of the word, up to the next character to look at.
            if (scan.wordStart < 0)
                scan.beginWord(i, false);
            ++i;
            while (i < n && !needsALook(scan.text[i], marks))
                ++i;
        } else if (const qsizetype markup = markupLength(scan.text, i)) {
            i = scan.copyMarkup(i, markup);
        } else {
            if (c == u' ' || c == NoBreakSpace)
                scan.blank(i, c == NoBreakSpace);
            else if (isSentenceMark(c))
                scan.sentenceMark(i);
            else if (isMark(c)) {
                // A mark touches the word before it unless a blank stood
                // there: "vent," but "il y a :".
                scan.endWord(i);
                scan.beginWord(i, i == 0 || scan.text[i - 1] != u' ');
            } else if (scan.wordStart < 0)
                scan.beginWord(i, false);
            ++i;
        }
    }
    scan.endWord(n);
    scan.gap(false);
}

QString MiseCouleur(QStringView line, Marks marks, WordTreatment demontage, const WordContext &context)
{
    // The line is made in room kept from one line to the next (a coloured
    // line grows to about nine times its text, and would be moved each time
    // its room doubled), then copied out at its exact size.
    thread_local LineBuffer out;
    out.clear();
    MiseCouleur(line, marks, demontage, context, out);
    return out.toString();
}

} // namespace readingaids
