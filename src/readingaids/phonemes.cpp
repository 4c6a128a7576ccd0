#include "phonemes.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <clocale>
#include <memory>
#include <mutex>
#include <string>

using namespace Qt::StringLiterals;

namespace readingaids {

namespace {

constexpr char16_t combiningTilde = u'\u0303';

// The nasal vowel of a vowel written with a combining tilde; 0 for none.
char16_t nasal(char16_t vowel)
{
    switch (vowel) {
    case u'ɑ':
    case u'a': // espeak-ng writes ɑ̃; a table may write ã
        return phoneme::an;
    case u'ɔ':
    case u'o':
        return phoneme::on;
    case u'ɛ':
    case u'e':
        return phoneme::in;
    case u'œ':
        return phoneme::un;
    default:
        return 0;
    }
}

// The phonemes of French, as one character each (the nasal vowels aside).
bool isFrenchPhoneme(char16_t c)
{
    static constexpr QStringView french = u"aeiouyøœɔɛəpbtdkɡfvszʃʒmnɲŋlʁjwɥ";
    return french.contains(QChar(c));
}

// Marks that espeak-ng writes around the phonemes: stress, length, the end of
// an unstressed word.
bool isMark(char16_t c)
{
    return c == u'ˈ' || c == u'ˌ' || c == u'ː' || c == u'-' || c == u'_' || c == u' ';
}

// The letters of French words, and the apostrophe of an elided word.
bool isFrenchLetter(QChar c)
{
    static constexpr QStringView accented = u"àâäçéèêëîïôöùûüÿæœñ'";
    return (c >= u'a' && c <= u'z') || accented.contains(c);
}

// The one-letter words of French; any other letter alone is spelled out.
bool isOneLetterWord(char16_t c)
{
    return c == u'a' || c == u'à' || c == u'ô' || c == u'y';
}

// Every call into the library goes through this lock: its state is global.
// (Constant-initialised, so it outlives the process's pronouncer.)
std::mutex espeakLock;

QString unavailable(QStringView why)
{
    return u"Le mode « entendu » n'est pas disponible : "_s + why.toString();
}

} // namespace

QString phonemesFromIpa(QStringView ipa)
{
    QString phonemes;
    phonemes.reserve(ipa.size());
    for (qsizetype i = 0; i < ipa.size(); ++i) {
        char16_t c = ipa[i].unicode();
        if (isMark(c))
            continue;
        if (c == u'g')
            c = u'ɡ';
        if (i + 1 < ipa.size() && ipa[i + 1] == combiningTilde) {
            c = nasal(c);
            ++i;
            if (c == 0)
                return {};
        } else if (!isFrenchPhoneme(c)) {
            return {};
        }
        phonemes.append(QChar(c));
    }
    return phonemes;
}

QString ipaFromPhonemes(QStringView phonemes)
{
    QString ipa;
    ipa.reserve(phonemes.size() * 2);
    for (const QChar c : phonemes) {
        switch (c.unicode()) {
        case phoneme::an:
            ipa += u"ɑ̃"_s;
            break;
        case phoneme::on:
            ipa += u"ɔ̃"_s;
            break;
        case phoneme::in:
            ipa += u"ɛ̃"_s;
            break;
        case phoneme::un:
            ipa += u"œ̃"_s;
            break;
        default:
            ipa += c;
        }
    }
    return ipa;
}

QString spelling(QStringView word)
{
    QString lower;
    lower.reserve(word.size());
    for (const QChar c : word)
        lower += c == u'\u2019' || c == u'\u02BC' ? QChar(u'\'') : c.toLower();
    return lower;
}

// The functions of espeak-ng that the pronouncer calls, resolved by name.
struct Pronouncer::Library
{
    decltype(&espeak_ng_InitializePath) initializePath = nullptr;
    decltype(&espeak_ng_Initialize) initialize = nullptr;
    decltype(&espeak_ng_InitializeOutput) initializeOutput = nullptr;
    decltype(&espeak_ng_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&espeak_TextToPhonemes) textToPhonemes = nullptr;
    decltype(&espeak_ng_ClearErrorContext) clearErrorContext = nullptr;
    decltype(&espeak_ng_Terminate) terminate = nullptr;
    bool initialized = false;

    bool resolve(QLibrary &library)
    {
        const auto get = [&library](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            return function != nullptr;
        };
        return get(initializePath, "espeak_ng_InitializePath") && get(initialize, "espeak_ng_Initialize")
            && get(initializeOutput, "espeak_ng_InitializeOutput") && get(setVoiceByName, "espeak_ng_SetVoiceByName")
            && get(textToPhonemes, "espeak_TextToPhonemes") && get(clearErrorContext, "espeak_ng_ClearErrorContext")
            && get(terminate, "espeak_ng_Terminate");
    }

