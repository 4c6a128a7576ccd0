#include "aidselection.h"

#include "stylesheet.h"

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

} // namespace layout
