#pragma once

#include "phonemes.h"
#include "workspace/failure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Reading aloud: a reading document said by espeak-ng's French voice, with the
// time of each of its words, for the audio and the WebVTT file that the
// tablet's page plays and lights word by word.
namespace readingaids {

// How fast the text is read.
enum class SpeechSpeed { Lente, Normale };

// The words per minute asked of espeak-ng for a speed.
int wordsPerMinute(SpeechSpeed speed);

// A word of the text read aloud: where it stands in the text and how it is
// written there.
struct SpeechWord
{
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
};

// The text that is read aloud: the body lines of a reading document, tags
// left out, character references decoded, one line a line.
// Raises DocumentRefused when a marker is missing.
QString speechText(const QStringList &documentLines);

// The words of a text as a reader sees them, each given one cue: letters and
// digits, with an apostrophe between two letters ("l’école"), a number with
// its decimal mark or its groups of three digits ("3,5", "1 000"), and the
// dot of an abbreviation that is read as a word ("M.", "etc."). A hyphen
// parts two words. "M. Dupont a 1 000 ans." -> {"M.", "Dupont", "a", "1 000", "ans"}
QList<SpeechWord> speechWords(QStringView text);

// One word of the reading, in milliseconds from the start of the audio.
struct Cue
{
    qint64 startMs = 0;
    qint64 endMs = 0;
    QString text;
};

// Where espeak-ng said a word began: the word's start in the text (the
// event's text position) and the time.
struct WordEvent
{
    qsizetype position = 0; // in the text, from 0
    qsizetype length = 0;
    qint64 sample = 0;
};

// The cues of the words from espeak-ng's word events, in order: each word
// begins at the first event within it (a word said as several, "1 000",
// "M.", gets one cue spanning them); a word without an event of its own
// ("monnaie" of "porte-monnaie") shares the time of the word before it by
// letters; each cue ends where the next begins, the last with the audio.
QList<Cue> cuesOfWords(const QList<SpeechWord> &words, const QList<WordEvent> &events, int sampleRate,
                       qint64 totalSamples);

// A text said by the voice.
struct Speech
{
    QList<qint16> samples; // mono, 16 bits
    int sampleRate = 0;
    QList<WordEvent> events;
    QList<Cue> cues;

    qint64 durationMs() const { return sampleRate > 0 ? samples.size() * 1000 / sampleRate : 0; }
};

// Speech cannot be made: the French voice is missing, or the library failed.
class SpeechUnavailable : public workspace::Failure
{
public:
    using Failure::Failure;
};

// The text said by the pronouncer's voice at that speed, with a cue for each
// of its speechWords. Raises SpeechUnavailable, in French, when the voice
// cannot be loaded.
Speech synthesise(Pronouncer &pronouncer, const QString &text, SpeechSpeed speed);

// The WebVTT file of the cues (UTF-8, as WebVTT requires): one cue a word,
// after a note of the key when there is one.
QByteArray webVtt(const QList<Cue> &cues, const QString &key = {});

// What the reading files of a document are made from, as the note of its
// .vtt: readingKeyNote, the speed, and a digest of the text read. The files
// are made again when it changes.
inline constexpr QByteArrayView readingKeyNote = "NOTE tessavo-lecture ";
QString readingKey(const QStringList &documentLines, SpeechSpeed speed);

// Why speech cannot be made, in French.
QString speechUnavailableReason(Pronouncer &pronouncer);

// The audio as MP3 (mono, 40 kbit/s constant: a player finds any moment by
// the bytes): it plays in the browsers of tablets and in the program's own
// web view. delayMs receives how much later than in the speech each sound is
// heard (the encoder's and the decoder's delay), by which the cues of the
// reading files are moved.
QByteArray mp3(const Speech &speech, qint64 *delayMs = nullptr);

// The audio as WAV (16-bit PCM, mono): what the program's own view plays
// at once, with no encoding and no delay.
QByteArray wav(const Speech &speech);

// The reading files of a document: its name with these extensions.
inline constexpr QStringView audioExtension = u".mp3";
inline constexpr QStringView cuesExtension = u".vtt";

// The file names of the audio and the cues of a document file name.
// "loup.htm" -> {"loup.mp3", "loup.vtt"}
QStringList readingFileNames(QStringView documentFileName);

// The reading files of a reading document, by name (readingFileNames order):
// the MP3 audio and the WebVTT cues, timed to the MP3, with the key. Raises DocumentRefused or SpeechUnavailable.
QList<QByteArray> readingFiles(Pronouncer &pronouncer, const QStringList &documentLines, SpeechSpeed speed);

} // namespace readingaids
