#pragma once

#include "platform/platform.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <deque>
#include <functional>

namespace fakes {

// Records every message shown; a test may also act when one is shown.
class MessageBoxes : public platform::MessageBoxes
{
public:
    void showMessage(QWidget *parent, const QString &text) override;
    // Recorded as showMessage records it; the box is checked when check says.
    bool showMessageWithCheckBox(QWidget *parent, const QString &text, const QString &checkBox) override;

    // Recorded as showMessage records it; answered from answers, first in
    // first out, and cancelled (the last answer) when none is left.
    int ask(QWidget *parent, const QString &text, const QStringList &answers) override;

    QStringList shown;
    QStringList checkBoxes;  // the captions of the check boxes shown
    bool check = false;
    QList<int> answers;
    std::function<void(const QString &)> onShow;
};

// Answers the dialogs from queues of answers (nothing: the teacher cancels)
// and records what each dialog was opened with.
class FileDialogs : public platform::FileDialogs
{
public:
    std::optional<QString> openFile(QWidget *parent, const platform::FileDialogRequest &request) override;
    std::optional<QString> saveFile(QWidget *parent, const platform::FileDialogRequest &request) override;

    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    QList<platform::FileDialogRequest> openRequests;
    QList<platform::FileDialogRequest> saveRequests;
};

class Shell : public platform::Shell
{
public:
    bool openAddress(const QString &address) override
    {
        addresses.append(address);
        return browser;
    }
    bool openFile(const QString &path) override
    {
        files.append(path);
        return opens;
    }

    QStringList addresses;
    QStringList files;
    bool browser = true;  // false: the desktop has no browser
    bool opens = true;    // false: no application opens the files
};

class Clipboard : public platform::Clipboard
{
public:
    QString text() const override { return content; }
    QString html() const override { return htmlContent; }
    void setText(const QString &text) override
    {
        content = text;
        htmlContent.clear();
    }

    QString content;
    QString htmlContent;  // what a browser or a word processor puts beside the text, or alone
};

class Display : public platform::Display
{
public:
    QSize size() const override { return pixels; }
    // The whole display unless a test gives a smaller area.
    QRect availableArea() const override { return available.isValid() ? available : QRect(QPoint(0, 0), pixels); }

    QSize pixels{1366, 1024};
    QRect available;
};

// A web view that records the addresses it is sent to.
class WebView : public platform::WebView
{
    Q_OBJECT

public:
    using platform::WebView::WebView;

    void navigate(const QUrl &address) override { history.append(address); }
    void reload() override { ++reloads; }
    QUrl address() const override { return history.isEmpty() ? QUrl() : history.last(); }

    QList<QUrl> history;
    int reloads = 0;
};

class WebViews : public platform::WebViews
{
public:
    platform::WebView *create(QWidget *parent) override;

    QList<QPointer<WebView>> created;
};

// Records what the progress windows showed. A test presses "Annuler" by
// setting cancel, for instance from onFile when a file starts.
class ProgressWindows : public platform::ProgressWindows
{
public:
    std::unique_ptr<platform::Progress> open(QWidget *screen) override;

    struct File
    {
        int index = 0;
        int count = 0;
        QString name;
        qint64 size = 0;
        qint64 sent = 0;  // the last count of bytes reported
    };

    QList<File> files;
    int waits = 0;  // reports before the first file: the connection waited for
    int unchanged = -1;  // the count of files left out as unchanged; -1: never told
    int opened = 0;
    int openNow = 0;
    bool cancel = false;
    std::function<void(const File &)> onFile;
};

// Makes FTP clients that record each operation in one log ("connect
// 127.0.0.1:2121 eleve", "CWD ../x/", "MKD ../x/", "STOR /local -> ../x/f",
// "disconnect") and raise FtpError with the text that fail returns for it.
// With a real maker set (a CurlFtpClients against a test server), each
// operation also goes to a real client; without one, every operation succeeds.
class FtpClients : public publishing::FtpClients
{
public:
    std::unique_ptr<publishing::FtpClient> create() override;

    publishing::FtpClients *real = nullptr;
    std::function<std::optional<QString>(const QString &operation)> fail;
    QStringList log;
    int created = 0;
};

// Installs the doubles for as long as it lives.
class Platform
{
public:
    Platform();
    ~Platform();
    Platform(const Platform &) = delete;
    Platform &operator=(const Platform &) = delete;

    MessageBoxes messages;
    FileDialogs fileDialogs;
    Shell shell;
    Clipboard clipboard;
    Display display;
    WebViews webViews;
    ProgressWindows progress;
    FtpClients ftp;

private:
    platform::Platform m_previous;
};

} // namespace fakes
