#include "start.h"

#include "localhost/host.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <algorithm>

#include <cstdio>

namespace localhost {

namespace {

const QString Reinstall = u"Installez Tessavo à nouveau."_s;

// The launcher itself failed.
QString launcherFailed(const QString &launcher, const QString &what, const QString &remedy)
{
    return localhost::hostNotStarted(u"son lanceur « %1 » %2"_s.arg(launcher, what), remedy);
}

} // namespace

QString toldAtStart(const QString &notStarted)
{
    return notStarted + u"\n\nTessavo démarre sans lui : l'enregistrement d'un élève et la publication ne "
                        u"l'atteindront pas. Une fois la cause corrigée, redémarrez Tessavo."_s;
}

QString toldWhenNeeded(const QString &notStarted)
{
    return notStarted + u"\n\nL'enregistrement d'un élève et la publication ne peuvent pas l'atteindre. Une fois la "
                        u"cause corrigée, redémarrez Tessavo."_s;
}

HostStart::HostStart() = default;

HostStart::~HostStart()
{
    // A launcher still running when the program ends is left to finish its
    // start: the servers it starts outlive the program anyway.
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect();
        m_process.release()->setParent(nullptr);
    }
}

void HostStart::start(const QString &launcher, const QString &workingFolder, int timeLimitMs)
{
    m_shown = QDir::toNativeSeparators(launcher);
    m_timeLimitMs = timeLimitMs;
    m_failure.reset();
    m_starting = true;
    m_clock.start();
    if (!QFileInfo(launcher).isFile()) {
        conclude(launcherFailed(m_shown, u"est introuvable"_s, Reinstall));
        return;
    }
    m_process = std::make_unique<QProcess>();
    QProcess *process = m_process.get();
    process->setProgram(launcher);
    // The working folder is absolute: never taken for an option.
    process->setArguments({workingFolder});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QObject::connect(process, &QProcess::finished, process, [this] { checkProcess(); });
    QObject::connect(process, &QProcess::errorOccurred, process, [this] { checkProcess(); });
    // The time limit while the event loop runs; waitFor keeps it too. The
    // timer goes with the process, also where no event loop ever runs.
    if (QCoreApplication::instance()) {
        auto *limit = new QTimer(process);
        limit->setSingleShot(true);
        QObject::connect(limit, &QTimer::timeout, process, [this] { waitFor(0); });
        limit->start(timeLimitMs);
    }
    process->start();
}

bool HostStart::starting() const
{
    return m_starting;
}

bool HostStart::waitFor(int ms)
{
    if (!m_starting)
        return true;
    const qint64 left = std::max<qint64>(0, m_timeLimitMs - m_clock.elapsed());
    const int wait = ms < 0 ? int(left) : int(std::min<qint64>(ms, left));
    if (m_process->state() != QProcess::NotRunning)
        m_process->waitForFinished(wait);
    checkProcess();
    if (m_starting && m_clock.elapsed() >= m_timeLimitMs) {
        m_process->disconnect();
        m_process->kill();
        m_process->waitForFinished();
        conclude(launcherFailed(m_shown, u"n'avait pas fini au bout de %1 secondes, et a été arrêté"_s
                                             .arg(m_timeLimitMs / 1000),
                                {}));
    }
    return !m_starting;
}

void HostStart::checkProcess()
{
    if (!m_starting || !m_process)
        return;
    QProcess &process = *m_process;
    if (process.error() == QProcess::FailedToStart) {
        conclude(launcherFailed(m_shown, u"ne peut pas être lancé (%1)"_s.arg(process.errorString()), Reinstall));
        return;
    }
    if (process.state() != QProcess::NotRunning)
        return;
    const QString said = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() == QProcess::CrashExit) {
        conclude(launcherFailed(m_shown, u"s'est arrêté anormalement"_s, Reinstall));
    } else if (process.exitCode() == 0) {
        // Warnings of a launcher that served: for whoever reads the program's output.
        if (!said.isEmpty())
            std::fputs((said + u'\n').toUtf8().constData(), stderr);
        conclude(std::nullopt);
    } else if (said.isEmpty()) {
        conclude(launcherFailed(m_shown, u"s'est arrêté sur le code %1 sans rien dire"_s.arg(process.exitCode()),
                                Reinstall));
    } else {
        // The launcher's message says that the host was not started, and why.
        conclude(said);
    }
}

void HostStart::conclude(std::optional<QString> failure)
{
    m_failure = std::move(failure);
    m_starting = false;
    if (m_process)
        m_process->disconnect();
    if (ended)
        ended();
}

QString hostLauncher(const QString &executableFolder)
{
    return QDir::cleanPath(executableFolder + u"/../lib/tessavo/"_s + HostLauncherName);
}

bool wantsLocalHost(const QString &workingFolder)
{
    const QFileInfo ini(QDir(workingFolder).filePath(publishing::PublicationIni));
    if (!ini.exists() && !ini.isSymLink())
        return true;
    return localhost::isProgramsOwnIni(workingFolder);
}

workspace::Result<void> startLocalHost(const QString &launcher, const QString &workingFolder, int timeLimitMs)
{
    HostStart host;
    host.start(launcher, workingFolder, timeLimitMs);
    host.waitFor(-1);
    if (host.failure())
        return workspace::refuse(toldAtStart(*host.failure()));
    return workspace::Done{};
}

void startPublishingHost(HostStart &host, const QString &executableFolder, const QString &workingFolder)
{
    if (wantsLocalHost(workingFolder))
        host.start(hostLauncher(executableFolder), workingFolder);
}

workspace::Result<void> startPublishingHost(const QString &executableFolder, const QString &workingFolder)
{
    if (!wantsLocalHost(workingFolder))
        return workspace::Done{};
    return startLocalHost(hostLauncher(executableFolder), workingFolder);
}

} // namespace localhost
