#include "modal.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

class HideWatcher : public QObject
{
public:
    HideWatcher(QWidget *window, QEventLoop *loop)
        : m_loop(loop)
    {
        window->installEventFilter(this);
        connect(window, &QObject::destroyed, loop, &QEventLoop::quit);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop->quit();
        return false;
    }

private:
    QEventLoop *m_loop;
};

} // namespace

void showModal(QWidget *window)
{
    QPointer<QWidget> guard(window);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    // The keyboard goes to the window that waits for the teacher.
    window->activateWindow();
    if (!guard || !window->isVisible())
        return;
    QEventLoop loop;
    HideWatcher watcher(window, &loop);
    loop.exec(QEventLoop::DialogExec);
    if (guard)
        window->removeEventFilter(&watcher);
}

void endProgram()
{
    QCoreApplication::exit(0);
}

} // namespace platform
