#include "program.h"

#include "app/datafolder.h"
#include "platform/platform.h"
#include "students/Unit2.h"
#include "workspace/failure.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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
    try {
        prepareWorkingFolder(dataFolder(QCoreApplication::applicationDirPath()), folder);
    } catch (const workspace::Failure &failure) {
        // A folder that lacks some data is still the teacher's to work in.
        platform::ShowMessage(nullptr, failure.message());
    }
    if (QDir::setCurrent(folder))
        return true;
    if (QFileInfo(folder).isDir())
        platform::ShowMessage(nullptr, u"Le dossier de travail « %1 » ne peut pas être ouvert."_s.arg(
                                           QDir::toNativeSeparators(folder)));
    return false;
}

TForm2 *startProgram()
{
    Form2 = new TForm2();
    Form2->show();
    return Form2;
}

int runProgram()
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
    const int code = QApplication::exec();
    delete Form2;
    return code;
}

} // namespace app
