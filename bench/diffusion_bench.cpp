// Publishing a student folder of 200 files of 10 KB and 5 pictures of 300 KB
// to a local FTP server (pyftpdlib on loopback), against lftp's
// "mirror -R" of the same folder to the same server, in the same run.
// Each run goes to a fresh remote folder, so both send every file. Then one
// document is corrected and each publishes again into its own folder: Tessavo
// from its record of what it sent and one listing, lftp from its comparison of
// the listing with the local files; each sends that document alone.
//   build/bench/tessavo_bench_diffusion [runs]
#include "ftpserver.h"
#include "platform/curlftpclient.h"
#include "publishing/changedfiles.h"
#include "publishing/diffusion.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, qsizetype size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((quint64(i) * 131 + quint64(seed) * 7919) >> 2);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size)
        qFatal("cannot write %s", qPrintable(path));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printSpread(const char *what, const std::vector<double> &values)
{
    std::printf("  %-36s %8.1f ms (%.1f to %.1f)\n", what, median(values), *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
}

// One connection, the files that changed since the record in the working
// folder was written (every file the first time), disconnect: what a
// publication does once the teacher has pressed the button.
double publishOnce(const fakes::FtpServer &server, const QString &working, const QString &source,
                   const QString &target, qsizetype expectedSent)
{
    QElapsedTimer timer;
    timer.start();
    platform::CurlFtpClient client;
    client.connect(server.login());
    qint64 reported = 0;
    client.setProgress([&reported](qint64 sent, qint64) { reported = sent; });
    const QStringList files = publishing::sourceFiles(source);
    const publishing::UploadResult result = publishing::uploadChangedFiles(
        client, {source, target, working}, files, publishing::hostIdentity(server.login()), false);
    client.disconnect();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (expectedSent < 0)
        expectedSent = files.size();
    if (result.published != expectedSent || result.unchanged != files.size() - expectedSent)
        qFatal("%d files went up and %d were unchanged, not %lld of %lld", result.published, result.unchanged,
               qlonglong(expectedSent), qlonglong(files.size()));
    return ms;
}

double lftpOnce(const QString &lftp, const fakes::FtpServer &server, const QString &source, const QString &target)
{
    const publishing::FtpLogin login = server.login();
    const QString script = u"set ftp:passive-mode on; set ftp:ssl-allow no; set net:max-retries 1; "
                           "mirror -R --no-perms --parallel=1 \"%1\" \"%2\"; quit"_s
                               .arg(QDir::fromNativeSeparators(source), target);
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(lftp, {u"-u"_s, login.user + u',' + login.password, u"-p"_s, QString::number(login.port),
                         u"-e"_s, script, login.host});
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        qFatal("lftp failed: %s", process.readAllStandardError().constData());
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString lftp = QStandardPaths::findExecutable(u"lftp"_s);

    QTemporaryDir work;
    const QString source = work.filePath(u"Dupont_Jean_x/"_s);
    QDir().mkpath(source);
    for (int i = 0; i < 200; ++i)
        writeFile(source + u"texte%1.html"_s.arg(i, 3, 10, QChar(u'0')), 10 * 1024, i);
    for (int i = 0; i < 5; ++i)
        writeFile(source + u"image%1.jpg"_s.arg(i), 300 * 1024, 1000 + i);

    fakes::FtpServer server;
    if (!server.error().isEmpty())
        qFatal("%s", qPrintable(server.error()));

    const QString working = work.filePath(u"travail"_s);
    QDir().mkpath(working);

    std::vector<double> ours;
    std::vector<double> theirs;
    std::vector<double> oursAgain;
    std::vector<double> theirsAgain;
    for (int run = 0; run < runs; ++run) {
        const QString folder = u"Orvane_BENCH/run%1"_s.arg(run);
        QDir(server.root()).mkpath(folder + u"/tessavo"_s);
        const QString target = u"../"_s + folder + u"/tessavo/"_s;
        ours.push_back(publishOnce(server, working, source, target, -1));
        if (!lftp.isEmpty()) {
            QDir(server.root()).mkpath(folder + u"/lftp"_s);
            theirs.push_back(lftpOnce(lftp, server, source, u"/"_s + folder + u"/lftp"_s));
        }
        // A correction of one document, a little longer than it was.
        writeFile(source + u"texte000.html"_s, 10 * 1024 + 17 + run, 5000 + run);
        oursAgain.push_back(publishOnce(server, working, source, target, 1));
        if (!lftp.isEmpty())
            theirsAgain.push_back(lftpOnce(lftp, server, source, u"/"_s + folder + u"/lftp"_s));
    }
    // Both folders on the host hold the student folder as it is now.
    for (const QString &tool : {u"tessavo"_s, u"lftp"_s}) {
        if (tool == u"lftp"_s && lftp.isEmpty())
            continue;
        for (const QString &name : publishing::sourceFiles(source)) {
            QFile local(source + name);
            QFile remote(server.file(u"Orvane_BENCH/run%1/%2/%3"_s.arg(runs - 1).arg(tool, name)));
            if (!local.open(QIODevice::ReadOnly) || !remote.open(QIODevice::ReadOnly) || local.readAll() != remote.readAll())
                qFatal("%s: %s differs on the host", qPrintable(tool), qPrintable(name));
        }
    }

    std::printf("205 files (200 x 10 KB, 5 x 300 KB), %d runs, median (min to max):\n", runs);
    std::printf("First publication, every file:\n");
    printSpread("tessavo (one connection, libcurl):", ours);
    if (!theirs.empty()) {
        printSpread("lftp mirror -R:", theirs);
        std::printf("  ratio tessavo / lftp:                %8.2f\n", median(ours) / median(theirs));
    }
    std::printf("After one document corrected (1 file sent, 204 unchanged):\n");
    printSpread("tessavo (record + one listing):", oursAgain);
    if (theirsAgain.empty()) {
        std::printf("  lftp mirror -R: lftp not found\n");
        return 0;
    }
    printSpread("lftp mirror -R:", theirsAgain);
    std::printf("  ratio tessavo / lftp:                %8.2f\n", median(oursAgain) / median(theirsAgain));
    return 0;
}
