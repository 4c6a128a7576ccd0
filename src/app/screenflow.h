#pragma once

#include <QString>

class TForm1;
class TForm2;
class TForm3;

// The way between the screens: each screen asks for the next one by a signal,
// and only this file knows all three. Each screen is owned by the one that
// opened it: student screen -> import screen -> layout screen. One screen of
// each kind is alive for its owner: a new import or layout screen takes the
// place of the one made before, and "Sauvegarder ces réglages" goes back to
// the student screen that exists rather than making another.
namespace app {

// Connects a student screen's "Suite -> Importer du texte" to the import
// screen it owns, shown modally, and everything that opens from there.
void followStudentScreen(TForm2 *students);

// The import screen a student screen opens, its way on connected; not shown.
// The student screen's earlier import screen, and its layout screens, go.
TForm3 *makeImportScreen(TForm2 *students);

// The layout screen an import screen opens on the document at path: made
// (the opening runs and raises its failure; then no screen is made and the
// one shown stays), in place of the import screen's earlier one, its way on
// connected, stored in Form1 and shown on top. Its "Sauvegarder ces réglages"
// hides it and the import screen, and brings the student screen forward.
TForm1 *openLayoutScreen(TForm3 *import, const QString &path);

} // namespace app
