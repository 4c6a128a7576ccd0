#include "publicationhost.h"

#include "publishing/host.h"
#include "publishing/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace app {

namespace {

// What the teacher reads when the host does not run: what failed, then what
// it means for the work of the day.
QString notStarted(const QString &what)
{
    return u"Le serveur de publication local de ce dossier de travail n'a pas pu être démarré.\n\n%1\n\n"
           u"Tessavo démarre sans lui : l'enregistrement d'un élève et la publication n'atteindront pas "
           u"le serveur de publication local."_s.arg(what);
}

} // namespace

QString hostLauncher(const QString &executableFolder)
{
    return QDir::cleanPath(executableFolder + u"/../lib/tessavo/"_s + HostLauncherName);
}

bool wantsLocalHost(const QString &workingFolder)
{
    if (!QFileInfo::exists(QDir(workingFolder).filePath(publishing::PublicationIni)))
        return true;
    try {
        return publishing::namesThisComputer(publishing::readPublicationSettings(workingFolder).host);
    } catch (const publishing::SettingsError &) {
        return true;
    }
}

QString startLocalHost(const QString &launcher, const QString &workingFolder, int timeLimitMs)
{
    const QString shown = QDir::toNativeSeparators(launcher);
    if (!QFileInfo(launcher).isFile())
        return notStarted(u"Son lanceur « %1 » est introuvable : installez Tessavo à nouveau."_s.arg(shown));

    QProcess process;
    process.setProgram(launcher);
    // The working folder is absolute: never taken for an option.
    process.setArguments({workingFolder});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process.start();
    if (!process.waitForStarted())
        return notStarted(u"Son lanceur « %1 » ne peut pas être lancé : %2."_s.arg(shown, process.errorString()));
    if (!process.waitForFinished(timeLimitMs)) {
        process.kill();
        process.waitForFinished();
        return notStarted(u"Son lanceur « %1 » n'a pas fini en %2 secondes : il a été arrêté."_s.arg(
            shown, QString::number(timeLimitMs / 1000)));
    }
    const QString said = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() == QProcess::CrashExit)
        return notStarted(u"Son lanceur « %1 » s'est arrêté anormalement."_s.arg(shown));
    if (process.exitCode() == 0) {
        // Warnings of a launcher that served: for whoever reads the program's output.
        if (!said.isEmpty())
            std::fputs((said + u'\n').toUtf8().constData(), stderr);
        return {};
    }
    if (said.isEmpty())
        return notStarted(u"Son lanceur « %1 » s'est arrêté sur le code %2, sans rien dire."_s.arg(
            shown, QString::number(process.exitCode())));
    return notStarted(said);
}

QString startPublishingHost(const QString &executableFolder, const QString &workingFolder)
{
    if (!wantsLocalHost(workingFolder))
        return {};
    return startLocalHost(hostLauncher(executableFolder), workingFolder);
}

} // namespace app
