#pragma once

#include <QString>

namespace import {

// The student's identity as the import screen shows it, each field held as a
// short 8-bit string: cut to its capacity, with "?" for a character that the
// code page cannot hold.
struct TEleve
{
    QString nom;     // 30 characters
    QString prenom;  // 30
    QString classe;  // 20
    QString mail;    // 120; empty when the rest holds no "@"
};

// Splits a student folder name, always at the first "_" of what is left:
// "Dupont_Jean_jean@ecole.fr" -> {"Dupont", "Jean", "jean@ecole.fr", "jean@ecole.fr"}
TEleve splitIdentity(const QString &identity);

} // namespace import
