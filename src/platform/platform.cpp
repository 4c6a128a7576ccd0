#include "platform.h"

#include "logging.h"

using namespace Qt::StringLiterals;

namespace platform {

namespace {

Platform &installed()
{
    static Platform platform;
    return platform;
}

} // namespace

const Platform &services()
{
    const Platform &platform = installed();
    Q_ASSERT(platform.messages && platform.fileDialogs && platform.shell && platform.clipboard
             && platform.display && platform.webViews && platform.ftp);
    return platform;
}

Platform install(const Platform &platform)
{
    return std::exchange(installed(), platform);
}

void ShowMessage(QWidget *parent, const QString &text)
{
    // One line per message, whatever line ends the text holds.
    qCInfo(lcMessages).noquote() << QString(text).replace(u'\n', u' ').remove(u'\r');
    services().messages->showMessage(parent, text);
}

bool ShowMessageWithCheckBox(QWidget *parent, const QString &text, const QString &checkBox)
{
    qCInfo(lcMessages).noquote() << QString(text).replace(u'\n', u' ').remove(u'\r');
    return services().messages->showMessageWithCheckBox(parent, text, checkBox);
}

int Ask(QWidget *parent, const QString &text, const QStringList &answers)
{
    qCInfo(lcMessages).noquote() << QString(text).replace(u'\n', u' ').remove(u'\r');
    return services().messages->ask(parent, text, answers);
}

void showInBrowser(QWidget *parent, const QString &address)
{
    if (services().shell->openAddress(address))
        return;
    ShowMessage(parent, u"Aucun navigateur n'a pu être ouvert sur cet ordinateur. Ouvrez vous-même cette adresse "
                        u"(vous pouvez la sélectionner et la copier) :\n%1"_s.arg(browserAddress(address)));
}

bool FileDialog::Execute(QWidget *parent)
{
    const FileDialogRequest request{InitialDir, FileName, Filter, HiddenFiles, Preview};
    FileDialogs &dialogs = *services().fileDialogs;
    const std::optional<QString> chosen = m_kind == Kind::Open ? dialogs.openFile(parent, request)
                                                               : dialogs.saveFile(parent, request);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

} // namespace platform
