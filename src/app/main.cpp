#include "app/program.h"
#include "platform/platform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    app::prepareEnvironment();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavo"));
    // The program speaks French whatever the system's language: the toolkit's
    // own texts too (file dialogs, standard buttons), when its French
    // translation is installed.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);
    platform::install(platform::desktopPlatform());
    return app::runProgram();
}
