#include "speech.h"

#include "document.h"
#include "markup.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <lame/lame.h>

#include <QCryptographicHash>
#include <QFileInfo>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace readingaids {

namespace {

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019' || c == u'\u02BC';
}

// The blanks between the groups of three digits of a number.
bool isDigitGroupSpace(QChar c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F';
}

// Abbreviations whose dot belongs to the word: espeak-ng reads them whole.
bool isAbbreviation(QStringView word)
{
    static const QStringList abbreviations = {u"M"_s,  u"MM"_s, u"Mme"_s, u"Mmes"_s, u"Mlle"_s, u"Mlles"_s,
                                              u"Dr"_s, u"Pr"_s, u"St"_s,  u"Ste"_s,  u"etc"_s,  u"cf"_s};
    return abbreviations.contains(word.toString());
}

// The character a reference stands for; a blank for one the text cannot hold.
QString decodeReference(QStringView reference)
{
    const QStringView name = reference.sliced(1, reference.size() - 2);
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X') ? name.sliced(2).toUInt(&ok, 16)
                                                                                   : name.sliced(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return u" "_s;
        const char32_t c = code;
        return QString::fromUcs4(&c, 1);
    }
    static const QHash<QString, QString> named = {
        {u"amp"_s, u"&"_s},       {u"lt"_s, u"<"_s},        {u"gt"_s, u">"_s},       {u"quot"_s, u"\""_s},
        {u"apos"_s, u"'"_s},      {u"nbsp"_s, u"\u00A0"_s}, {u"laquo"_s, u"«"_s},    {u"raquo"_s, u"»"_s},
        {u"eacute"_s, u"é"_s},    {u"egrave"_s, u"è"_s},    {u"ecirc"_s, u"ê"_s},    {u"agrave"_s, u"à"_s},
        {u"acirc"_s, u"â"_s},     {u"ccedil"_s, u"ç"_s},    {u"ugrave"_s, u"ù"_s},   {u"ucirc"_s, u"û"_s},
        {u"icirc"_s, u"î"_s},     {u"iuml"_s, u"ï"_s},      {u"ocirc"_s, u"ô"_s},    {u"euml"_s, u"ë"_s},
        {u"oelig"_s, u"œ"_s},     {u"rsquo"_s, u"’"_s},     {u"hellip"_s, u"…"_s},   {u"Eacute"_s, u"É"_s},
    };
    return named.value(name.toString(), u" "_s);
}

// The span of time of the words from first to last (exclusive), from start to
// end, shared by their letters.
void share(QList<qint64> &starts, const QList<SpeechWord> &words, qsizetype first, qsizetype last, qint64 start,
           qint64 end)
{
    qint64 letters = 0;
    for (qsizetype i = first; i < last; ++i)
        letters += words[i].length;
    qint64 before = 0;
    for (qsizetype i = first; i < last; ++i) {
        starts[i] = start + (end - start) * before / std::max<qint64>(letters, 1);
        before += words[i].length;
    }
}

QString timestamp(qint64 ms)
{
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
}

// The functions of espeak-ng that synthesis calls, resolved by name from the
// library that the pronouncer loaded.
struct SynthFunctions
{
    decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&espeak_Synth) synth = nullptr;
    decltype(&espeak_SetParameter) setParameter = nullptr;
    decltype(&espeak_GetParameter) getParameter = nullptr;
    decltype(&espeak_ng_GetSampleRate) sampleRate = nullptr;

    bool resolve(QLibrary &library)
    {
        const auto get = [&library](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            return function != nullptr;
        };
        return get(setSynthCallback, "espeak_SetSynthCallback") && get(synth, "espeak_Synth")
            && get(setParameter, "espeak_SetParameter") && get(getParameter, "espeak_GetParameter")
            && get(sampleRate, "espeak_ng_GetSampleRate");
    }
};

// What the synthesis callback gathers.
struct Gathered
{
    QList<qint16> samples;
    QList<WordEvent> events; // text positions in code points, from 1
};

int gather(short *wave, int count, espeak_EVENT *event)
{
    auto *gathered = static_cast<Gathered *>(event->user_data);
    if (wave != nullptr && count > 0)
        gathered->samples.append(QList<qint16>(wave, wave + count));
    for (; event->type != espeakEVENT_LIST_TERMINATED; ++event) {
        if (event->type == espeakEVENT_WORD && event->length > 0)
            gathered->events.append({event->text_position, event->length, event->sample});
    }
    return 0;
}

} // namespace

int wordsPerMinute(SpeechSpeed speed)
{
    return speed == SpeechSpeed::Lente ? 110 : 150;
}

QString speechText(const QStringList &documentLines)
{
    const Regions regions = findRegions(documentLines);
    QString text;
    for (qsizetype line = regions.logo + 1; line < regions.endMarker; ++line) {
        splitMarkup(
            documentLines[line], [&text](QStringView run) { text += run; },
            [&text](QStringView markup) {
                if (markup.startsWith(u'&'))
                    text += decodeReference(markup);
                else if (!markup.endsWith(u'>'))
                    text += markup; // a "<" that no ">" closes shows as typed
            });
        text += u'\n';
    }
    return text;
}

