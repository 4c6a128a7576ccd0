#include "aidcommands.h"

#include "entendubox.h"
#include "readingaids/bodyaids.h"
#include "workspace/textfile.h"

#include <QFile>

namespace layout {

namespace {

// Document lines read from a document that carried an aid are replaced by
// its untransformed lines, so that no aid is ever built over another.
void untransform(const WorkingCopies &files, QStringList &documentLines)
{
    if (carriesAid(documentLines))
        documentLines = untransformedLines(files);
}

} // namespace

void flagSave(Css &css, const QString &cheminW)
{
    css[line::End] = flag::Fin;
    // A style sheet that holds these lines already is not written again: a
    // keystroke in the sound field then waits for no disk.
    QFile file(cheminW + QStringLiteral("style.css"));
    if (file.open(QIODevice::ReadOnly) && file.readAll() == workspace::encodeLines(css.numbered() + css.beyond()))
        return;
    SauveCSS(cheminW, css);
}

AidOutcome clickAidBox(AidBox box, AidBoxes boxes, Css &css, const WorkingCopies &files, QStringList &documentLines,
                       bool byEar)
{
    const AidRow &row = aidRow(box);
    untransform(files, documentLines);
    AidOutcome outcome;
    if (boxes[box]) {
        outcome.restored = restore(files);
        css[row.flagLine].clear();
        boxes[box] = false;
        // The document is plain again: no other box may stay checked over it.
        if (outcome.restored != Restored::NoBackup)
            boxes = showsAlone(std::nullopt, boxes, css);
        flagSave(css, files.cheminW);
        outcome.boxes = boxes;
        outcome.emptySound = row.emptiesSound;
        return outcome;
    }
    // Built first: a refused document changes nothing.
    const QStringList output = readingaids::writeBodyAid(documentLines, byEar ? readingaids::byEar(row.aid) : row.aid,
                                                         {}, files.corrections, files.colours);
    // The install keeps the untransformed document as its backup, whatever
    // aid the document carried: the aids of the exclusion set go with it.
    install(files, output);
    if (boxes[row.excluded[0]] || boxes[row.excluded[1]]) {
        css[row.clearedByExclusion].clear();
        boxes[row.excluded[0]] = false;
        boxes[row.excluded[1]] = false;
    }
    // The output is built from the untransformed document: this aid now
    // shows alone, and so do the boxes and the flag lines; a sound marked
    // before is gone too.
    outcome.boxes = showsAlone(box, boxes, css);
    if (css[row.clearedByExclusion] == flag::Phoneme)
        css[row.clearedByExclusion].clear();
    outcome.soundTakenOff = true;
    css[row.flagLine] = row.flag;
    flagSave(css, files.cheminW);
    return outcome;
}

AidOutcome changeSound(const QString &sound, AidBoxes boxes, Css &css, const WorkingCopies &files,
                       QStringList &documentLines, bool byEar)
{
    untransform(files, documentLines);
    AidOutcome outcome;
    if (sound.isEmpty()) {
        // Nothing to mark: the untransformed document itself is shown.
        boxes.syllablesInColours = false;
        outcome.restored = restore(files);
        if (outcome.restored != Restored::NoBackup)
            boxes = showsAlone(std::nullopt, boxes, css);
    } else {
        const readingaids::BodyAid aid = byEar ? readingaids::BodyAid::SonEntendu : readingaids::BodyAid::Son;
        install(files, readingaids::writeBodyAid(documentLines, aid, sound, files.corrections));
        // The marked sound shows alone: the aid the boxes had on is gone.
        boxes = showsAlone(std::nullopt, boxes, css);
    }
    css[line::AidSecondSlot] = flag::Phoneme;
    flagSave(css, files.cheminW);
    outcome.boxes = boxes;
    return outcome;
}

std::optional<AidOutcome> changeEntendu(bool byEar, const QString &sound, AidBoxes boxes, Css &css,
                                        const WorkingCopies &files, QStringList &documentLines)
{
    // Marked first: a document the aids refuse leaves the choice as it was.
    const std::optional<AidOutcome> outcome = putWordAidOnAgain(sound, boxes, byEar, css, files, documentLines);
    rememberEntendu(files.cheminW, byEar);
    return outcome;
}

std::optional<AidOutcome> putWordAidOnAgain(const QString &sound, AidBoxes boxes, bool byEar, Css &css,
                                            const WorkingCopies &files, QStringList &documentLines)
{
    if (!sound.isEmpty())
        return changeSound(sound, boxes, css, files, documentLines, byEar);
    for (const AidBox box : {AidBox::SyllablesInColours, AidBox::SyllablesWithDashes, AidBox::SilentLetters}) {
        if (!boxes[box])
            continue;
        // Put on again from the untransformed document: the box stays checked.
        boxes[box] = false;
        return clickAidBox(box, boxes, css, files, documentLines, byEar);
    }
    return std::nullopt;
}

std::optional<AidOutcome> changeSyllablesInARow(bool inARow, AidBoxes boxes, Css &css, WorkingCopies files,
                                                QStringList &documentLines, bool byEar)
{
    files.colours = inARow ? readingaids::SyllableColours::InARow : readingaids::SyllableColours::EachWord;
    std::optional<AidOutcome> outcome;
    // Coloured first: a document the aids refuse leaves the choice as it was.
    if (boxes.syllablesInColours) {
        boxes.syllablesInColours = false;
        outcome = clickAidBox(AidBox::SyllablesInColours, boxes, css, files, documentLines, byEar);
    }
    rememberSyllablesInARow(files.cheminW, inARow);
    return outcome;
}

void changeHighlight(bool highlighted, const WorkingCopies &files, QStringList &documentLines)
{
    untransform(files, documentLines);
    const auto change = [highlighted](const QStringList &lines) {
        return readingaids::highlightLines(lines, highlighted);
    };
    rewriteInPlace(files, change);
    documentLines = change(documentLines);
}

void changeBorder(readingaids::Border border, BorderBoxes borders, const AidBoxes &boxes, Css &css,
                  const WorkingCopies &files, QStringList &documentLines)
{
    untransform(files, documentLines);
    const auto change = [border](const QStringList &lines) { return readingaids::flipBorders(lines, border); };
    rewriteInPlace(files, change);
    documentLines = change(documentLines);
    css[line::BorderGreenRed] = borders.greenRed ? flag::BordVertRouge : QString();
    css[line::BorderMulticolor] = borders.multicolor ? flag::BordMulticolor : QString();
    css[line::BoxesOn] = boxesOnFlag(boxes);
    SauveCSS(files.cheminW, css);
}

} // namespace layout
