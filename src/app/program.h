#pragma once

#include "workspace/result.h"

#include <QString>

#include <optional>

class TForm2;
class QWidget;

namespace localhost {
class HostStart;
}

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

// Ties the local host started in the background to the screens: a failure
// of its launcher is shown once, when it is known (after the first screen is
// up); a connection to the publishing host made while the launcher still runs
// waits for it, with the progress window over the screen after 0.3 s, and
// says why when the host does not run. The host must outlive the program's
// event loop.
void followPublishingHost(localhost::HostStart &host);

// The wait of a connection for the host still starting: nothing when it
// runs, or what the teacher is told.
workspace::Result<void> awaitPublishingHost(localhost::HostStart &host, QWidget *screen);

// Starts the program and runs its event loop until the program ends; then
// every screen is destroyed with its owner. A text toldAtStart is shown in a
// message box once the first screen is up. Returns the exit code.
int runProgram(const QString &toldAtStart = {});

} // namespace app
