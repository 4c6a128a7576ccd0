#include "app/commandline.h"
#include "app/program.h"
#include "localhost/start.h"
#include "platform/platform.h"
#include "localhost/connexion.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {

int answer(FILE *stream, const QString &text, int code)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before the toolkit starts, so that --help and
    // --version answer without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    const workspace::Result<app::CommandLine> read = app::readCommandLine(arguments);
    if (!read)
        return answer(stderr, read.reason() + QStringLiteral("\nPour l'aide : tessavo --help\n"), 2);
    const app::CommandLine &command = *read;
    switch (command.request) {
    case app::CommandLine::Request::Help:
        return answer(stdout, app::helpText(), 0);
    case app::CommandLine::Request::Version:
        return answer(stdout, app::versionText(), 0);
    case app::CommandLine::Request::Run:
        break;
    }

    app::prepareEnvironment();
    // The toolkit gets the program's name alone: the arguments are read above.
    int toolkitArgc = 1;
    QApplication application(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavo"));
    // Ties the windows to the menu entry and its icon.
    QApplication::setDesktopFileName(QStringLiteral(TESSAVO_ID));
    // The program speaks French whatever the system's language: the toolkit's
    // own texts too (file dialogs, standard buttons), when its French
    // translation is installed.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);
    platform::install(platform::desktopPlatform());

    if (const workspace::Result<void> entered = app::enterWorkingFolder(command.folder); !entered) {
        platform::ShowMessage(nullptr, entered.reason());
        return 1;
    }
    // The working folder's own publishing host, started in the background:
    // the first screen shows at once, and a registration or a publication
    // made before the launcher has ended waits for it. When it fails, the
    // teacher is told once it is known, and the program goes on.
    localhost::HostStart host;
    localhost::startPublishingHost(host, QCoreApplication::applicationDirPath(), QDir::currentPath());
    app::followPublishingHost(host);
    localhost::setHostRestart([&host] {
        localhost::startPublishingHost(host, QCoreApplication::applicationDirPath(), QDir::currentPath());
    });
    const int code = app::runProgram();
    localhost::setHostWait({});
    localhost::setHostRestart({});
    return code;
}
