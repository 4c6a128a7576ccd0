#include "reapply.h"

#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/son.h"
#include "readingaids/trim.h"

#include <algorithm>
#include <initializer_list>

namespace layout {

namespace {

constexpr AidBox AllBoxes[] = {AidBox::SyllablesInColours, AidBox::SyllablesWithDashes, AidBox::SilentLetters,
                               AidBox::SentencesInColours};

// A document marks few distinct sounds; past these, the typed one is among
// the first.
constexpr qsizetype MostSounds = 8;

// The texts set in bold red in the lines, in their order, each once: the
// sound as typed is the first of them by its letters, and among them by ear.
QStringList markedTexts(const QStringList &lines)
{
    using readingaids::markClosing;
    using readingaids::markOpening;
    QStringList texts;
    for (const QString &line : lines) {
        qsizetype from = 0;
        for (qsizetype start; (start = line.indexOf(markOpening, from)) >= 0;) {
            const qsizetype inside = start + markOpening.size();
            const qsizetype end = line.indexOf(markClosing, inside);
            if (end < 0)
                break;
            const QString text = line.sliced(inside, end - inside);
            if (!text.isEmpty() && !texts.contains(text))
                texts.append(text);
            if (texts.size() == MostSounds)
                return texts;
            from = end + markClosing.size();
        }
    }
    return texts;
}

// The aids write the frame lines trimmed, and a highlight or border change
// rewrites some of them whole afterwards; the body lines are the aid's own,
// to the character (a sound that marks nothing leaves the body lines trimmed,
// the syllable aids begin them with a blank). The output keeps the number of
// lines of the head and of the tail.
bool sameLines(const QStringList &output, const QStringList &aided, const readingaids::Regions &regions,
               qsizetype untransformedSize)
{
    if (output.size() != aided.size())
        return false;
    const qsizetype bodyBegin = regions.logo + 1;
    const qsizetype bodyEnd = output.size() - (untransformedSize - regions.endMarker);
    for (qsizetype i = 0; i < output.size(); ++i) {
        const bool body = i >= bodyBegin && i < bodyEnd;
        const bool same = body ? output[i] == aided[i]
                               : readingaids::trimLine(output[i]) == readingaids::trimLine(aided[i]);
        if (!same)
            return false;
    }
    return true;
}

QStringList outputOf(const CarriedAid &aid, const QStringList &lines, const readingaids::Corrections &corrections)
{
    using readingaids::BodyAid;
    if (aid.box) {
        const BodyAid byLetters = aidRow(*aid.box).aid;
        return readingaids::writeBodyAid(lines, aid.byEar ? readingaids::byEar(byLetters) : byLetters, {},
                                         corrections, aid.colours);
    }
    return readingaids::writeBodyAid(lines, aid.byEar ? BodyAid::SonEntendu : BodyAid::Son, aid.sound, corrections);
}

// The aids to try, the likeliest first.
QList<CarriedAid> candidates(const QStringList &aided, const Css &css, bool preferByEar)
{
    QList<CarriedAid> list;
    const auto add = [&](std::optional<AidBox> box, const QString &sound) {
        for (const bool byEar : {preferByEar, !preferByEar}) {
            const CarriedAid aid{box, sound, byEar};
            // The sentences read no word: the same aid either way.
            const bool sameByEar = box == AidBox::SentencesInColours && byEar != preferByEar;
            if (!sameByEar && !list.contains(aid))
                list.append(aid);
        }
        // The syllables in colours "à la suite", after those from red at every word.
        if (box == AidBox::SyllablesInColours) {
            for (const bool byEar : {preferByEar, !preferByEar})
                list.append(CarriedAid{box, sound, byEar, readingaids::SyllableColours::InARow});
        }
    };
    const AidBoxes flagged = flaggedBoxes(css);
    for (const AidBox box : AllBoxes) {
        if (flagged[box])
            add(box, {});
    }
    // By ear, several spellings name the sound typed ("o", "au", "eau"):
    // the shortest is tried first, as a teacher types it.
    QStringList texts = markedTexts(aided);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const QString &a, const QString &b) { return a.size() < b.size(); });
    for (const QString &text : std::as_const(texts)) {
        add(std::nullopt, text);
        // By ear, letter case aside.
        if (const CarriedAid lower{std::nullopt, text.toLower(), true}; !list.contains(lower))
            list.append(lower);
    }
    for (const AidBox box : AllBoxes) {
        if (!flagged[box])
            add(box, {});
    }
    return list;
}

