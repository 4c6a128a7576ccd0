#include "program.h"

#include "students/Unit2.h"

#include <QApplication>

#include <unistd.h>

namespace app {

void prepareEnvironment()
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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
