#include "program.h"

#include "app/datafolder.h"
#include "app/screenflow.h"
#include "platform/platform.h"
#include "students/Unit2.h"
#include "workspace/failure.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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

bool enterWorkingFolder(const QString &given)
{
    const QString folder = chooseWorkingFolder(given, QDir::currentPath(), QDir::homePath());
    const auto cannotStart = [&folder](const QString &what) {
        platform::ShowMessage(nullptr, u"Le dossier de travail « %1 » ne peut pas être %2 : Tessavo ne peut pas démarrer."_s
                                           .arg(QDir::toNativeSeparators(folder), what));
        return false;
    };
    try {
        prepareWorkingFolder(dataFolder(QCoreApplication::applicationDirPath()), folder);
    } catch (const workspace::Failure &failure) {
        if (!QFileInfo(folder).isDir())
            return cannotStart(u"créé"_s);
        // A folder that lacks some data is still the teacher's to work in.
        platform::ShowMessage(nullptr, failure.message());
    }
    return QDir::setCurrent(folder) || cannotStart(u"ouvert"_s);
}

TForm2 *startProgram()
{
    Form2 = new TForm2();
    followStudentScreen(Form2);
    Form2->show();
    return Form2;
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
