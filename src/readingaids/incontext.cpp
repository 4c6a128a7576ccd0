#include "incontext.h"

#include "entendu.h"
#include "markup.h"
#include "phonemes.h"
#include "trim.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace readingaids {

namespace {

// A word of the line, its elided beginning apart: "qu'ils" is "qu'" and "ils".
struct Token
{
    qsizetype begin = 0;
    qsizetype length = 0;
    QString prefix;             // lower case, the apostrophe written "'"
    QString base;               // lower case
    bool breakBefore = false;   // a mark stands between it and the word before
};

bool isLetter(QChar c)
{
    return c.isLetter() || c.isMark();
}

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019' || c == u'\u02BC';
}

// The marks that end a clause: the words on either side do not read each other.
bool endsAClause(QChar c)
{
    return QStringView(u".,;:!?\u2026\u00AB\u00BB\"\u201C\u201D()[]\u2013\u2014/").contains(c);
}

// The words of the line, as the aids by ear cut them (letters, with the
// apostrophes between two letters), outside tags and references.
QList<Token> tokensOf(QStringView line)
{
    QList<Token> tokens;
    bool pendingBreak = false;
    qsizetype i = 0;
    while (i < line.size()) {
        if (const qsizetype markup = markupLength(line, i)) {
            if (markup < 0)
                break;
            i += markup;
            continue;
        }
        const QChar c = line[i];
        if (!isLetter(c)) {
            pendingBreak = pendingBreak || endsAClause(c);
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < line.size()
               && (isLetter(line[i]) || (isApostrophe(line[i]) && i + 1 < line.size() && isLetter(line[i + 1]))))
            ++i;
        Token token;
        token.begin = start;
        token.length = i - start;
        QString lower;
        for (const QChar l : line.sliced(start, i - start))
            lower += isApostrophe(l) ? QChar(u'\'') : l.toLower();
        const qsizetype apostrophe = lower.lastIndexOf(u'\'');
        token.prefix = lower.first(apostrophe + 1);
        token.base = lower.sliced(apostrophe + 1);
        token.breakBefore = pendingBreak;
        pendingBreak = false;
        tokens.append(token);
    }
    return tokens;
}

bool inWords(QStringView words, QStringView word)
{
    if (word.isEmpty())
        return false;
    for (const QStringView w : words.tokenize(u' ', Qt::SkipEmptyParts)) {
        if (w == word)
            return true;
    }
    return false;
}

// The object pronouns and "ne" that stand between a subject and its verb.
constexpr QStringView clitics = u"ne me te se nous vous leur lui les le la y en l' n' m' t' s'";

// The determiners of a plural noun group.
constexpr QStringView pluralDeterminers =
    u"les des mes tes ses nos vos leurs ces plusieurs quelques certains certaines deux trois quatre cinq six sept "
    u"huit neuf dix vingt cent mille aux";

// Words in s or x that are no plural noun or adjective of a noun group.
constexpr QStringView notNouns =
    u"les des mes tes ses nos vos leurs ces nous vous ils dans sous tous plus moins très pas jamais toujours alors "
    u"mais puis depuis après chez vers sans avec es est êtes sommes avons avez sais sait vais vas fais dis suis "
    u"peux veux dois mois fois trois six dix deux temps corps pays souris voix prix ailleurs parfois autrefois";

// The determiners, after which a word is a noun.
constexpr QStringView determiners = u"le la l' un une mon ton son ma ta sa notre votre leur ce cet cette du de des au "
                                    u"aux les mes tes ses nos vos leurs ces d'";

bool isClitic(const Token &t)
{
    return inWords(clitics, t.base);
}

// The words that begin with an h said as a vowel (an h that takes the liaison).
constexpr QStringView hWithLiaison = u"heure heures homme hommes hiver hivers habit habits histoire histoires herbe "
                                     u"herbes hôtel hôtels huître huîtres hirondelle hirondelles habitant habitants";

bool beginsWithAVowelSound(const Token &t)
{
    const QString &w = t.prefix.isEmpty() ? t.base : t.prefix;
    if (w.isEmpty())
        return false;
    if (w.front() == u'h')
        return inWords(hWithLiaison, t.base);
    return QStringView(u"aeiouyàâäéèêëîïôöùûüœæ").contains(w.front());
}

struct Sentence
{
    const QList<Token> &tokens;

    bool joined(qsizetype k) const // token k follows k - 1 in the same clause
    {
        return k > 0 && k < tokens.size() && !tokens[k].breakBefore;
    }

