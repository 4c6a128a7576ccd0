#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// Words cut at a line's end by a hyphen, put together again. A hyphen at the
// end of a line is either the printer's break ("cher-" "che") or part of the
// word ("porte-" "monnaie", "dit-" "il"). The rule, in this order:
// 1. a soft hyphen (U+00AD) is always a break;
// 2. before a capital the hyphen stays ("Jean-" "Pierre", "Saint-" "Malo");
// 3. when the word with its hyphen is in the French word list, it stays;
// 4. when the word without it is in the list, it goes ("cher-" "che");
// 5. before a pronoun or a particle that follows a verb with a hyphen
//    ("-il", "-elle", "-on", "-moi", "-ci", "-là"...), it stays;
// 6. when both parts are words of the list, it stays;
// 7. otherwise it goes: a cut is the usual reason for a hyphen there.
namespace sources {

// The French word list of Debian's wfrench package.
QString defaultWordList();

// Whether the line ends with a letter then a hyphen (or soft hyphen).
bool endsWithCut(QStringView line);
// Whether the line starts with a letter (a lower-case one when asked).
bool startsWithLetter(QStringView line, bool lowerCaseOnly = true);

// The lower-case words the rule may look up to join these paragraphs.
QSet<QString> wordsToLookUp(const QList<QStringList> &paragraphs);

// Those of the words that the list holds (compared without case). A list that
// cannot be read holds none, and the rule does without it.
QSet<QString> knownWords(const QSet<QString> &words, const QString &wordList = defaultWordList());

// Whether the hyphen between before ("porte", the letters and hyphens before
// it) and after ("monnaie", the letters after it) is part of the word.
bool keepsHyphen(QStringView before, QChar hyphen, QStringView after, const QSet<QString> &known);

// The lines of a paragraph as one: joined by a blank, or straight on where a
// cut word is put together.
// {"Le porte-", "monnaie de la cher-", "cheuse"} -> "Le porte-monnaie de la chercheuse"
QString joinLines(const QStringList &lines, const QSet<QString> &known);

} // namespace sources
