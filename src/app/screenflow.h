#pragma once

#include <QString>

class TForm1;
class TForm2;
class TForm3;

// The way between the screens: each screen asks for the next one by a signal,
// and only this file knows all three. Each screen is owned by the one that
// opened it: student screen -> import screen -> layout screen -> a further
// student screen, and so on.
namespace app {

// Connects a student screen's "Suite -> Importer du texte" to the import
// screen it owns, shown modally, and everything that opens from there.
void followStudentScreen(TForm2 *students);

// The import screen a student screen opens, its way on connected; not shown.
TForm3 *makeImportScreen(TForm2 *students);

// The layout screen an import screen opens on the document at path: made
// (the opening runs and raises its failure; then no screen is made), its way
// on connected, stored in Form1 and shown.
TForm1 *openLayoutScreen(TForm3 *import, const QString &path);

} // namespace app
