#pragma once

#include <QApplication>

#include <memory>

namespace fakes {

// The application object of the screens run headless (tests and benches):
// offscreen and the web engine without its sandbox unless the environment
// says otherwise, and the program kept alive when its last window closes.
// argc must outlive the application, as Qt requires.
std::unique_ptr<QApplication> headlessApplication(int &argc, char **argv);

} // namespace fakes
