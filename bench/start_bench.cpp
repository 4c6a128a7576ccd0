// Start to the first screen painted, for timing the whole process from
// outside: the program starts as tessavo does (working folder, local
// publishing host, student screen) and ends as soon as the student screen
// has been painted once. "vide" starts an empty Qt Widgets window the same
// way, the yardstick; "attendre" waits for the host's launcher before the
// first screen, as earlier versions did.
//
//   tessavo_bench_start WORKING_FOLDER [attendre]
//   tessavo_bench_start vide
#include "app/program.h"
#include "localhost/start.h"
#include "platform/platform.h"
#include "students/Unit2.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

// Ends the process at the first paint of the window it watches; nothing is
// torn down, as nothing of it is being timed.
class EndAtFirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            std::fflush(nullptr);
            std::_Exit(0);
        }
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (first.isEmpty()) {
        std::fputs("tessavo_bench_start WORKING_FOLDER [attendre] | vide\n", stderr);
        return 2;
    }
    EndAtFirstPaint end;
    if (first == QLatin1String("vide")) {
        int toolkitArgc = 1;
        QApplication application(toolkitArgc, argv);
        QWidget window;
        window.resize(800, 600);
        window.installEventFilter(&end);
        window.show();
        return QApplication::exec();
    }

    const bool waits = argc > 2 && QLatin1String(argv[2]) == QLatin1String("attendre");
    app::prepareEnvironment();
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavo"));
    platform::install(platform::desktopPlatform());
    if (const workspace::Result<void> entered = app::enterWorkingFolder(first); !entered) {
        std::fputs(entered.reason().toUtf8().constData(), stderr);
        return 1;
    }
    const QString programFolder = QCoreApplication::applicationDirPath();
    localhost::HostStart host;
    if (waits) {
        const workspace::Result<void> started = localhost::startPublishingHost(programFolder, QDir::currentPath());
        if (!started)
            std::fputs(started.reason().toUtf8().constData(), stderr);
    } else {
        localhost::startPublishingHost(host, programFolder, QDir::currentPath());
        app::followPublishingHost(host);
    }
    app::startProgram()->installEventFilter(&end);
    return QApplication::exec();
}
