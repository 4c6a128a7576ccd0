#pragma once

class TForm2;

namespace app {

// Settings that must be made before the application object exists: the web
// engine runs without its sandbox when the program runs as root.
void prepareEnvironment();

// Creates the main student screen, stores it in Form2 and shows it.
TForm2 *startProgram();

// Starts the program and runs its event loop until the program ends; then
// every screen is destroyed with its owner. Returns the exit code.
int runProgram();

} // namespace app
