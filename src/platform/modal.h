#pragma once

class QWidget;

namespace platform {

// Shows a window modally and returns when it is hidden (closed) or destroyed;
// the events of the windows that stay usable are handled meanwhile.
void showModal(QWidget *window);

// Asks the program to end: the running handler finishes its remaining steps,
// then every event loop stops, the modal ones included.
void endProgram();

} // namespace platform
