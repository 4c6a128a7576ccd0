// The desktop's own seams.
#include "curlftpclient.h"
#include "enginewebview.h"
#include "filedialogwidget.h"
#include "filefilter.h"
#include "platform.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

class DesktopMessageBoxes : public MessageBoxes
{
public:
    void showMessage(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, u"Tessavo"_s, text, QMessageBox::Ok, parent);
        // Shown as written, and selectable, so that a name or an address in
        // a message can be copied.
        box.setTextFormat(Qt::PlainText);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box.exec();
    }

    bool showMessageWithCheckBox(QWidget *parent, const QString &text, const QString &checkBox) override
    {
        QMessageBox box(QMessageBox::NoIcon, u"Tessavo"_s, text, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        auto *check = new QCheckBox(checkBox, &box);
        box.setCheckBox(check);
        box.exec();
        return check->isChecked();
    }

    int ask(QWidget *parent, const QString &text, const QStringList &answers) override
    {
        QMessageBox box(QMessageBox::Question, u"Tessavo"_s, text, QMessageBox::NoButton, parent);
        box.setTextFormat(Qt::PlainText);
        QList<QAbstractButton *> buttons;
        for (const QString &answer : answers)
            buttons << box.addButton(answer, QMessageBox::ActionRole);
        box.setEscapeButton(buttons.last());
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.last()));
        box.exec();
        const qsizetype chosen = buttons.indexOf(box.clickedButton());
        return int(chosen < 0 ? answers.size() - 1 : chosen);
    }
};

class DesktopFileDialogs : public FileDialogs
{
public:
    std::optional<QString> openFile(QWidget *parent, const FileDialogRequest &request) override
    {
        return chosen(*makeFileDialog(parent, request, false));
    }

    std::optional<QString> saveFile(QWidget *parent, const FileDialogRequest &request) override
    {
        return chosen(*makeFileDialog(parent, request, true));
    }

private:
    static std::optional<QString> chosen(QFileDialog &dialog)
    {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString path = dialog.selectedFiles().first();
        if (path.isEmpty())
            return std::nullopt;
        return QDir::toNativeSeparators(path);
    }
};

// Runs the desktop's launcher on the address or file and watches it for a
// moment: a launcher that finds nothing to open it with (no browser, no
// application for the file's kind) ends at once with a failure. One still
// running by then is showing it itself, an application started in its place,
// and is left running.
bool launch(const QString &launcher, const QString &address)
{
    // Owned by no one, so that the program's end does not end the browser;
    // it goes once the launcher ends.
    auto *process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(launcher, {address});
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    if (!process->waitForFinished(3000))
        return true;
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

class DesktopShell : public Shell
{
public:
    bool openAddress(const QString &given) override
    {
        const QString address = browserAddress(given);
#ifdef Q_OS_WIN
        const QString browser = u"C:\\Program Files (x86)\\Google\\Chrome\\Application\\chrome.exe"_s;
        if (QFileInfo::exists(browser) && QProcess::startDetached(browser, {address}))
            return true;
#endif
#ifdef Q_OS_UNIX
        const QString launcher = QStandardPaths::findExecutable(u"xdg-open"_s);
        if (!launcher.isEmpty())
            return launch(launcher, address);
#endif
        // False when the desktop has nothing to hand the address to.
        return QDesktopServices::openUrl(QUrl(address));
    }

    bool openFile(const QString &path) override
    {
#ifdef Q_OS_UNIX
        // The launcher says whether an application took the file; Qt's own
        // opening only says whether the launcher started.
        const QString launcher = QStandardPaths::findExecutable(u"xdg-open"_s);
        if (!launcher.isEmpty())
            return launch(launcher, path);
#endif
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
};

class DesktopClipboard : public Clipboard
{
public:
    QString text() const override { return QGuiApplication::clipboard()->text(); }
    QString html() const override
    {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data && data->hasHtml() ? data->html() : QString();
    }
    void setText(const QString &text) override { QGuiApplication::clipboard()->setText(text); }
};

class DesktopDisplay : public Display
{
public:
    QSize size() const override { return QGuiApplication::primaryScreen()->size(); }
    QRect availableArea() const override { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

class EngineWebViews : public WebViews
{
public:
    WebView *create(QWidget *parent) override { return new EngineWebView(parent); }
};

} // namespace

Platform desktopPlatform()
{
    static DesktopMessageBoxes messages;
    static DesktopFileDialogs fileDialogs;
    static DesktopShell shell;
    static DesktopClipboard clipboard;
    static DesktopDisplay display;
    static EngineWebViews webViews;
    static DesktopProgressWindows progress;
    static CurlFtpClients ftp;
    return {&messages, &fileDialogs, &shell, &clipboard, &display, &webViews, &progress, &ftp};
}

} // namespace platform
