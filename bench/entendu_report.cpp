// The measures of the "entendu" mode, as reports (not tests):
//   tessavo_entendu_report couverture [LISTE [ECHECS]]
//       the share of the words of LISTE (one a line, UTF-8; Debian's
//       /usr/share/dict/french by default) whose phonemes from espeak-ng
//       align fully with their letters, the failures by kind and the ten most
//       frequent places where an alignment stops; ECHECS receives every
//       failed word.
//   tessavo_entendu_report exactitude [CAS]
//       the agreement of the marks with the checked cases of CAS
//       (tests/fixtures/readingaids/entendu-cas.tsv by default), and every
//       disagreement.
//   tessavo_entendu_report mots [MOTS]
//       the written syllables and the silent letters by ear against the
//       checked words of MOTS (tests/fixtures/readingaids/mots-entendus.tsv
//       by default): the agreement of each, the words cut by their letters,
//       and every disagreement.

#include "entenducases.h"

#include "readingaids/alignment.h"
#include "readingaids/entendu.h"
#include "readingaids/phonemes.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTextStream>

#include <algorithm>
#include <vector>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QStringList readWords(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList words;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (!word.isEmpty())
            words.append(word);
    }
    return words;
}

QString percent(qsizetype part, qsizetype whole)
{
    return QString::number(100.0 * double(part) / double(std::max<qsizetype>(whole, 1)), 'f', 2) + u" %"_s;
}

// Where the alignment of a word stops, as "letters ↔ phonemes": the next three
// letters at most and the next two phonemes at most.
QString stopPattern(const QString &spelling, const QString &phonemes)
{
    const AlignmentStop stop = alignmentStop(spelling, phonemes);
    const QString letters = spelling.mid(stop.letters, 3);
    const QString said = ipaFromPhonemes(QStringView(phonemes).mid(stop.phonemes, 2));
    return u"%1 ↔ %2"_s.arg(letters.isEmpty() ? u"(fin)"_s : letters, said.isEmpty() ? u"(fin)"_s : said);
}

struct Pattern
{
    qsizetype count = 0;
    QStringList examples;
};

int coverage(const QString &listPath, const QString &failuresPath)
{
    const QStringList words = readWords(listPath);
    if (words.isEmpty()) {
        std::fprintf(stderr, "Liste de mots illisible ou vide : %s\n", qPrintable(listPath));
        return 2;
    }
    Pronouncer &pronouncer = Pronouncer::process();
    if (!pronouncer.available()) {
        std::fprintf(stderr, "%s\n", qPrintable(pronouncer.unavailableReason()));
        return 2;
    }
    QFile failures(failuresPath);
    if (!failuresPath.isEmpty() && !failures.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::fprintf(stderr, "ECHECS ne peut pas être écrit : %s\n", qPrintable(failuresPath));
    QHash<Pronunciation::Outcome, qsizetype> outcomes;
    QHash<QString, Pattern> patterns;
    qsizetype aligned = 0;
    qsizetype unaligned = 0;
    std::vector<qsizetype> rowUses(correspondences().size(), 0);
    // An entry of the list is read as a line of a document would be: "au-delà"
    // is two words, and the entry is aligned when each of them is.
    for (const QString &entry : words) {
        bool entryAligned = true;
        QString failed;
        for (const QString &word : wordsOf(entry)) {
            const QString spelling = readingaids::spelling(word);
            const Pronunciation said = pronouncer.pronounce(spelling);
            if (said.outcome == Pronunciation::Outcome::Pronounced) {
                if (const auto graphemes = align(spelling, said.phonemes)) {
                    for (const Grapheme &grapheme : *graphemes)
                        ++rowUses[std::size_t(grapheme.row)];
                    continue;
                }
            }
            entryAligned = false;
            ++outcomes[said.outcome];
            QString pattern;
            if (said.outcome == Pronunciation::Outcome::Pronounced) {
                pattern = stopPattern(spelling, said.phonemes);
                Pattern &p = patterns[pattern];
                ++p.count;
                if (p.examples.size() < 4)
                    p.examples.append(u"%1 [%2]"_s.arg(word, said.ipa));
            }
            failed += u"%1\t%2\t%3\n"_s.arg(word, said.ipa, pattern);
        }
        if (entryAligned) {
            ++aligned;
            continue;
        }
        ++unaligned;
        if (failures.isOpen())
            failures.write(failed.toUtf8());
    }
    const qsizetype total = words.size();
    out() << "Mots : " << total << "\n"
          << "Alignés entièrement : " << aligned << " (" << percent(aligned, total) << ")\n"
          << "Non alignés : " << unaligned << " (" << percent(unaligned, total) << "), dont des mots :\n"
          << "  lus dans une autre langue par espeak-ng : " << outcomes[Pronunciation::Outcome::Foreign] << "\n"
          << "  avec un phonème qui n'est pas du français : " << outcomes[Pronunciation::Outcome::NotFrench] << "\n"
          << "  d'une lettre, épelée : " << outcomes[Pronunciation::Outcome::NotAWord] << "\n"
          << "  avec une lettre que le français n'écrit pas : " << outcomes[Pronunciation::Outcome::ForeignLetters] << "\n"
          << "  prononcés mais non alignés : " << outcomes[Pronunciation::Outcome::Pronounced] << "\n\n"
          << "Où l'alignement s'arrête le plus souvent (lettres ↔ phonèmes suivants) :\n";
    QList<std::pair<QString, Pattern>> sorted;
    for (auto it = patterns.cbegin(); it != patterns.cend(); ++it)
        sorted.append({it.key(), it.value()});
    std::sort(sorted.begin(), sorted.end(),
              [](const auto &a, const auto &b) { return a.second.count > b.second.count || (a.second.count == b.second.count && a.first < b.first); });
    for (qsizetype k = 0; k < std::min<qsizetype>(10, sorted.size()); ++k)
        out() << sorted[k].second.count << "\t" << sorted[k].first << "\t" << sorted[k].second.examples.join(u", "_s)
              << "\n";
    out() << "\nCorrespondances de la table et le nombre de mots où l'alignement les prend :\n";
    const auto rows = correspondences();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        out() << rowUses[r] << "\t" << QStringView(rows[r].spelling.data(), qsizetype(rows[r].spelling.size()))
              << " → " << QStringView(rows[r].ipa.data(), qsizetype(rows[r].ipa.size())) << "\n";
    }
    return 0;
}

