#include "app/program.h"
#include "platform/platform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    app::prepareEnvironment();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavo"));
    platform::install(platform::desktopPlatform());
    return app::runProgram();
}
