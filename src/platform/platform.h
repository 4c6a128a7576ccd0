#pragma once

#include "clipboard.h"
#include "display.h"
#include "filedialogs.h"
#include "messageboxes.h"
#include "progress.h"
#include "shell.h"
#include "webview.h"

#include "publishing/ftpclient.h"

namespace platform {

// The seams between the screens and the desktop. The program installs the
// desktop's own; tests install scripted doubles.
struct Platform
{
    MessageBoxes *messages = nullptr;
    FileDialogs *fileDialogs = nullptr;
    Shell *shell = nullptr;
    Clipboard *clipboard = nullptr;
    Display *display = nullptr;
    WebViews *webViews = nullptr;
    ProgressWindows *progress = nullptr;
    publishing::FtpClients *ftp = nullptr;
};

// The seams in use. Q_ASSERTs that they were installed.
const Platform &services();

// Installs the seams; returns those that were in use.
Platform install(const Platform &platform);

// The desktop's own seams, living as long as the program.
Platform desktopPlatform();

// Shorthand for services().messages->showMessage(parent, text).
void ShowMessage(QWidget *parent, const QString &text);
// The same with a check box (services().messages->showMessageWithCheckBox);
// the text is logged as ShowMessage logs it.
bool ShowMessageWithCheckBox(QWidget *parent, const QString &text, const QString &checkBox);
// A question (services().messages->ask), logged as ShowMessage logs it.
int Ask(QWidget *parent, const QString &text, const QStringList &answers);

// Shows the address in the browser; where the desktop cannot, a message
// gives the teacher the address to open by hand.
void showInBrowser(QWidget *parent, const QString &address);

} // namespace platform
