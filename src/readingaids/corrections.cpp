#include "corrections.h"

#include "workspace/ioerror.h"
#include "workspace/textfile.h"

#include <QFile>
#include <QLockFile>
#include <QScopeGuard>

#include <algorithm>
#include <optional>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace readingaids {

namespace {

// How long a correction waits for another program's to be written.
constexpr int LockWait = 10000; // milliseconds

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

// The word with each character in lower case on its own: the same length,
// where a lower-casing of the whole can be longer ("İ" becomes i + U+0307),
// so that a cut kept for it falls on the same letters.
QString folded(QStringView word)
{
    QString out(word.size(), Qt::Uninitialized);
    std::transform(word.cbegin(), word.cend(), out.begin(), [](QChar c) { return c.toLower(); });
    return out;
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
    if (folded(parsed->letters) != folded(word))
        return workspace::refuse(u"« "_s + parsed->letters + u" » n'a pas les lettres de « "_s + word.toString()
                                 + u" » : seuls « | », « [ » et « ] » peuvent être ajoutés."_s);
    const QList<bool> &silent = parsed->cut.silent;
    if (std::all_of(silent.cbegin(), silent.cend(), [](bool s) { return s; }))
        return workspace::refuse(u"Toutes les lettres de « "_s + word.toString()
                                 + u" » ne peuvent pas être muettes."_s);
    return std::move(parsed->cut);
}

namespace {

// The bytes of the corrections file, none when it is missing. Only a file of
// its own, opened without following a link, and no larger than the limit: a
// named pipe would never end the read, a link to a device never end it
// either.
QByteArray correctionsBytes(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        if (errno == ELOOP)
            throw workspace::IoError(u"« %1 » est un lien vers un autre fichier : Tessavo ne lit pas les "
                                     u"corrections à travers un lien. Remplacez-le par le fichier lui-même."_s
                                         .arg(path),
                                     path);
        throw workspace::IoError::cannotRead(path);
    }
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        throw workspace::IoError::cannotRead(path);
    if (!S_ISREG(status.st_mode))
        throw workspace::IoError(u"« %1 » n'est pas un fichier ordinaire : Tessavo ne le lit pas."_s.arg(path), path);
    const auto tooLarge = [&path] {
        return workspace::IoError(u"Le fichier des corrections « %1 » dépasse %2 Mo : Tessavo ne le lit pas. "
                                  u"Il ne doit garder que les corrections des mots, un mot par ligne."_s
                                      .arg(path)
                                      .arg(CorrectionsFileLimit / (1024 * 1024)),
                                  path);
    };
    if (status.st_size > CorrectionsFileLimit)
        throw tooLarge();
    // Up to one byte past the limit: a file that grows meanwhile is refused
    // too, never read whole.
    QByteArray bytes(CorrectionsFileLimit + 1, Qt::Uninitialized);
    qsizetype used = 0;
    while (used < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw workspace::IoError::cannotRead(path);
        if (got == 0)
            break;
        used += got;
    }
    if (used > CorrectionsFileLimit)
        throw tooLarge();
    bytes.truncate(used);
    return bytes;
}

// Calls line(text, end) for each line of the bytes: its bytes without the
// line end, and the line end itself ("\r\n", "\n", or none for a last line
// without one).
template<typename Line>
void forEachLine(QByteArrayView bytes, Line line)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype feed = bytes.indexOf('\n', start);
        const qsizetype end = feed < 0 ? bytes.size() : feed;
        const qsizetype next = feed < 0 ? bytes.size() : feed + 1;
        const qsizetype textEnd = end > start && bytes[end - 1] == '\r' ? end - 1 : end;
        line(bytes.sliced(start, textEnd - start), bytes.sliced(textEnd, next - textEnd));
        start = next;
    }
}

// The word and cut of one line; nothing for a comment, an empty line or a
// line that gives no cut.
std::optional<std::pair<QString, WordCut>> readLine(QByteArrayView bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const QStringView line = QStringView(text).trimmed();
    if (line.isEmpty() || line.startsWith(u'#'))
        return std::nullopt;
    QString word = lettersOf(line);
    workspace::Result<WordCut> cut = cutFromNotation(word, line);
    if (!cut)
        return std::nullopt;
    return std::pair{std::move(word), std::move(*cut)};
}

const QByteArray Heading = "# Corrections des coupes et des lettres muettes : un mot par ligne,\r\n"
                           "# \"|\" entre deux syllabes, les lettres muettes entre crochets.\r\n";

} // namespace

Corrections Corrections::read(const QString &path)
{
    return fromBytes(correctionsBytes(path));
}

Corrections Corrections::fromBytes(QByteArrayView bytes)
{
    Corrections corrections;
    forEachLine(bytes, [&](QByteArrayView text, QByteArrayView) {
        if (auto read = readLine(text))
            corrections.set(read->first, read->second);
    });
    return corrections;
}

QByteArray withCorrection(QByteArrayView bytes, QStringView word, const WordCut &cut)
{
    const QString key = folded(word);
    const QByteArray line = notationOf(key, cut).toUtf8();
    if (bytes.isEmpty())
        return Heading + line + "\r\n";
    QByteArray out;
    out.reserve(bytes.size() + line.size() + 4);
    bool replaced = false;
    forEachLine(bytes, [&](QByteArrayView text, QByteArrayView end) {
        const auto read = readLine(text);
        if (read && folded(read->first) == key) {
            out += line;
            replaced = true;
        } else {
            out += text;
        }
        out += end;
    });
    if (!replaced) {
        if (!out.endsWith('\n'))
            out += "\r\n";
        out += line + "\r\n";
    }
    return out;
}

const WordCut *Corrections::find(QStringView word) const
{
    if (m_cuts.isEmpty())
        return nullptr;
    const auto found = m_cuts.constFind(folded(word));
    return found == m_cuts.cend() ? nullptr : &*found;
}

void Corrections::set(QStringView word, const WordCut &cut)
{
    m_cuts.insert(folded(word), cut);
}

Corrections Corrections::overriddenBy(const Corrections &text) const
{
    Corrections both = *this;
    for (auto it = text.m_cuts.cbegin(); it != text.m_cuts.cend(); ++it)
        both.m_cuts.insert(it.key(), it.value());
    return both;
}

workspace::Result<Corrections> correctWord(const QString &workingFolder, QStringView word, QStringView notation)
{
    return correctWordInFile(workingFolder + u'/' + CorrectionsFile, word, notation);
}

workspace::Result<Corrections> correctWordInFile(const QString &path, QStringView word, QStringView notation)
{
    workspace::Result<WordCut> cut = cutFromNotation(word, notation);
    if (!cut)
        return workspace::refuse(cut.reason());
    // Another program correcting in the same folder waits for this one: each
    // reads the file as the other left it and adds its word to it.
    QLockFile lock(path + u".lock"_s);
    if (!lock.tryLock(LockWait))
        return workspace::refuse(u"Les corrections sont en cours d'enregistrement par un autre Tessavo : la "
                                 u"correction de « %1 » n'est pas faite. Recommencez dans un instant."_s
                                     .arg(word));
    const QByteArray updated = withCorrection(correctionsBytes(path), word, *cut);
    workspace::writeBytes(path, updated);
    return Corrections::fromBytes(updated);
}

} // namespace readingaids
