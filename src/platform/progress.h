#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace platform {

// A window that shows files going up: file k of n, its name, the bytes sent,
// and a button "Annuler" that asks to stop after the current file. While it
// is open the screens stay painted but take no input, so nothing else can
// start meanwhile. It closes when the object is destroyed.
class Progress
{
public:
    virtual ~Progress() = default;
    virtual void fileStarted(int index, int count, const QString &name, qint64 size) = 0;
    // Called often during a transfer, and while the connection is waited
    // for before the first file: it also keeps the screens painted.
    virtual void bytesSent(qint64 sent, qint64 total) = 0;
    virtual bool cancelRequested() const = 0;
    // Told before the first file how many files stay as the host holds them:
    // "12 fichiers inchangés" (nothing shown for none).
    virtual void unchangedFiles(int count) { Q_UNUSED(count); }
};

class ProgressWindows
{
public:
    virtual ~ProgressWindows() = default;
    virtual std::unique_ptr<Progress> open(QWidget *screen) = 0;
    // The same window while a file's text is read: its name, and "Annuler"
    // asking to stop the reading; bytesSent only keeps the screens painted.
    virtual std::unique_ptr<Progress> openReading(QWidget *screen, const QString &fileName)
    {
        Q_UNUSED(fileName);
        return open(screen);
    }
};

// The desktop's progress window, a modal dialog over the screen.
class DesktopProgressWindows : public ProgressWindows
{
public:
    std::unique_ptr<Progress> open(QWidget *screen) override;
    std::unique_ptr<Progress> openReading(QWidget *screen, const QString &fileName) override;
};

// "1 fichier inchangé", "12 fichiers inchangés"
QString unchangedText(int count);

// A size as the progress window shows it: 1000 -> "1 ko", 1572864 -> "1,5 Mo".
QString sizeText(qint64 bytes);

} // namespace platform
