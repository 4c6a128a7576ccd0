// How fast the reading aids rewrite a document, against a plain copy of the
// same lines measured in the same run.

#include "frenchtext.h"

#include "readingaids/bodyaids.h"
#include "readingaids/replace.h"
#include "readingaids/trim.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

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

// Seconds for one plain copy of the lines: the best of several runs.
double plainCopySeconds(const QStringList &lines)
{
    double best = 1e9;
    for (int run = 0; run < 20; ++run) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(plainCopy(lines));
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// Runs the work on the lines, reports MB/s of body text and the ratio of its
// time to a plain copy of the same lines.
template<typename Work>
void measure(benchmark::State &state, const QStringList &lines, Work work)
{
    const double copySeconds = plainCopySeconds(lines);
    double seconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(work(lines));
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double bytes = double(benchtext::bodySize(lines));
    state.counters["MB/s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["x_copy"] = seconds / double(state.iterations()) / copySeconds;
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
    for (auto _ : state)
        benchmark::DoNotOptimize(readingaids::AnsiReplaceStr(line, u"a", u"#1"));
    state.counters["MB/s"] = benchmark::Counter(double(line.size()) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, couleurs, BodyAid::Couleurs)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, tirets, BodyAid::Tirets)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, muettes, BodyAid::Muettes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, phrases, BodyAid::Phrases)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BodyAidOnAMegabyte, son, BodyAid::Son)->Unit(benchmark::kMillisecond);
BENCHMARK(SoundKeystrokeOn20KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(AnsiReplaceStrEveryCharacter)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