int accuracy(const QString &casesPath)
{
    const std::optional<QList<entenducases::Case>> cases = entenducases::read(casesPath);
    if (!cases) {
        std::fprintf(stderr, "Cas illisibles : %s\n", qPrintable(casesPath));
        return 2;
    }
    if (!Pronouncer::process().available()) {
        std::fprintf(stderr, "%s\n", qPrintable(Pronouncer::process().unavailableReason()));
        return 2;
    }
    EarWords words(Pronouncer::process());
    const QList<entenducases::Outcome> outcomes = entenducases::run(*cases, words);
    qsizetype agreed = 0;
    for (const entenducases::Outcome &o : outcomes)
        agreed += o.agrees ? 1 : 0;
    out() << "Cas : " << outcomes.size() << "\n"
          << "Accord : " << agreed << " (" << percent(agreed, outcomes.size()) << ")\n\n"
          << "Désaccords (mot, son, attendu, obtenu, graphèmes → phonèmes, cause notée) :\n";
    for (const entenducases::Outcome &o : outcomes) {
        if (!o.agrees)
            out() << o.c.word << "\t" << o.c.sound << "\t" << o.c.expected << "\t" << o.marked << "\t"
                  << o.alignment << "\t" << (o.c.cause.isEmpty() ? u"(aucune)"_s : o.c.cause) << "\n";
    }
    return 0;
}

int writtenWords(const QString &path)
{
    const std::optional<QList<entenducases::WordCase>> cases = entenducases::readWords(path);
    if (!cases) {
        std::fprintf(stderr, "Mots illisibles : %s\n", qPrintable(path));
        return 2;
    }
    if (!Pronouncer::process().available()) {
        std::fprintf(stderr, "%s\n", qPrintable(Pronouncer::process().unavailableReason()));
        return 2;
    }
    EarWords words(Pronouncer::process());
    const QList<entenducases::WordOutcome> outcomes = entenducases::runWords(*cases, words);
    qsizetype syllables = 0;
    qsizetype silent = 0;
    qsizetype byLetters = 0;
    for (const entenducases::WordOutcome &o : outcomes) {
        syllables += o.syllablesAgree ? 1 : 0;
        silent += o.silentAgrees ? 1 : 0;
        byLetters += o.byLetters ? 1 : 0;
    }
    const qsizetype total = outcomes.size();
    out() << "Mots : " << total << "\n"
          << "Syllabes justes : " << syllables << " (" << percent(syllables, total) << ")\n"
          << "Lettres muettes justes : " << silent << " (" << percent(silent, total) << ")\n"
          << "Coupés par leurs lettres (non alignés) : " << byLetters << "\n\n"
          << "Désaccords (mot, attendu, obtenu, graphèmes → phonèmes, cause notée) :\n";
    for (const entenducases::WordOutcome &o : outcomes) {
        if (o.syllablesAgree && o.silentAgrees)
            continue;
        out() << o.c.word << "\t";
        if (!o.syllablesAgree)
            out() << "syllabes " << o.c.syllables << " ≠ " << o.syllables << "\t";
        if (!o.silentAgrees)
            out() << "muettes " << o.c.silent << " ≠ " << o.silent << "\t";
        out() << (o.byLetters ? u"(par les lettres) "_s : QString()) << o.alignment << "\t"
              << (o.c.cause.isEmpty() ? u"(aucune)"_s : o.c.cause) << "\n";
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().sliced(1);
    if (!arguments.isEmpty() && arguments[0] == u"couverture")
        return coverage(arguments.value(1, u"/usr/share/dict/french"_s), arguments.value(2));
    if (!arguments.isEmpty() && arguments[0] == u"exactitude")
        return accuracy(arguments.value(1, QStringLiteral(TESSAVO_SOURCE_DIR "/tests/fixtures/readingaids/entendu-cas.tsv")));
    if (!arguments.isEmpty() && arguments[0] == u"mots")
        return writtenWords(arguments.value(1, QStringLiteral(TESSAVO_SOURCE_DIR "/tests/fixtures/readingaids/mots-entendus.tsv")));
    std::fprintf(stderr, "Usage : tessavo_entendu_report couverture [LISTE [ECHECS]] | exactitude [CAS] | mots [MOTS]\n");
    return 2;
}
