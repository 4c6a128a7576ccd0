#pragma once

#include "alignment.h"

#include <QList>
#include <QString>
#include <QStringView>

// The silent letters of a word from its pronunciation: the letters not said
// in the word said alone.
namespace readingaids {

// For each letter of an aligned word, whether it is silent: a consonant not
// said (peti[t], chau[d], tem[ps]), the -ent of a verb (chant[ent]), an e not
// said at the end (petit[e]), h ([h]iver), and the consonant of a final
// er, ez, et, es said as a vowel (mange[r], e[st]), the i of an "oi" said
// [o] (o[i]gnon). An e not said inside the
// word is read (samedi); the apostrophe is no letter.
QList<bool> silentByEar(QStringView word, const QList<Grapheme> &graphemes);

// The word with every run of silent letters in square brackets.
// ("chantent", {…}) -> "chant[ent]"
QString bracketSilent(QStringView word, const QList<bool> &silent);

} // namespace readingaids
