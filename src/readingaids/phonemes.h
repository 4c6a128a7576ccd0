#pragma once

#include <QLibrary>
#include <QString>
#include <QStringView>

#include <functional>

// French pronunciation, from espeak-ng's French voice. A pronunciation is
// held as a phoneme string: one character a phoneme, the IPA symbol itself,
// except the four nasal vowels, which stand as one character each
// (phoneme::an...) so that every phoneme is one character.
namespace readingaids {

namespace phoneme {
inline constexpr char16_t an = u'\uE000'; // ɑ̃ as in "blanc"
inline constexpr char16_t on = u'\uE001'; // ɔ̃ as in "bonbon"
inline constexpr char16_t in = u'\uE002'; // ɛ̃ as in "lapin"
inline constexpr char16_t un = u'\uE003'; // œ̃ as in "brun"
} // namespace phoneme

// The phoneme string of an IPA text of French phonemes; stress and length
// marks are left out. Empty when a symbol is no French phoneme.
// "bɔ̃ˈbɔ̃" -> {'b', phoneme::on, 'b', phoneme::on}; "θ" -> ""
QString phonemesFromIpa(QStringView ipa);

// The IPA text of a phoneme string. {'b', phoneme::on} -> "bɔ̃"
QString ipaFromPhonemes(QStringView phonemes);

// The spelling of a word as it is pronounced and aligned: lower case (letter
// for letter), every apostrophe written "'". "L’École" -> "l'école"
QString spelling(QStringView word);

// The longest word given to espeak-ng and aligned; a longer one is read by
// its letters (its alignment table would grow as letters × phonemes).
inline constexpr qsizetype maxEarLetters = 40;

// What espeak-ng made of one word.
struct Pronunciation
{
    enum class Outcome {
        Pronounced,   // phonemes holds the word's phonemes
        NotAWord,     // a single letter that is no French word: it would be spelled out
        TooLong,      // more letters than any French word (maxEarLetters): read by its letters
        ForeignLetters, // a letter that French does not write: not given to espeak-ng, which
                        // would switch to another language (and its 1.51 can then read freed memory)
        Foreign,      // espeak-ng reads the word in another language (an English spelling)
        NotFrench,    // espeak-ng gave a phoneme that French does not have
        Unavailable,  // espeak-ng cannot be loaded
    };
    Outcome outcome = Outcome::Unavailable;
    QString phonemes; // when Pronounced
    QString ipa;      // what espeak-ng gave, stress and length marks left out
};

// The French voice of espeak-ng, loaded from its shared library on first
// use. The library keeps its state in globals and is not thread-safe: one
// Pronouncer loads it in a process (process()), and every call into it is
// made under one lock.
class Pronouncer
{
public:
    // The process's pronouncer: espeak-ng's library of the system, or the one
    // that the environment variable TESSAVO_ESPEAK_NG names (a name or a path).
    static Pronouncer &process();

    // A pronouncer of the library of that name or path (for a test: a
    // library that cannot be loaded). Never a second one of the real library.
    explicit Pronouncer(QString library);
    ~Pronouncer();
    Pronouncer(const Pronouncer &) = delete;
    Pronouncer &operator=(const Pronouncer &) = delete;

    // Whether the French voice could be loaded; loads it on the first call.
    bool available();

    // Why not, in French, for the teacher; empty when available.
    QString unavailableReason();

    // The phonemes of one word of letters and apostrophes, said alone (no
    // liaison), from its spelling().
    // "Bonbon" -> bɔ̃bɔ̃; "maison" -> mɛzɔ̃; "l'école" -> lekɔl
    Pronunciation pronounce(QStringView word);

    // Runs work with the loaded library, under the lock that every call into
    // it takes (speech synthesis uses the voice loaded here); false, without
    // running it, when the French voice is unavailable.
    bool withLibrary(const std::function<void(QLibrary &library)> &work);

private:
    struct Library;
    void load();                      // under the lock
    QString espeakPhonemes(const QByteArray &utf8Word); // under the lock

    QString m_libraryName;
    QLibrary m_library;
    Library *m_espeak = nullptr;
    bool m_loaded = false;
    QString m_reason;
};

} // namespace readingaids
