#include "handlers.h"

#include "platform.h"
#include "workspace/failure.h"

using namespace Qt::StringLiterals;

namespace platform {

void reportFailure(QWidget *screen, const QString &text)
{
    ShowMessage(screen, text);
}

void runHandler(QWidget *screen, const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const workspace::Failure &failure) {
        reportFailure(screen, failure.message());
    } catch (const std::exception &error) {
        reportFailure(screen, u"Erreur inattendue : %1"_s.arg(QString::fromUtf8(error.what())));
    }
}

} // namespace platform
