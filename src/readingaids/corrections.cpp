#include "corrections.h"

#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace readingaids {

namespace {

// What a notation says, letter by letter, before it is checked against a word.
struct Parsed
{
    QString letters;
    WordCut cut;
};

workspace::Result<Parsed> parse(QStringView notation)
{
    Parsed parsed;
    bool inBrackets = false;
    bool syllableHasLetter = false;
    for (const QChar c : notation) {
        if (c == u'[' || c == u']') {
            if ((c == u'[') == inBrackets)
                return workspace::refuse(u"Les crochets des lettres muettes doivent aller par paires : « [ » "
                                         "avant les lettres muettes, « ] » après."_s);
            inBrackets = !inBrackets;
        } else if (c == u'|') {
            if (!syllableHasLetter)
                return workspace::refuse(u"Chaque syllabe doit avoir au moins une lettre : un « | » se met "
                                         "entre deux syllabes."_s);
            parsed.cut.starts.append(parsed.letters.size());
            syllableHasLetter = false;
        } else {
            parsed.letters += c;
            parsed.cut.silent.append(inBrackets);
            syllableHasLetter = true;
        }
    }
    if (inBrackets)
        return workspace::refuse(u"Un « [ » n'est pas refermé par « ] »."_s);
    if (!parsed.cut.starts.isEmpty() && !syllableHasLetter)
        return workspace::refuse(u"Chaque syllabe doit avoir au moins une lettre : un « | » se met "
                                 "entre deux syllabes."_s);
    return parsed;
}

} // namespace

QString notationOf(QStringView word, const WordCut &cut)
{
    QString out;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const bool silent = cut.silent.value(i);
        const bool opens = silent && (i == 0 || !cut.silent.value(i - 1) || cut.starts.contains(i));
        const bool closes = silent && (i + 1 == word.size() || !cut.silent.value(i + 1) || cut.starts.contains(i + 1));
        if (cut.starts.contains(i))
            out += u'|';
        if (opens)
            out += u'[';
        out += word[i];
        if (closes)
            out += u']';
    }
    return out;
}

QString lettersOf(QStringView notation)
{
    QString letters;
    for (const QChar c : notation) {
        if (c != u'[' && c != u']' && c != u'|')
            letters += c;
    }
    return letters;
}

workspace::Result<WordCut> cutFromNotation(QStringView word, QStringView notation)
{
    const QString typed = notation.trimmed().toString();
    if (typed.isEmpty())
        return workspace::refuse(u"La correction est vide : tapez le mot coupé, par exemple « o[i]|gnon »."_s);
    workspace::Result<Parsed> parsed = parse(typed);
    if (!parsed)
        return workspace::refuse(parsed.reason());
    if (parsed->letters.toLower() != word.toString().toLower())
        return workspace::refuse(u"« "_s + parsed->letters + u" » n'a pas les lettres de « "_s + word.toString()
                                 + u" » : seuls « | », « [ » et « ] » peuvent être ajoutés."_s);
    const QList<bool> &silent = parsed->cut.silent;
    if (std::all_of(silent.cbegin(), silent.cend(), [](bool s) { return s; }))
        return workspace::refuse(u"Toutes les lettres de « "_s + word.toString()
                                 + u" » ne peuvent pas être muettes."_s);
    return std::move(parsed->cut);
}

Corrections Corrections::read(const QString &path)
{
    Corrections corrections;
    QFile file(path);
    if (!file.exists())
        return corrections;
    if (!file.open(QIODevice::ReadOnly))
        throw workspace::IoError::cannotRead(path);
    const QString text = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString word = lettersOf(line);
        workspace::Result<WordCut> cut = cutFromNotation(word, line);
        if (cut)
            corrections.set(word, *cut);
    }
    return corrections;
}

void Corrections::write(const QString &path) const
{
    QStringList words = m_cuts.keys();
    std::sort(words.begin(), words.end());
    QByteArray bytes = "# Corrections des coupes et des lettres muettes : un mot par ligne,\r\n"
                       "# \"|\" entre deux syllabes, les lettres muettes entre crochets.\r\n";
    for (const QString &word : words)
        bytes += notationOf(word, m_cuts.value(word)).toUtf8() + "\r\n";
    workspace::writeBytes(path, bytes);
}

const WordCut *Corrections::find(QStringView word) const
{
    if (m_cuts.isEmpty())
        return nullptr;
    const auto found = m_cuts.constFind(word.toString().toLower());
    return found == m_cuts.cend() ? nullptr : &*found;
}

void Corrections::set(QStringView word, const WordCut &cut)
{
    m_cuts.insert(word.toString().toLower(), cut);
}

namespace {

Corrections &corrections()
{
    static Corrections held;
    return held;
}

} // namespace

const Corrections &processCorrections()
{
    return corrections();
}

void setProcessCorrections(Corrections held)
{
    corrections() = std::move(held);
}

workspace::Result<void> correctWord(const QString &workingFolder, QStringView word, QStringView notation)
{
    workspace::Result<WordCut> cut = cutFromNotation(word, notation);
    if (!cut)
        return workspace::refuse(cut.reason());
    const QString path = workingFolder + u'/' + CorrectionsFile;
    Corrections updated = Corrections::read(path);
    updated.set(word, *cut);
    updated.write(path);
    setProcessCorrections(std::move(updated));
    return {};
}

} // namespace readingaids
