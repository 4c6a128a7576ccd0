#pragma once

#include "corrections.h"
#include "linescanner.h"

#include <QString>
#include <QStringView>

// Silent letters: the last letter of a word that is often not heard is set
// apart by dashes in front of it.
namespace readingaids::muettes {

// The word treatment: appends the word to out, with "--" before the last
// letter of a word of consonnF, "-" before a last s or a last b c f g h l p
// w x z. "vent" -> "ven--t", "chats" -> "chat-s", "il" -> "i-l", "Le" -> "Le"
void demontage(QStringView word, const WordContext &context, LineBuffer &out);

inline constexpr ScannedAid aid{Marks::BeginWord, demontage};

} // namespace readingaids::muettes

namespace readingaids {

// The output line of a body line for the silent letters, those of the words
// the teacher corrected as corrected.
// "Le vent souffle, il fait froid.<br>" -> " Le ven--t souffle, i-l fai--t froi--d.<br>"
QString muettesLine(QStringView line, const Corrections &corrections = {});

} // namespace readingaids
