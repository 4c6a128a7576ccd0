#include "writtenbyear.h"

#include "colours.h"
#include "document.h"
#include "entendu.h"
#include "incontext.h"
#include "linescanner.h"
#include "silentbyear.h"
#include "syllablesbyear.h"

using namespace Qt::StringLiterals;

namespace readingaids {

namespace {

bool isLetterOfWord(QChar c)
{
    return c.isLetter() || c.isMark();
}

// A part's syllables and silent letters, in the part's own letters.
using ReadPart = std::function<bool(QStringView part, Syllables &syllables, QList<bool> &silent)>;

// Composes the word from its parts; false when a part cannot be read.
bool compose(QStringView word, const ReadPart &read, WrittenWord &out)
{
    out.syllables.clear();
    out.silent = QList<bool>(word.size(), false);
    bool readAll = true;
    Syllables partSyllables;
    QList<bool> partSilent;
    forEachLetterWord(word, [&](QStringView part) {
        if (!readAll)
            return;
        const qsizetype offset = part.data() - word.data();
        partSilent = QList<bool>(part.size(), false);
        if (!read(part, partSyllables, partSilent)) {
            readAll = false;
            return;
        }
        for (const Syllable &s : partSyllables)
            out.syllables.append({s.begin + offset, s.end + offset, false});
        // A mark (an apostrophe) is never a silent letter.
        for (qsizetype i = 0; i < part.size(); ++i)
            out.silent[offset + i] = partSilent.value(i) && isLetterOfWord(part[i]);
    });
    if (!readAll)
        return false;
    if (out.syllables.isEmpty()) {
        out.syllables.append({0, word.size(), false});
        return true;
    }
    // What stands between the parts goes with the syllable before it.
    out.syllables.front().begin = 0;
    for (qsizetype k = 1; k < out.syllables.size(); ++k)
        out.syllables[k - 1].end = out.syllables[k].begin;
    out.syllables.back().end = word.size();
    // Nor is a syllable begun with one: it stays with the syllable before.
    for (qsizetype k = 1; k < out.syllables.size(); ++k) {
        while (out.syllables[k].begin < out.syllables[k].end && !isLetterOfWord(word[out.syllables[k].begin]))
            out.syllables[k - 1].end = ++out.syllables[k].begin;
    }
    out.syllables.removeIf([](const Syllable &s) { return s.begin == s.end; });
    return true;
}

void syllablesOfCut(qsizetype length, const WordCut &cut, Syllables &syllables)
{
    syllables.clear();
    qsizetype begin = 0;
    for (const qsizetype start : cut.starts) {
        syllables.append({begin, start, false});
        begin = start;
    }
    syllables.append({begin, length, false});
}

bool readCorrected(const Corrections &corrections, QStringView part, Syllables &syllables, QList<bool> &silent)
{
    const WordCut *cut = corrections.find(part);
    // A cut is applied to the letters it was made for, never past them.
    if (cut == nullptr || cut->silent.size() != part.size())
        return false;
    syllablesOfCut(part.size(), *cut, syllables);
    silent = cut->silent;
    return true;
}

} // namespace

std::optional<QList<Grapheme>> graphemesInContext(QStringView part, const EarWord *alone,
                                                  const LineReadings *inContext)
{
    const ReadInContext *inSentence = inContext != nullptr ? inContext->find(part) : nullptr;
    if (inSentence == nullptr)
        return std::nullopt;
    const QString phonemes = phonemesInContext(*inSentence, alone != nullptr ? alone->pronunciation.phonemes : QString());
    if (phonemes.isEmpty())
        return std::nullopt;
    return align(spelling(part), phonemes);
}

namespace {

bool hasCorrectedPart(QStringView word, const Corrections &corrections)
{
    bool corrected = false;
    forEachLetterWord(word, [&](QStringView part) { corrected = corrected || corrections.find(part) != nullptr; });
    return corrected;
}

char16_t *put(char16_t *at, QStringView text)
{
    return std::copy_n(text.utf16(), text.size(), at);
}

} // namespace

bool writtenByEar(QStringView word, const EarWords *words, const Corrections &corrections, WrittenWord &out,
                  const LineReadings *inContext)
{
    return compose(word, [&](QStringView part, Syllables &syllables, QList<bool> &silent) {
        if (readCorrected(corrections, part, syllables, silent))
            return true;
        const EarWord *read = words != nullptr ? words->find(part) : nullptr;
        if (const std::optional<QList<Grapheme>> graphemes = graphemesInContext(part, read, inContext)) {
            cutByEar(part, *graphemes, syllables);
            silent = silentByEar(part, *graphemes);
            return true;
        }
        if (read == nullptr || !read->graphemes)
            return false;
        cutByEar(part, *read->graphemes, syllables);
        silent = silentByEar(part, *read->graphemes);
        return true;
    }, out);
}

bool writtenWithCorrections(QStringView word, const Corrections &corrections, WrittenWord &out)
{
    if (corrections.isEmpty() || !hasCorrectedPart(word, corrections))
        return false;
    return compose(word, [&](QStringView part, Syllables &syllables, QList<bool> &silent) {
        if (readCorrected(corrections, part, syllables, silent))
            return true;
        cutTextWord(part, syllables);
        return true;
    }, out);
}

WordCut currentCut(QStringView word, bool byEar, const Corrections &corrections)
{
    if (const WordCut *corrected = corrections.find(word))
        return *corrected;
    WrittenWord written;
    bool read = false;
    if (byEar && entenduAvailability()) {
        const Pronunciation said = Pronouncer::process().pronounce(word);
        const auto graphemes = said.outcome == Pronunciation::Outcome::Pronounced
            ? align(spelling(word), said.phonemes)
            : std::nullopt;
        if (graphemes) {
            cutByEar(word, *graphemes, written.syllables);
            written.silent = silentByEar(word, *graphemes);
            read = true;
        }
    }
    if (!read) {
        cutTextWord(word, written.syllables);
        written.silent = QList<bool>(word.size(), false);
    }
    WordCut cut;
    cut.silent = written.silent;
    for (qsizetype k = 1; k < written.syllables.size(); ++k)
        cut.starts.append(written.syllables[k].begin);
    return cut;
}

void appendColoured(QStringView word, const Syllables &syllables, LineBuffer &out)
{
    qsizetype size = opening.size() + word.size() + closing.size();
    for (qsizetype k = 1; k < syllables.size(); ++k)
        size += colourSwitch(k - 1).size();
    char16_t *at = put(out.extend(size), opening);
    for (qsizetype k = 0; k < syllables.size(); ++k) {
        if (k > 0)
            at = put(at, colourSwitch(k - 1));
        at = put(at, word.sliced(syllables[k].begin, syllables[k].end - syllables[k].begin));
    }
    put(at, closing);
}

void appendColoured(QStringView word, const Syllables &syllables, const WordContext &context, LineBuffer &out)
{
    if (context.syllablesInARow == nullptr) {
        appendColoured(word, syllables, out);
        return;
    }
    qsizetype &before = *context.syllablesInARow;
    out.append(before % 2 == 0 ? opening : openingGreen);
    for (qsizetype k = 0; k < syllables.size(); ++k) {
        if (k > 0)
            out.append((before + k) % 2 == 0 ? couleur5 : couleur1);
        out.append(word.sliced(syllables[k].begin, syllables[k].end - syllables[k].begin));
    }
    out.append(closing);
    before += syllables.size();
}

void appendDashed(QStringView word, const Syllables &syllables, LineBuffer &out)
{
    for (qsizetype k = 0; k < syllables.size(); ++k) {
        const QStringView text = word.sliced(syllables[k].begin, syllables[k].end - syllables[k].begin);
        if (k > 0 && !word.sliced(0, syllables[k].begin).endsWith(u'-'))
            out.append(u'-');
        out.append(text);
    }
}

namespace {

// The word by ear, or by its letters (counted) when it cannot be.
void written(QStringView word, const WordContext &context, WrittenWord &out)
{
    ++context.count->words;
    if (writtenByEar(word, context.words, context.corrections, out, context.inContext))
        return;
    ++context.count->byLetters;
    cutTextWord(word, out.syllables);
    out.silent = QList<bool>(word.size(), false);
}

void couleursByEar(QStringView word, const WordContext &context, LineBuffer &out)
{
    WrittenWord w;
    written(word, context, w);
    appendColoured(word, w.syllables, context, out);
}

void tiretsByEar(QStringView word, const WordContext &context, LineBuffer &out)
{
    WrittenWord w;
    written(word, context, w);
    appendDashed(word, w.syllables, out);
}

void muettesByEar(QStringView word, const WordContext &context, LineBuffer &out)
{
    WrittenWord w;
    written(word, context, w);
    for (qsizetype i = 0; i < word.size(); ++i) {
        const bool silent = w.silent.value(i);
        if (silent && (i == 0 || !w.silent.value(i - 1)))
            out.append(silentOpening);
        out.append(word[i].unicode());
        if (silent && (i + 1 == word.size() || !w.silent.value(i + 1)))
            out.append(silentClosing);
    }
}

WordTreatment treatmentOf(WrittenAid aid)
{
    switch (aid) {
    case WrittenAid::Couleurs:
        return couleursByEar;
    case WrittenAid::Tirets:
        return tiretsByEar;
    case WrittenAid::Muettes:
        break;
    }
    return muettesByEar;
}

} // namespace

EarCount writeByEar(const QStringList &lines, WrittenAid aid, const Corrections &corrections,
                    const std::function<void(QStringView line)> &sink, SyllableColours colours)
{
    HeldWords held = processEarWords();
    if (held.words != nullptr)
        held.words->prepare(lines);
    EarCount count;
    qsizetype inARow = 0;
    LineReadings inContext;
    const WordContext context{corrections, held.words, &count,
                              colours == SyllableColours::InARow ? &inARow : nullptr, &inContext};
    const WordTreatment treatment = treatmentOf(aid);
    LineBuffer out;
    writeOutput(lines, [&](QStringView line) {
        out.clear();
        MiseCouleur(line, Marks::InWord, treatment, context, out);
        return out.view();
    }, sink);
    return count;
}

QStringList byEarBodyLines(const QStringList &bodyLines, WrittenAid aid, const Corrections &corrections,
                           EarCount *count, SyllableColours colours)
{
    HeldWords held = processEarWords();
    if (held.words != nullptr)
        held.words->prepareBody(bodyLines);
    EarCount counted;
    qsizetype inARow = 0;
    LineReadings inContext;
    const WordContext context{corrections, held.words, &counted,
                              colours == SyllableColours::InARow ? &inARow : nullptr, &inContext};
    const WordTreatment treatment = treatmentOf(aid);
    QStringList output;
    output.reserve(bodyLines.size());
    LineBuffer out;
    for (const QString &line : bodyLines) {
        out.clear();
        MiseCouleur(line, Marks::InWord, treatment, context, out);
        output.append(out.view().toString());
    }
    if (count != nullptr)
        *count = counted;
    return output;
}

} // namespace readingaids
