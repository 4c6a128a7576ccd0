#include "program.h"

#include "app/datafolder.h"
#include "localhost/start.h"
#include "app/screenflow.h"
#include "platform/platform.h"
#include "localhost/connexion.h"
#include "students/Unit2.h"
#include "workspace/failure.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTimer>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace app {

void prepareEnvironment()
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

workspace::Result<void> enterWorkingFolder(const QString &given)
{
    const QString folder = chooseWorkingFolder(given, QDir::currentPath(), QDir::homePath());
    const auto cannotStart = [&folder](const QString &what) {
        return workspace::refuse(u"Le dossier de travail « %1 » ne peut pas être %2 : Tessavo ne peut pas démarrer."_s
                                     .arg(QDir::toNativeSeparators(folder), what));
    };
    try {
        prepareWorkingFolder(dataFolder(QCoreApplication::applicationDirPath()), folder);
    } catch (const workspace::Failure &failure) {
        if (!QFileInfo(folder).isDir())
            return cannotStart(u"créé"_s);
        // A folder that lacks some data is still the teacher's to work in.
        platform::ShowMessage(nullptr, failure.message());
    }
    if (!QDir::setCurrent(folder))
        return cannotStart(u"ouvert"_s);
    return {};
}

TForm2 *startProgram()
{
    Form2 = new TForm2();
    followStudentScreen(Form2);
    Form2->show();
    return Form2;
}

namespace {

// Longer waits than this show the progress window.
constexpr int QuietWaitMs = 300;

// Whether a connection is waiting for the host: its failure is told there.
bool awaitingHost = false;

} // namespace

workspace::Result<void> awaitPublishingHost(localhost::HostStart &host, QWidget *screen)
{
    if (host.starting()) {
        awaitingHost = true;
        const auto done = qScopeGuard([] { awaitingHost = false; });
        if (!host.waitFor(QuietWaitMs)) {
            // A publication has its progress window open already, saying that
            // the connection is waited for: it stays the only one.
            std::unique_ptr<platform::Progress> progress;
            if (!QApplication::activeModalWidget())
                progress = platform::services().progress->open(screen);
            while (!host.waitFor(50)) {
                if (!progress) {
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                    continue;
                }
                // Keeps the screens painted; the window says a connection is waited for.
                progress->bytesSent(0, 0);
                if (progress->cancelRequested())
                    return workspace::refuse(
                        u"Le serveur de publication local de ce dossier de travail démarre encore : rien n'a été "
                        u"envoyé. Réessayez dans un instant."_s);
            }
        }
    }
    if (const std::optional<QString> &failure = host.failure())
        return workspace::refuse(localhost::toldWhenNeeded(*failure));
    return {};
}

void followPublishingHost(localhost::HostStart &host)
{
    const auto tellOnce = [&host] {
        if (!host.failure() || awaitingHost)
            return;
        // After the first screen is up, out of whatever ended the launcher.
        const QString text = localhost::toldAtStart(*host.failure());
        QTimer::singleShot(0, qApp, [text] { platform::ShowMessage(Form2, text); });
    };
    if (host.starting())
        host.ended = tellOnce;
    else
        tellOnce();
    localhost::setHostWait([&host] {
        QWidget *screen = QApplication::activeModalWidget();
        if (!screen)
            screen = QApplication::activeWindow();
        if (!screen)
            screen = Form2;
        return awaitPublishingHost(host, screen);
    });
}

int runProgram(const QString &toldAtStart)
{
    // The screens are laid out for the narrow sans-serif faces of a Windows
    // desktop; the metric-compatible faces come first where they exist.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    QApplication::setFont(font);
    // The program ends by its own rules, not when some window is the last.
    QApplication::setQuitOnLastWindowClosed(false);
    startProgram();
    if (!toldAtStart.isEmpty())
        QTimer::singleShot(0, Form2, [toldAtStart] { platform::ShowMessage(Form2, toldAtStart); });
    const int code = QApplication::exec();
    delete Form2;
    return code;
}

} // namespace app
