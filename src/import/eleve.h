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

// The short fields of a student's surname, first name and e-mail address, as
// the register names them; the class is the student screen's, not taken here.
// {"Le Goff", "Anne-Laure", "al@x.fr"} -> {"Le Goff", "Anne-Laure", "", "al@x.fr"}
TEleve shortFields(const QString &surname, const QString &firstName, const QString &mail);

} // namespace import