    // Loads the data and the French voice; returns why not, in French.
    QString start()
    {
        initializePath(nullptr);
        espeak_ng_ERROR_CONTEXT context = nullptr;
        // The library sets the program's character locale for its own use;
        // it reads UTF-8 without it, so the program keeps its own.
        const std::string locale = std::setlocale(LC_CTYPE, nullptr);
        const espeak_ng_STATUS status = initialize(&context);
        std::setlocale(LC_CTYPE, locale.c_str());
        clearErrorContext(&context);
        if (status != ENS_OK)
            return unavailable(u"les données de espeak-ng sont introuvables (paquet espeak-ng-data)."_s);
        initialized = true;
        if (initializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK || setVoiceByName("fr") != ENS_OK)
            return unavailable(u"la voix française de espeak-ng est introuvable (paquet espeak-ng-data)."_s);
        return {};
    }
};

Pronouncer &Pronouncer::process()
{
    static Pronouncer pronouncer(qEnvironmentVariable("TESSAVO_ESPEAK_NG", u"espeak-ng"_s));
    return pronouncer;
}

Pronouncer::Pronouncer(QString library)
    : m_libraryName(std::move(library))
{
}

Pronouncer::~Pronouncer()
{
    // Frees what the library holds, so that a leak checker sees a clean end.
    const std::lock_guard lock(espeakLock);
    if (m_espeak && m_espeak->initialized)
        m_espeak->terminate();
    delete m_espeak;
}

void Pronouncer::load()
{
    m_loaded = true;
    m_library.setFileNameAndVersion(m_libraryName, 1);
    if (!m_library.load()) {
        m_reason = unavailable(u"la bibliothèque espeak-ng n'a pas pu être chargée (paquet libespeak-ng1)."_s);
        return;
    }
    auto espeak = std::make_unique<Library>();
    if (!espeak->resolve(m_library)) {
        m_reason = unavailable(u"la bibliothèque espeak-ng installée est incomplète ou trop ancienne."_s);
        return;
    }
    m_reason = espeak->start();
    m_espeak = espeak.release();
}

bool Pronouncer::available()
{
    const std::lock_guard lock(espeakLock);
    if (!m_loaded)
        load();
    return m_reason.isEmpty();
}

QString Pronouncer::unavailableReason()
{
    available();
    const std::lock_guard lock(espeakLock);
    return m_reason;
}

QString Pronouncer::espeakPhonemes(const QByteArray &utf8Word)
{
    QString said;
    const void *text = utf8Word.constData();
    // The library says the text up to the end of a clause at each call and
    // moves text on, to null at its end; a word is one clause.
    for (int clause = 0; text != nullptr && clause < 8; ++clause) {
        const char *phonemes = m_espeak->textToPhonemes(&text, espeakCHARS_UTF8, espeakPHONEMES_IPA);
        if (phonemes == nullptr)
            break;
        said += QString::fromUtf8(phonemes);
    }
    return said;
}

bool Pronouncer::withLibrary(const std::function<void(QLibrary &library)> &work)
{
    if (!available())
        return false;
    const std::lock_guard lock(espeakLock);
    work(m_library);
    return true;
}

Pronunciation Pronouncer::pronounce(QStringView word)
{
    Pronunciation result;
    const QString spelling = readingaids::spelling(word);
    if (!std::all_of(spelling.cbegin(), spelling.cend(), isFrenchLetter)) {
        result.outcome = Pronunciation::Outcome::ForeignLetters;
        return result;
    }
    if (spelling.size() > maxEarLetters) {
        result.outcome = Pronunciation::Outcome::TooLong;
        return result;
    }
    if (spelling.size() == 1 && !isOneLetterWord(spelling[0].unicode())) {
        result.outcome = Pronunciation::Outcome::NotAWord;
        return result;
    }
    if (!available()) {
        result.outcome = Pronunciation::Outcome::Unavailable;
        return result;
    }
    QString said;
    if (spelling == u"y") {
        said = u"i"_s; // said alone, the letter would be named "i grec"
    } else {
        const std::lock_guard lock(espeakLock);
        said = espeakPhonemes(spelling.toUtf8());
    }
    result.ipa.reserve(said.size());
    for (const QChar c : said) {
        if (!isMark(c.unicode()))
            result.ipa += c;
    }
    // A word read in another language comes between its language names:
    // "(en)dʒiːp(fr)".
    if (result.ipa.contains(u'(')) {
        result.outcome = Pronunciation::Outcome::Foreign;
        return result;
    }
    result.phonemes = phonemesFromIpa(result.ipa);
    result.outcome = result.phonemes.isEmpty() ? Pronunciation::Outcome::NotFrench : Pronunciation::Outcome::Pronounced;
    return result;
}

} // namespace readingaids
