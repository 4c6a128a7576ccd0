// How fast the reading aids rewrite a document, against a plain copy of the
// same lines measured in the same run.

#include "frenchtext.h"

#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/replace.h"
#include "readingaids/trim.h"
#include "workspace/textfile.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <malloc.h>

using namespace Qt::StringLiterals;
using readingaids::BodyAid;

namespace {

// The processor time of this thread: on a machine shared with other work it
// counts what the aid costs, not the time it waits for a processor.
struct Clock
{
    using time_point = std::chrono::duration<double>;
    static time_point now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return time_point(double(t.tv_sec) + double(t.tv_nsec) * 1e-9);
    }
};

const QStringList &megabyteDocument()
{
    static const QStringList document = benchtext::readingDocument(1 << 20);
    return document;
}

// Every line copied, trimmed as the aids trim it, into new lines.
QStringList plainCopy(const QStringList &lines)
{
    QStringList copy;
    copy.reserve(lines.size());
    for (const QString &line : lines) {
        const QStringView trimmed = readingaids::trimLine(line);
        copy.append(QString(trimmed.data(), trimmed.size()));
    }
    return copy;
}

double secondsSince(Clock::time_point start)
{
    return (Clock::now() - start).count();
}

// Runs the work on the lines and reports its time, its speed in MB of body
// text per second, and the ratio of its time to a plain copy of the same
// lines made in every iteration just before it (so that both meet the same
// machine, whatever else it is doing).
template<typename Work>
void measure(benchmark::State &state, const QStringList &lines, Work work)
{
    double copySeconds = 0;
    double workSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point copyStart = Clock::now();
        benchmark::DoNotOptimize(plainCopy(lines));
        copySeconds += secondsSince(copyStart);
        const Clock::time_point workStart = Clock::now();
        benchmark::DoNotOptimize(work(lines));
        const double seconds = secondsSince(workStart);
        workSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    const double bytes = double(benchtext::bodySize(lines)) * double(state.iterations());
    state.counters["MB_per_s"] = bytes / 1e6 / workSeconds;
    state.counters["x_copy"] = workSeconds / copySeconds;
}

void PlainCopy(benchmark::State &state)
{
    measure(state, megabyteDocument(), plainCopy);
}

// The whole document transformed and held, as the layout screen writes it.
void BodyAidOnAMegabyte(benchmark::State &state, BodyAid aid)
{
    measure(state, megabyteDocument(), [aid](const QStringList &lines) {
        return readingaids::writeBodyAid(lines, aid, u"ou");
    });
}

// Each body line transformed and dropped once it is made, as tessavo-aides
// writes a document: the aid itself, without holding its output.
void LineAidOnAMegabyte(benchmark::State &state, BodyAid aid)
{
    measure(state, megabyteDocument(), [aid](const QStringList &lines) {
        const readingaids::Regions regions = readingaids::findRegions(lines);
        qsizetype written = 0;
        for (qsizetype i = regions.logo + 1; i < regions.endMarker; ++i)
            written += readingaids::treatBodyLine(aid, lines[i], u"ou").size();
        return written;
    });
}

// One keystroke in the sound field: the whole document written again.
void SoundKeystrokeOn20KB(benchmark::State &state)
{
    static const QStringList document = benchtext::readingDocument(20 * 1024);
    measure(state, document, [](const QStringList &lines) {
        return readingaids::writeBodyAid(lines, BodyAid::Son, u"ch");
    });
}

// A megabyte line in which every character is replaced.
void AnsiReplaceStrEveryCharacter(benchmark::State &state)
{
    const QString line(1 << 20, u'a');
    double seconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(readingaids::AnsiReplaceStr(line, u"a", u"#1"));
        seconds += secondsSince(start);
        state.SetIterationTime(secondsSince(start));
    }
    state.counters["MB_per_s"] = double(line.size()) * double(state.iterations()) / 1e6 / seconds;
}

// The Windows-1252 text files alone, on the lines of an 18 MB reading
// document: decoded from bytes already in memory, encoded into bytes, and
// read from and written to a file (the file system's own time included).
const QStringList &largeDocument()
{
    static const QStringList document = benchtext::readingDocument(18 * 1000 * 1000);
    return document;
}

const QByteArray &largeDocumentBytes()
{
    static const QByteArray bytes = workspace::encodeLines(largeDocument());
    return bytes;
}

QString largeDocumentFile()
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(u"document.html"_s);
    if (!QFileInfo::exists(path))
        workspace::writeLines(path, largeDocument());
    return path;
}

// Times the work alone: what it makes is dropped after the clock stops.
template<typename Work>
void measureBytes(benchmark::State &state, Work work)
{
    double seconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        auto made = work();
        benchmark::DoNotOptimize(made);
        const double elapsed = secondsSince(start);
        seconds += elapsed;
        state.SetIterationTime(elapsed);
    }
    state.counters["MB_per_s"] = double(largeDocumentBytes().size()) * double(state.iterations()) / 1e6 / seconds;
}

void DecodeWindows1252Lines(benchmark::State &state)
{
    measureBytes(state, [] { return workspace::decodeLines(largeDocumentBytes()); });
}

void EncodeWindows1252Lines(benchmark::State &state)
{
    largeDocument();
    measureBytes(state, [] { return workspace::encodeLines(largeDocument()); });
}

void ReadWindows1252File(benchmark::State &state)
{
    const QString path = largeDocumentFile();
    measureBytes(state, [&path] { return workspace::readLines(path); });
}

void WriteWindows1252File(benchmark::State &state)
{
    const QString path = largeDocumentFile() + u".out"_s;
    measureBytes(state, [&path] {
        workspace::writeLines(path, largeDocument());
        return 0;
    });
}

} // namespace

BENCHMARK(DecodeWindows1252Lines)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeWindows1252Lines)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ReadWindows1252File)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(WriteWindows1252File)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PlainCopy)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, couleurs, BodyAid::Couleurs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, tirets, BodyAid::Tirets)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, muettes, BodyAid::Muettes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, phrases, BodyAid::Phrases)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, son, BodyAid::Son)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LineAidOnAMegabyte, couleurs, BodyAid::Couleurs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LineAidOnAMegabyte, tirets, BodyAid::Tirets)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LineAidOnAMegabyte, muettes, BodyAid::Muettes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LineAidOnAMegabyte, son, BodyAid::Son)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SoundKeystrokeOn20KB)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(AnsiReplaceStrEveryCharacter)->UseManualTime()->Unit(benchmark::kMillisecond);

// A run on a held document frees some 18 MB of output lines, which the C
// library hands back to the system; the next run then pays the system for
// fresh pages, a cost of the allocator's policy and the machine, not of the
// aid, and which comes and goes with the layout of the heap. By default the
// benchmarks keep freed memory in the process; with --give-back-memory the
// library's default policy applies.
int main(int argc, char **argv)
{
    const auto giveBack = std::find_if(argv + 1, argv + argc,
                                       [](const char *arg) { return std::strcmp(arg, "--give-back-memory") == 0; });
    if (giveBack == argv + argc) {
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
    } else {
        std::rotate(giveBack, giveBack + 1, argv + argc);
        --argc;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
