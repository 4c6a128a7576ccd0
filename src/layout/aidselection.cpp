#include "aidselection.h"

#include "stylesheet.h"

#include "readingaids/frame.h"

namespace layout {

bool &AidBoxes::operator[](AidBox box)
{
    switch (box) {
    case AidBox::SyllablesInColours:
        return syllablesInColours;
    case AidBox::SyllablesWithDashes:
        return syllablesWithDashes;
    case AidBox::SilentLetters:
        return silentLetters;
    case AidBox::SentencesInColours:
        break;
    }
    return sentencesInColours;
}

bool AidBoxes::operator[](AidBox box) const
{
    return const_cast<AidBoxes &>(*this)[box];
}

const AidRow &aidRow(AidBox box)
{
    using readingaids::BodyAid;
    static const std::array<AidRow, 4> rows{{
        {AidBox::SyllablesInColours, BodyAid::Couleurs, line::AidSecondSlot, flag::Syllabe,
         {AidBox::SyllablesWithDashes, AidBox::SilentLetters}, line::AidFirstSlot, true},
        {AidBox::SyllablesWithDashes, BodyAid::Tirets, line::AidFirstSlot, flag::Tiret,
         {AidBox::SyllablesInColours, AidBox::SilentLetters}, line::AidSecondSlot, false},
        {AidBox::SilentLetters, BodyAid::Muettes, line::AidFirstSlot, flag::Muet,
         {AidBox::SyllablesInColours, AidBox::SyllablesWithDashes}, line::AidSecondSlot, false},
        {AidBox::SentencesInColours, BodyAid::Phrases, line::AidSecondSlot, flag::Phrase,
         {AidBox::SyllablesWithDashes, AidBox::SilentLetters}, line::AidFirstSlot, true},
    }};
    return rows[static_cast<size_t>(box)];
}

QString boxesOnFlag(const AidBoxes &boxes)
{
    if (boxes.syllablesWithDashes)
        return flag::SyllabesTirets;
    if (boxes.sentencesInColours)
        return flag::PhrasesCouleurs;
    if (boxes.syllablesInColours)
        return flag::SyllabesCouleurs;
    return {};
}

namespace {

constexpr AidBox AllBoxes[] = {AidBox::SyllablesInColours, AidBox::SyllablesWithDashes, AidBox::SilentLetters,
                               AidBox::SentencesInColours};

QStringView trimmedLine(const QString &line)
{
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && line[first].unicode() <= 32)
        ++first;
    while (last > first && line[last - 1].unicode() <= 32)
        --last;
    return QStringView(line).mid(first, last - first);
}

// For each line of the box's borders: true when it carries its cell. The
// flip tells a border line from any other one; the bare form ends the marker.
QList<bool> borderCells(const QStringList &lines, readingaids::Border border)
{
    QList<bool> cells;
    const QStringList flipped = readingaids::flipBorders(lines, border);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (flipped[i] != lines[i])
            cells.append(!trimmedLine(lines[i]).endsWith(u"-->"));
    }
    return cells;
}

} // namespace

BorderBoxes bordersShown(const QStringList &documentLines)
{
    using readingaids::Border;
    return {borderCells(documentLines, Border::GreenRed).contains(true),
            borderCells(documentLines, Border::Multicolor).contains(true)};
}

BorderBoxes borderLinesPresent(const QStringList &documentLines)
{
    using readingaids::Border;
    return {!borderCells(documentLines, Border::GreenRed).isEmpty(),
            !borderCells(documentLines, Border::Multicolor).isEmpty()};
}

AidBoxes showsAlone(std::optional<AidBox> box, const AidBoxes &before, Css &css)
{
    AidBoxes after;
    for (const AidBox other : AllBoxes) {
        if (other == box || !before[other])
            continue;
        const AidRow &row = aidRow(other);
        if (css[row.flagLine] == row.flag)
            css[row.flagLine].clear();
    }
    if (box)
        after[*box] = true;
    return after;
}

} // namespace layout