    bool pluralNounGroupEndsAt(qsizetype j) const
    {
        const Token &noun = tokens[j];
        if (!(noun.base.endsWith(u's') || noun.base.endsWith(u'x')) || inWords(notNouns, noun.base)
            || !noun.prefix.isEmpty())
            return false;
        // Back over the adjectives in s or x to the determiner.
        for (qsizetype m = j; joined(m); --m) {
            const Token &before = tokens[m - 1];
            if (inWords(pluralDeterminers, before.base))
                return true;
            if (!(before.base.endsWith(u's') || before.base.endsWith(u'x')) || inWords(notNouns, before.base))
                return false;
        }
        return false;
    }

    // A subject that makes the word at k a verb: ils, elles (qu'ils), a plural
    // noun group, or "qui" after one, with object pronouns and "ne" between.
    bool subjectBefore(qsizetype k) const
    {
        qsizetype j = k - 1;
        while (joined(j + 1) && isClitic(tokens[j]))
            --j;
        if (!joined(j + 1))
            return false;
        const Token &w = tokens[j];
        if (w.base == u"ils" || w.base == u"elles")
            return true;
        if (w.base == u"qui")
            return joined(j) && (inWords(u"ceux celles", tokens[j - 1].base) || pluralNounGroupEndsAt(j - 1));
        return pluralNounGroupEndsAt(j) || pluralHeadBeforeComplement(j);
    }

    // A plural noun group and its complement with "de": "les poules de
    // Marie", "les conteurs du village". The word at j ends the complement;
    // a word right after a determiner is a noun, never the verb's.
    bool pluralHeadBeforeComplement(qsizetype j) const
    {
        if (inWords(determiners, tokens[j].base) || inWords(determiners, tokens[j].prefix))
            return false;
        for (qsizetype m = j; m > j - 4 && joined(m); --m) {
            const Token &before = tokens[m - 1];
            if (inWords(u"de du des d'", before.base) || before.prefix == u"d'")
                return before.prefix == u"d'" ? pluralNounGroupEndsAt(m - 2) && joined(m - 1)
                                               : joined(m - 1) && pluralNounGroupEndsAt(m - 2);
        }
        return false;
    }

    // One of the words before k, past object pronouns and "ne".
    bool before(qsizetype k, QStringView words) const
    {
        for (qsizetype j = k - 1; joined(j + 1); --j) {
            if (inWords(words, tokens[j].base) || inWords(words, tokens[j].prefix))
                return true;
            if (!isClitic(tokens[j]))
                return false;
        }
        return false;
    }

    bool applies(const HomographRule &rule, qsizetype k) const
    {
        const QStringView words(rule.words.data(), qsizetype(rule.words.size()));
        switch (rule.clue) {
        case Clue::AfterSubject:
            return subjectBefore(k);
        case Clue::Elided:
            return inWords(words, tokens[k].prefix);
        case Clue::Before:
            return before(k, words);
        case Clue::After:
            // The next word, or the next two joined by "_": "de_laine".
            return joined(k + 1)
                   && (inWords(words, tokens[k + 1].base)
                       || (joined(k + 2) && inWords(words, tokens[k + 1].base + u'_' + tokens[k + 2].base)));
        case Clue::AfterDeterminer:
            return joined(k) && inWords(words, tokens[k - 1].base);
        case Clue::NextConsonant:
            return joined(k + 1) && !beginsWithAVowelSound(tokens[k + 1]);
        case Clue::NextVowel:
            return joined(k + 1) && beginsWithAVowelSound(tokens[k + 1]);
        case Clue::EndOfClause:
            return !joined(k + 1);
        case Clue::Otherwise:
            return true;
        }
        return false;
    }
};

// What an elided beginning says.
QString elidedPhonemes(QStringView prefix)
{
    static const std::pair<QStringView, QStringView> said[] = {
        {u"l'", u"l"}, {u"d'", u"d"}, {u"n'", u"n"}, {u"m'", u"m"}, {u"t'", u"t"}, {u"s'", u"s"},
        {u"c'", u"s"}, {u"j'", u"ʒ"}, {u"qu'", u"k"}, {u"jusqu'", u"ʒysk"}, {u"lorsqu'", u"lɔʁsk"},
        {u"puisqu'", u"pɥisk"}};
    for (const auto &[written, phonemes] : said) {
        if (prefix == written)
            return phonemes.toString();
    }
    return {};
}