QList<SpeechWord> speechWords(QStringView text)
{
    QList<SpeechWord> words;
    const qsizetype size = text.size();
    const auto digitAt = [&](qsizetype i) { return i >= 0 && i < size && text[i].isDigit(); };
    const auto letterAt = [&](qsizetype i) { return i >= 0 && i < size && text[i].isLetter(); };
    qsizetype i = 0;
    while (i < size) {
        if (!text[i].isLetterOrNumber() && !text[i].isMark()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < size) {
            const QChar c = text[i];
            if (c.isLetterOrNumber() || c.isMark()) {
                ++i;
            } else if (isApostrophe(c) && letterAt(i - 1) && letterAt(i + 1)) {
                ++i;
            } else if ((c == u',' || c == u'.') && digitAt(i - 1) && digitAt(i + 1)) {
                ++i;
            } else if (isDigitGroupSpace(c) && digitAt(i - 1) && digitAt(i + 1) && digitAt(i + 2) && digitAt(i + 3)
                       && !digitAt(i + 4)) {
                ++i;
            } else {
                break;
            }
        }
        if (i < size && text[i] == u'.' && isAbbreviation(text.sliced(start, i - start)))
            ++i;
        words.append({start, i - start, text.sliced(start, i - start).toString()});
    }
    return words;
}

QList<Cue> cuesOfWords(const QList<SpeechWord> &words, const QList<WordEvent> &events, int sampleRate,
                       qint64 totalSamples)
{
    const qsizetype count = words.size();
    QList<qint64> starts(count, -1); // in samples
    qsizetype word = 0;
    for (const WordEvent &event : events) {
        while (word < count && words[word].start + words[word].length <= event.position)
            ++word;
        if (word == count)
            break;
        if (words[word].start < event.position + event.length && starts[word] < 0)
            starts[word] = std::clamp<qint64>(event.sample, 0, totalSamples);
    }
    // Words without an event share the time of the timed word before them
    // (or from the start) up to the next timed word (or the end).
    qsizetype first = 0;
    while (first < count) {
        qsizetype next = first + 1;
        while (next < count && starts[next] < 0)
            ++next;
        const qint64 from = starts[first] >= 0 ? starts[first] : 0;
        const qint64 to = next < count ? starts[next] : totalSamples;
        if (next - first > 1 || starts[first] < 0)
            share(starts, words, first, next, from, std::max(from, to));
        first = next;
    }
    QList<Cue> cues;
    cues.reserve(count);
    const qint64 totalMs = totalSamples * 1000 / std::max(sampleRate, 1);
    qint64 previous = -1;
    for (qsizetype i = 0; i < count; ++i) {
        // Starts rise by a millisecond at least, within the audio.
        const qint64 start = std::min(std::max(starts[i] * 1000 / std::max(sampleRate, 1), previous + 1), totalMs);
        cues.append({start, start, words[i].text});
        if (i > 0)
            cues[i - 1].endMs = start;
        previous = start;
    }
    if (!cues.isEmpty())
        cues.last().endMs = std::max(totalMs, cues.last().startMs);
    return cues;
}

Speech synthesise(Pronouncer &pronouncer, const QString &text, SpeechSpeed speed)
{
    Gathered gathered;
    int sampleRate = 0;
    bool resolved = false;
    const QByteArray utf8 = text.toUtf8();
    const bool available = pronouncer.withLibrary([&](QLibrary &library) {
        SynthFunctions espeak;
        resolved = espeak.resolve(library);
        if (!resolved)
            return;
        sampleRate = espeak.sampleRate();
        const int rate = espeak.getParameter(espeakRATE, 1);
        espeak.setParameter(espeakRATE, wordsPerMinute(speed), 0);
        espeak.setSynthCallback(gather);
        espeak.synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                     &gathered);
        espeak.setSynthCallback(nullptr);
        espeak.setParameter(espeakRATE, rate, 0);
    });
    if (!available)
        throw SpeechUnavailable(speechUnavailableReason(pronouncer));
    if (!resolved || sampleRate <= 0)
        throw SpeechUnavailable(
            u"La lecture à voix haute n'est pas disponible : la bibliothèque espeak-ng installée est incomplète ou trop ancienne."_s);

    // The events count code points from 1; the words, UTF-16 units from 0.
    QList<qsizetype> unitOfCodePoint;
    unitOfCodePoint.reserve(text.size() + 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text[i].isLowSurrogate())
            unitOfCodePoint.append(i);
    }
    unitOfCodePoint.append(text.size());
    Speech speech;
    speech.sampleRate = sampleRate;
    speech.samples = std::move(gathered.samples);
    for (WordEvent event : std::as_const(gathered.events)) {
        const qsizetype first = std::clamp<qsizetype>(event.position - 1, 0, unitOfCodePoint.size() - 1);
        const qsizetype last = std::clamp<qsizetype>(first + event.length, 0, unitOfCodePoint.size() - 1);
        event.position = unitOfCodePoint[first];
        event.length = unitOfCodePoint[last] - event.position;
        speech.events.append(event);
    }
    speech.cues = cuesOfWords(speechWords(text), speech.events, sampleRate, speech.samples.size());
    return speech;
}

