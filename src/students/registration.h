#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The rules of "Enregistrer cet élève": the checks of the identity fields in
// their order, and the names and lines that a registration writes. The
// screen reads its fields, asks these, and does the writing in order.
namespace students {

// The six fields of the student screen, as they stand.
struct Identity
{
    QString city;
    QString school;
    QString schoolClass;
    QString surname;
    QString firstName;
    QString mail;
};

// A name that would leave its folder or break an FTP command: "/", "\",
// a control character (CR and LF among them), one of < > : " | ? *, or "."
// or ".." once folded. The text names the field: "Le champ « Nom » ...".
std::optional<QString> unsafeFieldMessage(const QString &caption, const QString &value);
// The three class fields (Ville, Ecole, Classe), then the three student
// fields (Nom, Prénom, Mail); the first refused gives the message.
std::optional<QString> unsafeClassMessage(const Identity &fields);
std::optional<QString> unsafeStudentMessage(const Identity &fields);

// The placeholder texts still in a field, in the order of the checks:
// "Classe", "Ville", "Ecole", "Nom", "Prénom". Empty fields pass.
std::optional<QString> placeholderMessage(const Identity &fields);

// A new class needs a city, a school and a class, checked in that order.
std::optional<QString> emptyClassMessage(const QString &city, const QString &school, const QString &schoolClass);

// "@" or nothing.
bool isMissingMail(const QString &mail);

// Upper-cased (a to z only), folded, upper-cased again: "évry" -> "EVRY".
QString classFieldName(const QString &field);

// The two below take the class fields upper-cased and folded already, the
// student fields as typed.

// CheminFTP: "../Orvane_" + city + "_" + school + "_" + class + "/" + the
// folded form of (folded surname + "_" + folded first name + "_" + mail) + "/".
QString remoteStudentFolder(const Identity &fields);

// The register line: surname;first name;class;mail, the names folded.
// "Hélène", "Zoé", "CM1", "h@x.fr" -> "Helene;Zoe;CM1;h@x.fr"
QString registerLine(const Identity &fields);

} // namespace students
