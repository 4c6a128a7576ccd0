#include "publicationhost.h"

#include "publishing/host.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace app {

namespace {

// What the teacher reads when the host does not run: that it was not started,
// why and what to do (the launcher's own message, or the program's when the
// launcher could not tell), then what it means for the work of the day.
workspace::Refusal told(const QString &notStarted)
{
    return workspace::refuse(notStarted + u"\n\nTessavo démarre sans lui : l'enregistrement d'un élève et la publication ne "
                        u"l'atteindront pas. Une fois la cause corrigée, redémarrez Tessavo."_s);
}

// The launcher itself failed.
workspace::Refusal launcherFailed(const QString &launcher, const QString &what, const QString &remedy)
{
    return told(publishing::hostNotStarted(u"son lanceur « %1 » %2"_s.arg(launcher, what), remedy));
}

} // namespace

QString hostLauncher(const QString &executableFolder)
{
    return QDir::cleanPath(executableFolder + u"/../lib/tessavo/"_s + HostLauncherName);
}

bool wantsLocalHost(const QString &workingFolder)
{
    const QFileInfo ini(QDir(workingFolder).filePath(publishing::PublicationIni));
    if (!ini.exists() && !ini.isSymLink())
        return true;
    return publishing::isProgramsOwnIni(workingFolder);
}

workspace::Result<void> startLocalHost(const QString &launcher, const QString &workingFolder, int timeLimitMs)
{
    const QString shown = QDir::toNativeSeparators(launcher);
    const QString reinstall = u"Installez Tessavo à nouveau."_s;
    if (!QFileInfo(launcher).isFile())
        return launcherFailed(shown, u"est introuvable"_s, reinstall);

    QProcess process;
    process.setProgram(launcher);
    // The working folder is absolute: never taken for an option.
    process.setArguments({workingFolder});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process.start();
    if (!process.waitForStarted())
        return launcherFailed(shown, u"ne peut pas être lancé (%1)"_s.arg(process.errorString()), reinstall);
    if (!process.waitForFinished(timeLimitMs)) {
        process.kill();
        process.waitForFinished();
        return launcherFailed(shown, u"n'avait pas fini au bout de %1 secondes, et a été arrêté"_s.arg(timeLimitMs / 1000),
                              {});
    }
    const QString said = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() == QProcess::CrashExit)
        return launcherFailed(shown, u"s'est arrêté anormalement"_s, reinstall);
    if (process.exitCode() == 0) {
        // Warnings of a launcher that served: for whoever reads the program's output.
        if (!said.isEmpty())
            std::fputs((said + u'\n').toUtf8().constData(), stderr);
        return workspace::Done{};
    }
    if (said.isEmpty())
        return launcherFailed(shown, u"s'est arrêté sur le code %1 sans rien dire"_s.arg(process.exitCode()), reinstall);
    // The launcher's message says that the host was not started, and why.
    return told(said);
}

workspace::Result<void> startPublishingHost(const QString &executableFolder, const QString &workingFolder)
{
    if (!wantsLocalHost(workingFolder))
        return workspace::Done{};
    return startLocalHost(hostLauncher(executableFolder), workingFolder);
}

} // namespace app