QString speechUnavailableReason(Pronouncer &pronouncer)
{
    // The pronouncer's reason, told of reading aloud: "… n'est pas disponible : why"
    const QString reason = pronouncer.unavailableReason();
    return u"La lecture à voix haute n'est pas disponible"_s + reason.sliced(std::max<qsizetype>(reason.indexOf(u" : "_s), 0));
}

QString readingKey(const QStringList &documentLines, SpeechSpeed speed)
{
    const QByteArray digest
        = QCryptographicHash::hash(speechText(documentLines).toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QString::fromLatin1(readingKeyNote) + (speed == SpeechSpeed::Lente ? u"lente "_s : u"normale "_s)
        + QString::fromLatin1(digest);
}

QByteArray webVtt(const QList<Cue> &cues, const QString &key)
{
    QString vtt = u"WEBVTT\n"_s;
    if (!key.isEmpty())
        vtt += u"\n"_s + key + u"\n"_s;
    for (const Cue &cue : cues)
        vtt += u"\n%1 --> %2\n%3\n"_s.arg(timestamp(cue.startMs), timestamp(cue.endMs), escapeText(cue.text));
    return vtt.toUtf8();
}

QByteArray mp3(const Speech &speech, qint64 *delayMs)
{
    const std::unique_ptr<lame_global_flags, decltype(&lame_close)> lame(lame_init(), lame_close);
    if (!lame)
        throw SpeechUnavailable(u"La lecture à voix haute n'a pas pu être enregistrée (encodeur MP3)."_s);
    lame_set_in_samplerate(lame.get(), speech.sampleRate);
    lame_set_out_samplerate(lame.get(), speech.sampleRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_brate(lame.get(), 40);
    lame_set_quality(lame.get(), 5);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
        throw SpeechUnavailable(u"La lecture à voix haute n'a pas pu être enregistrée (encodeur MP3)."_s);
    QByteArray out;
    constexpr int chunk = 8192;
    QByteArray buffer(chunk * 5 / 4 + 7200, Qt::Uninitialized);
    auto *bytes = reinterpret_cast<unsigned char *>(buffer.data());
    for (qsizetype at = 0; at < speech.samples.size(); at += chunk) {
        const int count = int(std::min<qsizetype>(chunk, speech.samples.size() - at));
        const short *pcm = speech.samples.constData() + at;
        const int made = lame_encode_buffer(lame.get(), pcm, pcm, count, bytes, int(buffer.size()));
        if (made < 0)
            throw SpeechUnavailable(u"La lecture à voix haute n'a pas pu être enregistrée (encodeur MP3)."_s);
        out.append(buffer.constData(), made);
    }
    const int made = lame_encode_flush(lame.get(), bytes, int(buffer.size()));
    if (made > 0)
        out.append(buffer.constData(), made);
    // The encoder's delay and the decoder's (529 samples) come before the
    // first sample of the speech.
    if (delayMs)
        *delayMs = (lame_get_encoder_delay(lame.get()) + 529) * 1000 / speech.sampleRate;
    return out;
}

QByteArray wav(const Speech &speech)
{
    const auto le32 = [](QByteArray &out, quint32 value) {
        for (int i = 0; i < 4; ++i)
            out.append(char((value >> (8 * i)) & 0xFF));
    };
    const auto le16 = [](QByteArray &out, quint16 value) {
        out.append(char(value & 0xFF));
        out.append(char(value >> 8));
    };
    const quint32 dataBytes = quint32(speech.samples.size() * 2);
    QByteArray out;
    out.reserve(44 + qsizetype(dataBytes));
    out.append("RIFF");
    le32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    le32(out, 16);
    le16(out, 1); // PCM
    le16(out, 1); // mono
    le32(out, quint32(speech.sampleRate));
    le32(out, quint32(speech.sampleRate) * 2);
    le16(out, 2);
    le16(out, 16);
    out.append("data");
    le32(out, dataBytes);
    for (const qint16 sample : speech.samples)
        le16(out, quint16(sample));
    return out;
}

QStringList readingFileNames(QStringView documentFileName)
{
    const QString base = QFileInfo(documentFileName.toString()).completeBaseName();
    return {base + audioExtension.toString(), base + cuesExtension.toString()};
}

QList<QByteArray> readingFiles(Pronouncer &pronouncer, const QStringList &documentLines, SpeechSpeed speed)
{
    Speech speech = synthesise(pronouncer, speechText(documentLines), speed);
    qint64 delayMs = 0;
    QByteArray audio = mp3(speech, &delayMs);
    for (Cue &cue : speech.cues) {
        cue.startMs += delayMs;
        cue.endMs += delayMs;
    }
    return {std::move(audio), webVtt(speech.cues, readingKey(documentLines, speed))};
}

} // namespace readingaids
