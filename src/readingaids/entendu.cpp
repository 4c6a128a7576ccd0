#include "entendu.h"

#include "incontext.h"
#include "writtenbyear.h"
#include "document.h"
#include "markup.h"
#include "son.h"
#include "trim.h"

#include <mutex>

using namespace Qt::StringLiterals;

namespace readingaids {

namespace {

// The sounds that a teacher can type, each spelling with the phonemes it
// names, alternatives separated by "|". A sound that is said two ways by
// French speakers, or that espeak-ng writes two ways, names both.
struct NamedSound
{
    std::u16string_view spelling;
    std::u16string_view ipa;
};

constexpr NamedSound sounds[] = {
    // vowels
    {u"a", u"a"},     {u"à", u"a"},     {u"â", u"a"},
    {u"i", u"i"},     {u"î", u"i"},
    {u"o", u"o|ɔ"},   {u"ô", u"o|ɔ"},   {u"au", u"o|ɔ"},  {u"eau", u"o|ɔ"},
    {u"ou", u"u"},    {u"où", u"u"},    {u"oû", u"u"},
    {u"u", u"y"},     {u"û", u"y"},
    {u"é", u"e"},
    {u"è", u"ɛ"},     {u"ê", u"ɛ"},     {u"ai", u"ɛ"},    {u"ei", u"ɛ"},
    {u"e", u"ə"},
    {u"eu", u"ø|œ"},  {u"œu", u"ø|œ"},
    {u"oi", u"wa"},   {u"oin", u"wɛ̃"},
    {u"on", u"ɔ̃"},    {u"om", u"ɔ̃"},
    {u"an", u"ɑ̃"},    {u"en", u"ɑ̃"},    {u"am", u"ɑ̃"},    {u"em", u"ɑ̃"},
    {u"in", u"ɛ̃"},    {u"ain", u"ɛ̃"},   {u"ein", u"ɛ̃"},   {u"im", u"ɛ̃"},
    {u"aim", u"ɛ̃"},   {u"yn", u"ɛ̃"},    {u"ym", u"ɛ̃"},
    {u"un", u"œ̃|ɛ̃"},  {u"um", u"œ̃|ɛ̃"}, // [œ̃] and [ɛ̃] are one sound for most speakers
    // consonants
    {u"ch", u"ʃ"},
    {u"gn", u"ɲ|nj"},                      // espeak-ng writes [ɲ] before a vowel as [nj]
    {u"ill", u"j|ij"},                     // "paille", "fille"
    {u"j", u"ʒ"},
    {u"s", u"s"},     {u"ss", u"s"},    {u"ç", u"s"},
    {u"z", u"z"},
    {u"f", u"f"},     {u"ph", u"f"},
    {u"k", u"k"},     {u"q", u"k"},     {u"qu", u"k"},
    {u"g", u"ɡ"},     {u"gu", u"ɡ"},
    {u"x", u"ks|ɡz"},
    {u"b", u"b"},     {u"d", u"d"},     {u"l", u"l"},     {u"m", u"m"},
    {u"n", u"n"},     {u"p", u"p"},     {u"r", u"ʁ"},     {u"t", u"t"},
    {u"v", u"v"},
    // "c", "h" and "w" name no sound: c says [k] or [s], h nothing, w [w] or [v].
};

const QHash<QString, QStringList> &soundTable()
{
    static const QHash<QString, QStringList> table = [] {
        QHash<QString, QStringList> byspelling;
        for (const NamedSound &sound : sounds) {
            QStringList phonemes;
            for (const QStringView ipa : QStringView(sound.ipa.data(), qsizetype(sound.ipa.size())).split(u'|'))
                phonemes.append(phonemesFromIpa(ipa));
            byspelling.insert(QStringView(sound.spelling.data(), qsizetype(sound.spelling.size())).toString(), phonemes);
        }
        return byspelling;
    }();
    return table;
}

bool isWordLetter(QChar c)
{
    return c.isLetter() || c.isMark();
}

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019' || c == u'\u02BC';
}

// Cuts a run of plain text into words (letters, with the apostrophes between
// two letters: "l'école", "aujourd'hui"), handed to onWord, and the text
// between them, handed to onText.
template <typename OnText, typename OnWord>
void splitWords(QStringView run, OnText onText, OnWord onWord)
{
    qsizetype i = 0;
    qsizetype textStart = 0;
    while (i < run.size()) {
        if (!isWordLetter(run[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < run.size()
               && (isWordLetter(run[i])
                   || (isApostrophe(run[i]) && i + 1 < run.size() && isWordLetter(run[i + 1]))))
            ++i;
        onText(run.sliced(textStart, start - textStart));
        onWord(run.sliced(start, i - start));
        textStart = i;
    }
    onText(run.sliced(textStart));
}

// The words of a body line, each handed to onWord.
template <typename OnWord>
void forEachWord(QStringView line, OnWord onWord)
{
    splitMarkup(
        trimLine(line), [&onWord](QStringView run) { splitWords(run, [](QStringView) {}, onWord); },
        [](QStringView) {});
}

// Appends a word with its graphemes that say the sound marked; a word that is
// not aligned gets the typed letters marked.
void markWord(QStringView word, const QStringList &sound, QStringView typed, const EarWords &words,
              const LineReadings &inContext, LineBuffer &out)
{
    const EarWord *read = words.find(word);
    const std::optional<QList<Grapheme>> inSentence = graphemesInContext(word, read, &inContext);
    if (!inSentence && (read == nullptr || !read->graphemes)) {
        markLetters(word, typed, out);
        return;
    }
    for (const Grapheme &grapheme : inSentence ? *inSentence : *read->graphemes) {
        const QStringView letters = word.sliced(grapheme.start, grapheme.length);
        if (grapheme.phonemes.isEmpty() || !sound.contains(grapheme.phonemes)) {
            out.append(letters);
            continue;
        }
        out.append(markOpening);
        out.append(letters);
        out.append(markClosing);
    }
}

// The process's cache of words, for the document in use, and its lock.
std::mutex processWordsLock;

EarWords &processWords()
{
    static EarWords words(Pronouncer::process());
    return words;
}

} // namespace

QStringList soundNamedBy(QStringView typed)
{
    return soundTable().value(spelling(typed));
}

workspace::Result<void> entenduAvailability()
{
    Pronouncer &pronouncer = Pronouncer::process();
    if (pronouncer.available())
        return {};
    return workspace::refuse(pronouncer.unavailableReason());
}

void forEachLetterWord(QStringView run, const std::function<void(QStringView word)> &onWord)
{
    splitWords(run, [](QStringView) {}, onWord);
}

HeldWords processEarWords()
{
    HeldWords held;
    if (!Pronouncer::process().available())
        return held;
    held.lock = std::unique_lock(processWordsLock);
    held.words = &processWords();
    return held;
}

QStringList wordsOf(QStringView bodyLine)
{
    QStringList words;
    forEachWord(bodyLine, [&words](QStringView word) { words.append(word.toString()); });
    return words;
}

QString showReading(QStringView word, const EarWord &read)
{
    if (!read.graphemes) {
        const QString unread = word.toString() + u" → ?"_s;
        return read.pronunciation.ipa.isEmpty() ? unread : unread + u" ["_s + read.pronunciation.ipa + u']';
    }
    QStringList letters;
    QStringList phonemes;
    for (const Grapheme &grapheme : *read.graphemes) {
        letters.append(word.sliced(grapheme.start, grapheme.length).toString());
        phonemes.append(grapheme.phonemes.isEmpty() ? u"∅"_s : ipaFromPhonemes(grapheme.phonemes));
    }
    return letters.join(u'|') + u" → "_s + phonemes.join(u'|');
}

EarWords::EarWords(Pronouncer &pronouncer)
    : m_pronouncer(pronouncer)
{
}

void EarWords::prepare(const QStringList &documentLines)
{
    const Regions regions = findRegions(documentLines);
    prepareBody(documentLines.mid(regions.logo + 1, regions.endMarker - regions.logo - 1));
}

void EarWords::prepareBody(const QStringList &bodyLines)
{
    if (m_prepared && bodyLines == m_lines)
        return;
    QHash<QString, EarWord> words;
    for (const QString &line : bodyLines) {
        forEachWord(line, [this, &words](QStringView word) {
            QString key = spelling(word);
            if (words.contains(key))
                return;
            const auto held = m_words.constFind(key);
            EarWord read = held != m_words.cend() ? *held : this->read(key);
            words.insert(std::move(key), std::move(read));
        });
    }
    m_words = std::move(words);
    m_lines = bodyLines;
    m_prepared = true;
}

const EarWord *EarWords::find(QStringView word) const
{
    const auto found = m_words.constFind(spelling(word));
    return found == m_words.cend() ? nullptr : &*found;
}

EarWord EarWords::read(const QString &spelling)
{
    EarWord word;
    word.pronunciation = m_pronouncer.pronounce(spelling);
    switch (word.pronunciation.outcome) {
    case Pronunciation::Outcome::Pronounced:
        word.graphemes = align(spelling, word.pronunciation.phonemes);
        [[fallthrough]];
    case Pronunciation::Outcome::Foreign:
    case Pronunciation::Outcome::NotFrench:
        ++m_pronounced; // espeak-ng was asked
        break;
    case Pronunciation::Outcome::NotAWord:
    case Pronunciation::Outcome::TooLong:
    case Pronunciation::Outcome::ForeignLetters:
    case Pronunciation::Outcome::Unavailable:
        break;
    }
    return word;
}

void entenduLine(QStringView line, const QStringList &sound, QStringView typed, const EarWords &words,
                 LineBuffer &out)
{
    const auto appendText = [&out](QStringView text) { out.append(text); };
    LineReadings inContext;
    inContext.read(trimLine(line));
    splitMarkup(
        trimLine(line),
        [&](QStringView run) {
            splitWords(run, appendText,
                       [&](QStringView word) { markWord(word, sound, typed, words, inContext, out); });
        },
        appendText);
}

namespace {

// The process's words, for a typed spelling that names a sound when
// espeak-ng can be loaded (lock then holds them); null otherwise, and the
// sound aid's treatment applies.
EarWords *processWordsFor(const QStringList &sound, std::unique_lock<std::mutex> &lock)
{
    if (sound.isEmpty() || !Pronouncer::process().available())
        return nullptr;
    lock = std::unique_lock(processWordsLock);
    return &processWords();
}

// One body line treated into out: by ear with words, or as the sound aid does.
QStringView treatLine(QStringView line, const QStringList &sound, QStringView typed, const EarWords *words,
                      LineBuffer &out)
{
    out.clear();
    if (words != nullptr)
        entenduLine(line, sound, typed, *words, out);
    else
        sonLine(line, typed, out);
    return out.view();
}

} // namespace

void writeEntendu(const QStringList &lines, QStringView typed, const std::function<void(QStringView line)> &sink)
{
    const QStringList sound = soundNamedBy(typed);
    std::unique_lock<std::mutex> lock;
    EarWords *words = processWordsFor(sound, lock);
    if (words != nullptr)
        words->prepare(lines);
    LineBuffer out;
    writeOutput(lines, [&](QStringView line) { return treatLine(line, sound, typed, words, out); }, sink);
}

QStringList entenduBodyLines(const QStringList &bodyLines, QStringView typed)
{
    const QStringList sound = soundNamedBy(typed);
    std::unique_lock<std::mutex> lock;
    EarWords *words = processWordsFor(sound, lock);
    if (words != nullptr)
        words->prepareBody(bodyLines);
    QStringList output;
    output.reserve(bodyLines.size());
    LineBuffer out;
    for (const QString &line : bodyLines)
        output.append(treatLine(line, sound, typed, words, out).toString());
    return output;
}

} // namespace readingaids