bool clearIfFlag(Css &css, int k, std::initializer_list<QString> flags)
{
    for (const QString &f : flags) {
        if (hasFlag(css, k, f)) {
            css[k].clear();
            return true;
        }
    }
    return false;
}

} // namespace

AidBoxes flaggedBoxes(const Css &css)
{
    AidBoxes boxes;
    boxes.syllablesWithDashes = hasFlag(css, line::AidFirstSlot, flag::Tiret)
        || hasFlag(css, line::BoxesOn, flag::SyllabesTirets);
    boxes.silentLetters = hasFlag(css, line::AidFirstSlot, flag::Muet);
    boxes.syllablesInColours = hasFlag(css, line::AidSecondSlot, flag::Syllabe)
        || hasFlag(css, line::BoxesOn, flag::SyllabesCouleurs);
    boxes.sentencesInColours = hasFlag(css, line::AidSecondSlot, flag::Phrase)
        || hasFlag(css, line::BoxesOn, flag::PhrasesCouleurs);
    return boxes;
}

std::optional<CarriedAid> carriedAid(const QStringList &untransformed, const QStringList &aided, const Css &css,
                                     bool preferByEar, const readingaids::Corrections &corrections)
{
    try {
        const readingaids::Regions regions = readingaids::findRegions(untransformed);
        for (const CarriedAid &aid : candidates(aided, css, preferByEar)) {
            if (sameLines(outputOf(aid, untransformed, corrections), aided, regions, untransformed.size()))
                return aid;
        }
    } catch (const readingaids::DocumentRefused &) {
        // An untransformed form without its markers carries no aid's output.
    }
    return std::nullopt;
}

std::optional<ShownAid> shownAid(const WorkingCopies &files, const QStringList &documentLines, const Css &css,
                                 bool preferByEar)
{
    if (!carriesAid(documentLines))
        return ShownAid{};
    const std::optional<CarriedAid> aid
        = carriedAid(untransformedLines(files), documentLines.first(documentLines.size() - 1), css, preferByEar,
                     files.corrections);
    if (!aid)
        return std::nullopt;
    ShownAid shown;
    if (aid->box)
        shown.boxes[*aid->box] = true;
    else
        shown.sound = aid->sound;
    // The sentences read no word.
    if (aid->box != AidBox::SentencesInColours)
        shown.byEar = aid->byEar;
    return shown;
}

void takeAidFlags(Css &css, const Css &written)
{
    for (const int k : {line::AidFirstSlot, line::AidSecondSlot, line::End, line::BoxesOn})
        css[k] = written[k];
}

void putAidOn(const CarriedAid &aid, Css &css, const WorkingCopies &files, QStringList plain)
{
    AidBoxes boxes = flaggedBoxes(css);
    AidOutcome outcome;
    if (aid.box) {
        // Put on as a click on its box, unchecked over the plain document,
        // in the colours it had.
        boxes[*aid.box] = false;
        WorkingCopies inItsColours = files;
        inItsColours.colours = aid.colours;
        outcome = clickAidBox(*aid.box, boxes, css, inItsColours, plain, aid.byEar);
    } else {
        outcome = changeSound(aid.sound, boxes, css, files, plain, aid.byEar);
    }
    // Line 58 names the box the layout screen shows checked, not another.
    const QString shown = boxesOnFlag(outcome.boxes);
    if (css[line::BoxesOn] != shown
        && clearIfFlag(css, line::BoxesOn, {flag::SyllabesCouleurs, flag::PhrasesCouleurs, flag::SyllabesTirets})) {
        css[line::BoxesOn] = shown;
        SauveCSS(files.cheminW, css);
    }
}

void forgetAids(Css &css, const QString &cheminW)
{
    bool changed = clearIfFlag(css, line::AidFirstSlot, {flag::Tiret, flag::Muet});
    changed = clearIfFlag(css, line::AidSecondSlot, {flag::Syllabe, flag::Phrase, flag::Phoneme}) || changed;
    changed = clearIfFlag(css, line::BoxesOn, {flag::SyllabesCouleurs, flag::PhrasesCouleurs, flag::SyllabesTirets})
        || changed;
    if (changed)
        SauveCSS(cheminW, css);
}

} // namespace layout
