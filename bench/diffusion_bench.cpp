// Publishing a student folder of 200 files of 10 KB and 5 pictures of 300 KB
// to a local FTP server (pyftpdlib on loopback), against lftp's
// "mirror -R" of the same folder to the same server, in the same run.
// Each run goes to a fresh remote folder, so both send every file.
//   build/bench/tessavo_bench_diffusion [runs]
#include "ftpserver.h"
#include "platform/curlftpclient.h"
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

// One connection, every file of the folder, disconnect: what a publication
// does once the teacher has pressed the button.
double publishOnce(const fakes::FtpServer &server, const QString &source, const QString &target)
{
    QElapsedTimer timer;
    timer.start();
    platform::CurlFtpClient client;
    client.connect(server.login());
    qint64 reported = 0;
    client.setProgress([&reported](qint64 sent, qint64) { reported = sent; });
    const QStringList files = publishing::sourceFiles(source);
    const publishing::UploadResult result = publishing::uploadFiles(client, {source, target, QString()}, files);
    client.disconnect();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (result.published != files.size())
        qFatal("only %d of %lld files went up", result.published, qlonglong(files.size()));
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

    std::vector<double> ours;
    std::vector<double> theirs;
    for (int run = 0; run < runs; ++run) {
        const QString folder = u"Orvane_BENCH/run%1"_s.arg(run);
        QDir(server.root()).mkpath(folder + u"/tessavo"_s);
        ours.push_back(publishOnce(server, source, u"../"_s + folder + u"/tessavo/"_s));
        if (!lftp.isEmpty()) {
            QDir(server.root()).mkpath(folder + u"/lftp"_s);
            theirs.push_back(lftpOnce(lftp, server, source, u"/"_s + folder + u"/lftp"_s));
        }
    }

    std::printf("205 files (200 x 10 KB, 5 x 300 KB), %d runs, median:\n", runs);
    std::printf("  tessavo (one connection, libcurl): %8.1f ms\n", median(ours));
    if (theirs.empty()) {
        std::printf("  lftp mirror -R: lftp not found\n");
        return 0;
    }
    std::printf("  lftp mirror -R:                    %8.1f ms\n", median(theirs));
    std::printf("  ratio tessavo / lftp:              %8.2f\n", median(ours) / median(theirs));
    return 0;
}
