#include "aidselection.h"

#include "stylesheet.h"

namespace layout {

bool &AidBoxes::operator[](AidBox box)
{
    switch (box) {
    case AidBox::CheckBox2:
        return checkBox2;
    case AidBox::CheckBox6:
        return checkBox6;
    case AidBox::CheckBox8:
        return checkBox8;
    case AidBox::CheckBox9:
        break;
    }
    return checkBox9;
}

bool AidBoxes::operator[](AidBox box) const
{
    return const_cast<AidBoxes &>(*this)[box];
}

const AidRow &aidRow(AidBox box)
{
    using readingaids::BodyAid;
    static const std::array<AidRow, 4> rows{{
        {AidBox::CheckBox2, BodyAid::Couleurs, line::AidSecondSlot, flag::Syllabe,
         {AidBox::CheckBox6, AidBox::CheckBox8}, line::AidFirstSlot, true},
        {AidBox::CheckBox6, BodyAid::Tirets, line::AidFirstSlot, flag::Tiret,
         {AidBox::CheckBox2, AidBox::CheckBox8}, line::AidSecondSlot, false},
        {AidBox::CheckBox8, BodyAid::Muettes, line::AidFirstSlot, flag::Muet,
         {AidBox::CheckBox2, AidBox::CheckBox6}, line::AidSecondSlot, false},
        {AidBox::CheckBox9, BodyAid::Phrases, line::AidSecondSlot, flag::Phrase,
         {AidBox::CheckBox6, AidBox::CheckBox8}, line::AidFirstSlot, true},
    }};
    return rows[static_cast<size_t>(box)];
}

QString boxesOnFlag(const AidBoxes &boxes)
{
    if (boxes.checkBox6)
        return flag::SyllabesTirets;
    if (boxes.checkBox9)
        return flag::PhrasesCouleurs;
    if (boxes.checkBox2)
        return flag::SyllabesCouleurs;
    return {};
}

} // namespace layout
