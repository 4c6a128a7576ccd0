#pragma once

#include "alignment.h"
#include "linebuffer.h"
#include "phonemes.h"
#include "workspace/result.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <mutex>
#include <optional>

// A sound in relief, by ear ("entendu"): the typed spelling names a sound,
// and the graphemes that say it are marked, from each word's pronunciation.
// A spelling that names no sound, a word that cannot be pronounced or aligned,
// and a process without espeak-ng fall back to the letters as typed.
namespace readingaids {

// The phoneme strings that a typed spelling names, from the table of sounds
// (letter case aside); empty when it names none.
// "on" -> {ɔ̃}; "eu" -> {ø, œ}; "oi" -> {wa}; "on " -> {}
QStringList soundNamedBy(QStringView typed);

// Whether the typed spelling names a sound (otherwise its letters are
// matched, which the screen says beside the field).
inline bool namesSound(QStringView typed)
{
    return !soundNamedBy(typed).isEmpty();
}

// Whether the "entendu" mode can work, or why not in French.
workspace::Result<void> entenduAvailability();

// The words of a body line as the mode reads them: letters, with the
// apostrophes between two letters, outside tags and character references.
// "L'arc-en-ciel<br>" -> {"L'arc", "en", "ciel"}
QStringList wordsOf(QStringView bodyLine);

// The words of a run of plain text (no tags), each handed to onWord, as
// wordsOf cuts them. "porte-monnaie" -> "porte", "monnaie"
void forEachLetterWord(QStringView run, const std::function<void(QStringView word)> &onWord);

// A word of a document as the mode reads it.
struct EarWord
{
    Pronunciation pronunciation;
    std::optional<QList<Grapheme>> graphemes; // none when it could not be aligned
};

// How a word is read, for a person: its graphemes and the phonemes of each,
// "∅" for a silent one; "?" and what espeak-ng said (when it said something)
// for a word that could not be aligned.
// "bonbon" -> "b|on|b|on → b|ɔ̃|b|ɔ̃"; "acrolithe" -> "acrolithe → ? [(en)akɹəlaɪð(fr)]"
QString showReading(QStringView word, const EarWord &read);

// The words of one document, each pronounced and aligned once: the cache of
// the mode, which holds the words of the last document it was given.
class EarWords
{
public:
    explicit EarWords(Pronouncer &pronouncer);

    // Holds the words of the body lines of this document: those already held
    // are kept, new ones are pronounced, the others are dropped. Nothing is
    // done when the lines are the same as at the last call.
    // Raises DocumentRefused when a marker is missing.
    void prepare(const QStringList &documentLines);

    // Holds the words of these lines (all of them body lines) the same way.
    void prepareBody(const QStringList &bodyLines);

    // The word as read, or null when it is not held.
    const EarWord *find(QStringView word) const;

    // How many distinct words are held; how many espeak-ng was asked for
    // since this object was made.
    qsizetype size() const { return m_words.size(); }
    qsizetype pronounced() const { return m_pronounced; }

private:
    EarWord read(const QString &spelling);

    Pronouncer &m_pronouncer;
    QStringList m_lines;
    bool m_prepared = false;
    QHash<QString, EarWord> m_words; // by spelling()
    qsizetype m_pronounced = 0;
};

// The process's words, held under their lock while this lives; words is
// null when espeak-ng cannot be loaded.
class EarWords;
struct HeldWords
{
    std::unique_lock<std::mutex> lock;
    EarWords *words = nullptr;
};
HeldWords processEarWords();

// The output line of a body line by ear: the line trimmed, every grapheme
// that says one of the sound's phoneme strings set in bold red (never inside
// a tag or a character reference); a word that is not held aligned gets the
// letters of typed marked, as the sound aid marks them.
// ("Le bonbon de la bonne<br>", {ɔ̃}) -> "Le b<FONT…>on</FONT>b<FONT…>on</FONT> de la bonne<br>"
void entenduLine(QStringView line, const QStringList &sound, QStringView typed, const EarWords &words,
                 LineBuffer &out);

// The document lines with each body line marked by ear for the typed
// spelling, with the process's pronouncer and cache of words. When typed
// names no sound or espeak-ng cannot be loaded, each body line is the sound
// aid's own (sonLine). Raises DocumentRefused when a marker is missing.
void writeEntendu(const QStringList &lines, QStringView typed, const std::function<void(QStringView line)> &sink);

// Body lines marked by ear as writeEntendu marks them, these lines making
// the document (for the command-line tool).
QStringList entenduBodyLines(const QStringList &bodyLines, QStringView typed);

} // namespace readingaids
