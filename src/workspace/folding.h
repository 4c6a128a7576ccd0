#pragma once

#include <QString>

namespace workspace {

// Folds a name into a folder name: accented letters to plain ones, ligatures
// to two letters, blanks to underscores; every other character and the case
// stay. Folding a folded name changes nothing. "Bœuf Éloïse" -> "Boeuf_Eloise"
QString EnleveAccentsCaseOfDoubles(const QString &name);

// Upper-cases the letters a to z only: "évry" -> "éVRY"
QString upperCaseClassField(const QString &field);

} // namespace workspace
