#include "entendubox.h"

#include "readingaids/corrections.h"
#include "readingaids/document.h"
#include "readingaids/entendu.h"
#include "workspace/textfile.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace layout {

namespace {

const QString On = u"entendu=oui"_s;
const QString Off = u"entendu=non"_s;
const QString InARow = u"suite=oui"_s;
const QString EachWord = u"suite=non"_s;

} // namespace

EntenduBox entenduBox(const QString &cheminW)
{
    const workspace::Result<void> availability = readingaids::entenduAvailability();
    EntenduBox box;
    box.enabled = availability.ok();
    box.reason = availability.reason();
    // Without espeak-ng the file is left as it is: the choice waits there
    // for a computer that has it. A student without a choice yet reads by
    // ear: the letter rules cut through the letters of one sound.
    const QString path = cheminW + EntenduFile;
    box.checked = box.enabled && (!QFileInfo::exists(path) || workspace::readLines(path).value(0).trimmed() == On);
    return box;
}

void rememberEntendu(const QString &cheminW, bool checked)
{
    workspace::writeLines(cheminW + EntenduFile, {checked ? On : Off});
}

bool syllablesInARow(const QString &cheminW)
{
    const QString path = cheminW + SuiteFile;
    return QFileInfo::exists(path) && workspace::readLines(path).value(0).trimmed() == InARow;
}

void rememberSyllablesInARow(const QString &cheminW, bool inARow)
{
    workspace::writeLines(cheminW + SuiteFile, {inARow ? InARow : EachWord});
}

QString entenduNote(const EntenduBox &box, bool checked, QStringView sound)
{
    if (!box.enabled)
        return box.reason;
    const bool lettersMatched = checked && !sound.isEmpty() && !readingaids::namesSound(sound);
    if (lettersMatched)
        return u"lettres : aucun son de ce nom"_s;
    return {};
}

readingaids::Corrections loadCorrections(const QString &workingFolder)
{
    return readingaids::Corrections::read(workingFolder + u'/' + readingaids::CorrectionsFile);
}

QList<readingaids::WordToCheck> motsAVerifier(const WorkingCopies &files, const QStringList &documentLines)
{
    const QStringList plain = carriesAid(documentLines) ? untransformedLines(files) : documentLines;
    try {
        const readingaids::Regions regions = readingaids::findRegions(plain);
        return readingaids::wordsToCheck(plain.sliced(regions.logo + 1, regions.endMarker - regions.logo - 1));
    } catch (const readingaids::DocumentRefused &) {
        return {};
    }
}

readingaids::Corrections loadCorrections(const QString &workingFolder, const QString &document)
{
    return loadCorrections(workingFolder)
        .overriddenBy(readingaids::Corrections::read(readingaids::textCorrectionsPath(document)));
}

workspace::Result<std::optional<AidOutcome>> correctWordCut(const QString &workingFolder, const QString &word,
                                                            const QString &notation, const QString &sound,
                                                            AidBoxes boxes, bool byEar, Css &css,
                                                            WorkingCopies &files, QStringList &documentLines,
                                                            CorrectionFor scope)
{
    const QString path = scope == CorrectionFor::ThisText
        ? readingaids::textCorrectionsPath(files.document)
        : workingFolder + u'/' + readingaids::CorrectionsFile;
    workspace::Result<readingaids::Corrections> corrected = readingaids::correctWordInFile(path, word, notation);
    if (!corrected)
        return workspace::refuse(corrected.reason());
    files.corrections = loadCorrections(workingFolder, files.document);
    return putWordAidOnAgain(sound, boxes, byEar, css, files, documentLines);
}

} // namespace layout
