#include "hyphens.h"

#include <QFile>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace sources {

namespace {

bool isHyphen(QChar c)
{
    return c == u'-' || c == u'\u2010' || c == u'\u00AD';
}

// The cut word's part before the hyphen: its letters and inner hyphens.
QStringView partBefore(QStringView line)
{
    qsizetype start = line.size() - 1; // the hyphen
    while (start > 0 && (line[start - 1].isLetter() || (isHyphen(line[start - 1]) && start >= 2 && line[start - 2].isLetter())))
        --start;
    return line.sliced(start, line.size() - 1 - start);
}

QStringView partAfter(QStringView line)
{
    qsizetype end = 0;
    while (end < line.size() && line[end].isLetter())
        ++end;
    return line.first(end);
}

QStringView trimmedEnd(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.first(end);
}

QStringView trimmedStart(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    return text.sliced(start);
}

} // namespace

QString defaultWordList()
{
    return u"/usr/share/dict/french"_s;
}

bool endsWithCut(QStringView line)
{
    line = trimmedEnd(line);
    return line.size() >= 2 && isHyphen(line.back()) && line[line.size() - 2].isLetter();
}

bool startsWithLetter(QStringView line, bool lowerCaseOnly)
{
    line = trimmedStart(line);
    return !line.isEmpty() && line.front().isLetter() && (!lowerCaseOnly || !line.front().isUpper());
}

QSet<QString> wordsToLookUp(const QList<QStringList> &paragraphs)
{
    QSet<QString> words;
    for (const QStringList &lines : paragraphs) {
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QStringView line = trimmedEnd(lines[i]);
            if (!endsWithCut(line))
                continue;
            const QString before = partBefore(line).toString().toLower();
            const QString after = partAfter(trimmedStart(lines[i + 1])).toString().toLower();
            const QString last = before.section(u'-', -1);
            words << before + u'-' + after << before + after << last << after;
        }
    }
    return words;
}

QSet<QString> knownWords(const QSet<QString> &words, const QString &wordList)
{
    QSet<QString> known;
    QFile file(wordList);
    if (words.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return known;
    QTextStream in(&file);
    QString word;
    while (in.readLineInto(&word)) {
        word = word.toLower();
        if (words.contains(word))
            known.insert(word);
    }
    return known;
}

bool keepsHyphen(QStringView before, QChar hyphen, QStringView after, const QSet<QString> &known)
{
    static const QStringList particles = {u"je"_s, u"tu"_s, u"il"_s, u"elle"_s, u"on"_s, u"nous"_s, u"vous"_s,
                                          u"ils"_s, u"elles"_s, u"moi"_s, u"toi"_s, u"lui"_s, u"leur"_s,
                                          u"ci"_s, u"là"_s, u"ce"_s, u"y"_s, u"en"_s, u"t"_s};
    const QString lowerBefore = before.toString().toLower();
    const QString lowerAfter = after.toString().toLower();
    if (hyphen == u'\u00AD')
        return false;
    if (!after.isEmpty() && after.front().isUpper())
        return true;
    if (known.contains(lowerBefore + u'-' + lowerAfter))
        return true;
    if (known.contains(lowerBefore + lowerAfter))
        return false;
    if (particles.contains(lowerAfter))
        return true;
    return known.contains(lowerBefore.section(u'-', -1)) && known.contains(lowerAfter);
}

QString joinLines(const QStringList &lines, const QSet<QString> &known)
{
    QString text;
    for (const QString &next : lines) {
        const QStringView line = trimmedStart(next);
        if (text.isEmpty()) {
            text = trimmedEnd(next).toString();
            continue;
        }
        if (endsWithCut(text) && startsWithLetter(line, false)) {
            const QChar hyphen = text.back();
            if (!keepsHyphen(partBefore(text), hyphen, partAfter(line), known))
                text.chop(1);
            text += trimmedEnd(line);
            continue;
        }
        text += u' ';
        text += trimmedEnd(line);
    }
    return text;
}

} // namespace sources
