#include "entenducases.h"

#include "readingaids/silentbyear.h"
#include "readingaids/son.h"
#include "readingaids/syllabify.h"
#include "readingaids/writtenbyear.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace entenducases {

namespace {

// The rows of a table of cases: a row a line, three or four fields parted by
// tabs; empty lines and lines opening with "#" are none. Nothing when the
// file cannot be read or a line is not a row.
template<typename Row>
std::optional<QList<Row>> readRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QList<Row> rows;
    int number = 0;
    for (const QByteArray &bytes : file.readAll().split('\n')) {
        ++number;
        const QString line = QString::fromUtf8(bytes);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        if (fields.size() < 3 || fields.size() > 4)
            return std::nullopt;
        rows.append(Row{number, fields[0], fields[1], fields[2], fields.value(3)});
    }
    return rows;
}

} // namespace

std::optional<QList<Case>> read(const QString &path)
{
    return readRows<Case>(path);
}

QList<Outcome> run(const QList<Case> &cases, readingaids::EarWords &words)
{
    QStringList all;
    for (const Case &c : cases)
        all.append(c.word);
    words.prepareBody(all);
    QList<Outcome> outcomes;
    readingaids::LineBuffer out;
    for (const Case &c : cases) {
        out.clear();
        readingaids::entenduLine(c.word, readingaids::soundNamedBy(c.sound), c.sound, words, out);
        Outcome outcome{c, out.toString(), {}, false};
        outcome.marked.replace(readingaids::markOpening.toString(), u"["_s);
        outcome.marked.replace(readingaids::markClosing.toString(), u"]"_s);
        const readingaids::EarWord *read = words.find(c.word);
        outcome.alignment = read ? readingaids::showReading(c.word, *read) : u"?"_s;
        outcome.agrees = outcome.marked == c.expected;
        outcomes.append(outcome);
    }
    return outcomes;
}

std::optional<QList<WordCase>> readWords(const QString &path)
{
    return readRows<WordCase>(path);
}

QList<WordOutcome> runWords(const QList<WordCase> &cases, readingaids::EarWords &words)
{
    QStringList all;
    for (const WordCase &c : cases)
        all.append(c.word);
    words.prepareBody(all);
    const readingaids::Corrections none;
    QList<WordOutcome> outcomes;
    for (const WordCase &c : cases) {
        WordOutcome outcome{c, {}, {}, {}, false, false, false};
        readingaids::WrittenWord written;
        if (!readingaids::writtenByEar(c.word, &words, none, written)) {
            // As the aids do: the word cut by its letters, no silent letter.
            outcome.byLetters = true;
            readingaids::cutTextWord(c.word, written.syllables);
            written.silent = QList<bool>(c.word.size(), false);
        }
        QStringList parts;
        for (const readingaids::Syllable &s : written.syllables)
            parts.append(c.word.mid(s.begin, s.end - s.begin));
        outcome.syllables = parts.join(u'|');
        outcome.silent = readingaids::bracketSilent(c.word, written.silent);
        const readingaids::EarWord *read = words.find(c.word);
        outcome.alignment = read ? readingaids::showReading(c.word, *read) : u"?"_s;
        outcome.syllablesAgree = outcome.syllables == c.syllables;
        outcome.silentAgrees = outcome.silent == c.silent;
        outcomes.append(outcome);
    }
    return outcomes;
}

} // namespace entenducases