QString clueName(Clue clue)
{
    switch (clue) {
    case Clue::AfterSubject:
        return u"après un sujet"_s;
    case Clue::Elided:
        return u"élidé"_s;
    case Clue::Before:
        return u"après"_s;
    case Clue::After:
        return u"devant"_s;
    case Clue::AfterDeterminer:
        return u"après le déterminant"_s;
    case Clue::NextConsonant:
        return u"devant une consonne"_s;
    case Clue::NextVowel:
        return u"devant une voyelle"_s;
    case Clue::EndOfClause:
        return u"en fin de groupe"_s;
    case Clue::Otherwise:
        break;
    }
    return u"ailleurs"_s;
}

// A word in -ent that can be a verb: not a short word (dent, vent, lent,
// cent), which no subject makes a verb.
bool mayBeVerbInEnt(QStringView base)
{
    return base.size() >= 5 && base.endsWith(u"ent");
}

} // namespace

QList<ReadInContext> readInContext(QStringView line)
{
    const QStringView text = trimLine(line);
    const qsizetype offset = text.data() - line.data();
    const QList<Token> tokens = tokensOf(text);
    const Sentence sentence{tokens};
    QList<ReadInContext> read;
    for (qsizetype k = 0; k < tokens.size(); ++k) {
        const Token &t = tokens[k];
        ReadInContext word;
        word.begin = offset + t.begin;
        word.length = t.length;
        bool decided = false;
        bool listed = false;
        for (const HomographRule &rule : homographRules()) {
            if (QStringView(rule.word.data(), qsizetype(rule.word.size())) != t.base)
                continue;
            listed = true;
            if (!sentence.applies(rule, k))
                continue;
            const QStringView phonemes(rule.phonemes.data(), qsizetype(rule.phonemes.size()));
            if (!phonemes.isEmpty())
                word.phonemes = phonemesFromIpa(elidedPhonemes(t.prefix) + phonemes.toString());
            word.rule = t.base + u" : "_s + clueName(rule.clue)
                        + (rule.words.empty() ? QString() : u" « "_s + QStringView(rule.words.data(), qsizetype(rule.words.size())).toString() + u" »"_s)
                        + (phonemes.isEmpty() ? QString() : u" → ["_s + phonemes.toString() + u']');
            decided = true;
            break;
        }
        if (!listed && mayBeVerbInEnt(t.base) && sentence.subjectBefore(k)) {
            word.verbInEnt = true;
            word.rule = t.base + u" : verbe en -ent après son sujet"_s;
            decided = true;
        }
        if (decided)
            read.append(word);
    }
    return read;
}

QString phonemesInContext(const ReadInContext &read, QStringView alone)
{
    if (!read.verbInEnt)
        return read.phonemes;
    static const QString an = phonemesFromIpa(u"ɑ̃");
    if (alone.endsWith(an))
        return alone.chopped(an.size()).toString();
    return {};
}

QList<WordToCheck> wordsToCheck(const QStringList &bodyLines)
{
    QList<WordToCheck> found;
    QSet<QString> seen;
    const auto add = [&](qsizetype line, const QString &word, const QString &why) {
        if (!seen.contains(word.toLower() + u'\t' + why)) {
            seen.insert(word.toLower() + u'\t' + why);
            found.append({line, word, why});
        }
    };
    HeldWords held = processEarWords();
    if (held.words != nullptr)
        held.words->prepareBody(bodyLines);
    for (qsizetype n = 0; n < bodyLines.size(); ++n) {
        const QString &line = bodyLines[n];
        for (const ReadInContext &decided : readInContext(line))
            add(n, line.sliced(decided.begin, decided.length), decided.rule);
        for (const QString &word : wordsOf(line)) {
            forEachLetterWord(word, [&](QStringView part) {
                const EarWord *read = held.words != nullptr ? held.words->find(part) : nullptr;
                if (held.words != nullptr && (read == nullptr || !read->graphemes))
                    add(n, part.toString(), u"espeak-ng ne sait pas le lire : coupé d'après ses lettres"_s);
            });
        }
    }
    return found;
}

void LineReadings::read(QStringView line)
{
    m_base = line.data();
    m_size = line.size();
    m_words = readInContext(line);
}

const ReadInContext *LineReadings::find(QStringView word) const
{
    if (m_base == nullptr || word.data() < m_base || word.data() >= m_base + m_size)
        return nullptr;
    const qsizetype begin = word.data() - m_base;
    for (const ReadInContext &read : m_words) {
        if (read.begin == begin && read.length == word.size())
            return &read;
    }
    return nullptr;
}

} // namespace readingaids
