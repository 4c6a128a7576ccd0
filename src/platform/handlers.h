#pragma once

#include <QObject>
#include <QWidget>

#include <functional>

namespace platform {

// Runs one handler of a screen. A failure that the handler lets pass (a file
// that cannot be read or written, the publishing host, a conversion) ends
// the handler and is shown in one message box; the program goes on.
void runHandler(QWidget *screen, const std::function<void()> &handler);

// The general error report: the failure's French text in a message box.
void reportFailure(QWidget *screen, const QString &text);

// Binds a control's signal to a screen's handler through runHandler, the one
// place where failures are reported. The signal's arguments are not passed.
template <typename Sender, typename Signal, typename Screen>
QMetaObject::Connection connectHandler(Sender *sender, Signal signal, Screen *screen, void (Screen::*handler)())
{
    return QObject::connect(sender, signal, screen, [screen, handler] {
        runHandler(screen, [screen, handler] { (screen->*handler)(); });
    });
}

} // namespace platform
