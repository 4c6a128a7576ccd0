#pragma once

#include "workspace/result.h"

#include <QString>

class TForm2;

namespace app {

// Settings that must be made before the application object exists: the web
// engine runs without its sandbox when the program runs as root.
void prepareEnvironment();

// Chooses the working folder (the folder given, or as chooseWorkingFolder
// says), prepares it from the program's data and makes it the current
// folder, once, before any screen. Data that could not be copied is told in a
// message box, and the program goes on; refuses a folder that cannot be made
// or entered, saying why.
workspace::Result<void> enterWorkingFolder(const QString &given);

// Creates the main student screen, stores it in Form2 and shows it.
TForm2 *startProgram();

// Starts the program and runs its event loop until the program ends; then
// every screen is destroyed with its owner. A text toldAtStart is shown in a
// message box once the first screen is up. Returns the exit code.
int runProgram(const QString &toldAtStart = {});

} // namespace app
