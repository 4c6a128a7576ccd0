// How fast the reading aids rewrite a document, against a plain copy of the
// same lines measured in the same run.

#include "frenchtext.h"

#include "readingaids/bodyaids.h"
#include "readingaids/replace.h"
#include "readingaids/trim.h"

#include <benchmark/benchmark.h>

#include <chrono>

using namespace Qt::StringLiterals;
using readingaids::BodyAid;

namespace {

using Clock = std::chrono::steady_clock;

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
    return std::chrono::duration<double>(Clock::now() - start).count();
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

void BodyAidOnAMegabyte(benchmark::State &state, BodyAid aid)
{
    measure(state, megabyteDocument(), [aid](const QStringList &lines) {
        return readingaids::writeBodyAid(lines, aid, u"ou");
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

} // namespace

BENCHMARK(PlainCopy)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, couleurs, BodyAid::Couleurs)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, tirets, BodyAid::Tirets)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, muettes, BodyAid::Muettes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, phrases, BodyAid::Phrases)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, son, BodyAid::Son)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(SoundKeystrokeOn20KB)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(AnsiReplaceStrEveryCharacter)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
