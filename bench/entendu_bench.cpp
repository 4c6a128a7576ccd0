// How fast the "entendu" mode marks a 20 KB reading document: the first run
// on a document, which pronounces and aligns each of its words, and a later
// keystroke, which finds them held. Wall-clock time: the first run waits for
// espeak-ng, which is the point.

#include "frenchtext.h"

#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/entendu.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <chrono>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const QStringList &lessonDocument()
{
    static const QStringList document = benchtext::readingDocument(20 * 1024);
    return document;
}

// Reading documents of 20 KB of words of the French word list, each word
// in one document only: a first run that meets nothing but new words.
QStringList dictionaryDocument()
{
    static const QStringList words = [] {
        QFile list(u"/usr/share/dict/french"_s);
        QStringList all;
        if (list.open(QIODevice::ReadOnly))
            all = QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);
        return all;
    }();
    static qsizetype next = 0;
    QStringList document = {u"<!--DEBUT-->"_s, u"<img src=\"logo.jpg\">"_s};
    qsizetype size = 0;
    QString line;
    while (size < 20 * 1024 && !words.isEmpty()) {
        line += words[next++ % words.size()] + u' ';
        if (line.size() > 70) {
            line += u"<br>"_s;
            size += line.size();
            document.append(line);
            line.clear();
        }
    }
    document.append(u"<!--FIN-->"_s);
    return document;
}

// What writeEntendu does with a document it has not met: every word
// pronounced and aligned, then every line marked. Returns the number of
// distinct words.
qsizetype firstRun(const QStringList &document, QStringView typed)
{
    EarWords words(Pronouncer::process());
    words.prepare(document);
    const QStringList sound = soundNamedBy(typed);
    LineBuffer out;
    qsizetype written = 0;
    writeOutput(document, [&](QStringView line) {
        out.clear();
        entenduLine(line, sound, typed, words, out);
        return out.view();
    }, [&written](QStringView line) { written += line.size(); });
    benchmark::DoNotOptimize(written);
    return words.size();
}

// Loading espeak-ng's library, data and French voice: once in a process.
void LoadEspeak(benchmark::State &state)
{
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(Pronouncer::process().available());
        state.SetIterationTime(secondsSince(start));
    }
}

void FirstRunOn20KB(benchmark::State &state, bool dictionary)
{
    Pronouncer::process().available();
    for (auto _ : state) {
        const QStringList document = dictionary ? dictionaryDocument() : lessonDocument();
        const Clock::time_point start = Clock::now();
        const qsizetype distinct = firstRun(document, u"on");
        state.SetIterationTime(secondsSince(start));
        state.counters["mots_distincts"] = double(distinct);
    }
}

// A keystroke once the document's words are held: the whole document
// written again, as the sound field does.
void KeystrokeOn20KB(benchmark::State &state, BodyAid aid)
{
    const QStringList &document = lessonDocument();
    writeBodyAid(document, aid, u"on");
    const QString sounds[] = {u"ch"_s, u"on"_s, u"ou"_s};
    qsizetype k = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(writeBodyAid(document, aid, sounds[k++ % 3]));
        state.SetIterationTime(secondsSince(start));
    }
}

} // namespace

BENCHMARK(LoadEspeak)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstRunOn20KB, lecon, false)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstRunOn20KB, dictionnaire, true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(KeystrokeOn20KB, entendu, BodyAid::SonEntendu)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(KeystrokeOn20KB, lettres, BodyAid::Son)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
