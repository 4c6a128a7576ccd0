// Reading aloud, measured: the synthesis of a 150-word tale at each speed,
// the MP3's encoding, the reading files' sizes, and the sync of the cues:
// each cue's start against espeak-ng's word event, and the MP3's delay as
// decoded against the delay the cues carry.
//   tessavo_lecture_report [RUNS]
#include "readingaids/speech.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// A tale of 150 words as the teacher would paste it, with a number, an
// abbreviation, apostrophes and accents.
QStringList tale()
{
    const QStringList sentences = {
        u"Il était une fois un petit loup gris qui vivait au bord de la grande forêt.<br>"_s,
        u"Chaque matin, il allait voir M. Hibou, le plus vieux sage du pays.<br>"_s,
        u"« Où vas-tu si tôt ? » lui demandait l’écureuil en riant.<br>"_s,
        u"Le loup répondait qu’il comptait les 1 000 arbres du bois, les pins, les chênes, etc.<br>"_s,
        u"Un jour, une tempête coucha vingt arbres sur le chemin de l'école des animaux.<br>"_s,
        u"Le petit loup aida ses amis à dégager la route avant la nuit.<br>"_s,
        u"Depuis, tout le monde l’appelle le gardien de la forêt, et il en est très fier.<br>"_s,
        u"Le soir, il raconte son histoire aux louveteaux qui s'endorment avant la fin.<br>"_s,
    };
    QStringList lines = {u"<html><body>"_s, u"<!--DEBUT-->"_s, u"<img src=\"loup.jpg\">"_s};
    QStringList body;
    qsizetype words = 0;
    for (qsizetype i = 0; words < 150; ++i) {
        QString line = sentences[i % sentences.size()];
        const QList<SpeechWord> lineWords = speechWords(line.chopped(4));
        if (words + lineWords.size() > 150) {
            const SpeechWord &last = lineWords[150 - words - 1];
            line = line.left(last.start + last.length) + u".<br>"_s;
        }
        words += speechWords(line.chopped(4)).size();
        body.append(line);
    }
    return lines + body + QStringList{u"<!--FIN-->"_s, u"</body></html>"_s};
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The samples of an MP3, decoded by LAME's own decoder.
std::vector<short> decode(const QByteArray &mp3)
{
    hip_t hip = hip_decode_init();
    std::vector<short> out;
    std::vector<short> left(1 << 20), right(1 << 20);
    constexpr qsizetype chunk = 4096;
    for (qsizetype at = 0; at < mp3.size(); at += chunk) {
        auto *bytes = reinterpret_cast<unsigned char *>(const_cast<char *>(mp3.constData() + at));
        const int n = hip_decode(hip, bytes, size_t(std::min(chunk, mp3.size() - at)), left.data(), right.data());
        if (n > 0)
            out.insert(out.end(), left.begin(), left.begin() + n);
    }
    hip_decode_exit(hip);
    return out;
}

// The lag, in samples, at which the decoded audio best matches the speech.
int bestLag(const QList<qint16> &speech, const std::vector<short> &decoded)
{
    int best = 0;
    double bestScore = -1;
    const qsizetype span = std::min<qsizetype>(speech.size(), 22050 * 5);
    for (int lag = 0; lag < 4000; ++lag) {
        double score = 0;
        for (qsizetype i = 0; i < span && i + lag < qsizetype(decoded.size()); i += 2)
            score += double(speech[i]) * decoded[size_t(i + lag)];
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    Pronouncer &pronouncer = Pronouncer::process();
    QElapsedTimer load;
    load.start();
    if (!pronouncer.available()) {
        std::fprintf(stderr, "%s\n", qPrintable(pronouncer.unavailableReason()));
        return 2;
    }
    std::printf("espeak-ng loaded: %.1f ms\n", double(load.nsecsElapsed()) / 1e6);
    const QStringList document = tale();
    const QString text = speechText(document);
    std::printf("tale: %lld words, %lld characters\n", qlonglong(speechWords(text).size()), qlonglong(text.size()));

    for (const SpeechSpeed speed : {SpeechSpeed::Lente, SpeechSpeed::Normale}) {
        std::vector<double> synthesis, encoding;
        Speech speech;
        QByteArray audio;
        qint64 delayMs = 0;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            speech = synthesise(pronouncer, text, speed);
            synthesis.push_back(double(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            audio = mp3(speech, &delayMs);
            encoding.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        const QByteArray vtt = webVtt(speech.cues);
        std::printf("\n%s (%d words a minute), median of %d runs:\n", speed == SpeechSpeed::Lente ? "lente" : "normale",
                    wordsPerMinute(speed), runs);
        std::printf("  synthesis %.1f ms, MP3 encoding %.1f ms, speech %.1f s\n", median(synthesis), median(encoding),
                    double(speech.durationMs()) / 1000);
        std::printf("  files: MP3 %lld bytes, WebVTT %lld bytes, together %.2f MB\n", qlonglong(audio.size()),
                    qlonglong(vtt.size()), double(audio.size() + vtt.size()) / 1e6);

        // Each cue against the first word event within its word, and the
        // words without an event of their own against the nearest event.
        std::vector<double> own, shared;
        QStringList withoutEvent;
        const QList<SpeechWord> words = speechWords(text);
        for (qsizetype k = 0; k < words.size(); ++k) {
            const SpeechWord &word = words[k];
            double nearest = 1e9;
            bool hasOwn = false;
            for (const WordEvent &event : speech.events) {
                const double eventMs = double(event.sample) * 1000 / speech.sampleRate;
                const double distance = std::abs(double(speech.cues[k].startMs) - eventMs);
                if (event.position >= word.start && event.position < word.start + word.length && !hasOwn) {
                    own.push_back(distance);
                    hasOwn = true;
                }
                nearest = std::min(nearest, distance);
            }
            if (!hasOwn) {
                shared.push_back(nearest);
                withoutEvent.append(word.text);
            }
        }
        std::printf("  cue start to word event: %zu words with an event, median %.2f ms, largest %.2f ms\n", own.size(),
                    median(own), own.empty() ? 0 : *std::max_element(own.begin(), own.end()));
        std::printf("  %zu words without an event of their own (times shared by letters): median %.0f ms to the "
                    "nearest event (%s)\n",
                    shared.size(), median(shared), qPrintable(withoutEvent.join(u", "_s)));
        const std::vector<short> decoded = decode(audio);
        const int lag = bestLag(speech.samples, decoded);
        std::printf("  MP3 decoded: %zu samples (speech %lld), best match at %d samples = %.1f ms; the cues carry "
                    "%lld ms\n",
                    decoded.size(), qlonglong(speech.samples.size()), lag, lag * 1000.0 / speech.sampleRate,
                    qlonglong(delayMs));
    }
    return 0;
}
