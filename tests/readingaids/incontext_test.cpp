#include "readingaids/bodyaids.h"
#include "readingaids/corrections.h"
#include "readingaids/entendu.h"
#include "readingaids/incontext.h"
#include "readingaids/phonemes.h"
#include "readingaids/writtenbyear.h"
#include "workspace/textfile.h"

#include "visible.h"

#include <QFile>

#include <gtest/gtest.h>

#include <iostream>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// What the sentence decides, word by word: "mot=phonèmes" (IPA) for a row of
// the table, "mot=verbe" for a verb in -ent after its subject, "mot=seul"
// for a row that keeps the word as said alone.
QStringList decided(QStringView line)
{
    QStringList out;
    for (const ReadInContext &read : readInContext(line)) {
        const QString word = line.sliced(read.begin, read.length).toString();
        out.append(word + u'='
                   + (read.verbInEnt ? u"verbe"_s : read.phonemes.isEmpty() ? u"seul"_s : ipaFromPhonemes(read.phonemes)));
    }
    return out;
}

// The rules by their clues, without espeak-ng: the subject of a verb in -ent
// (past object pronouns and "ne", through "qui"), and each kind of clue of the table.
TEST(ReadInContext, DecidesEachWordByItsClue)
{
    const struct
    {
        const char *name;
        QString line;
        QStringList expected;
    } cases[] = {
        {"ils, elles, a plural noun group, qui", u"Ils content. Les poules couvent. Les petites poules qui couvent.<br>"_s,
         {u"content=verbe"_s, u"couvent=verbe"_s, u"couvent=verbe"_s}},
        {"pronouns between", u"Mes amis me content ; elles ne nous en content pas.<br>"_s,
         {u"content=verbe"_s, u"content=verbe"_s}},
        {"no subject: noun or adjective", u"Le couvent ; il est content ; les poules, couvent<br>"_s, {}},
        {"a short word is never a verb", u"Ils dent<br>"_s, {}},
        {"fils", u"le fils, les fils électriques<br>"_s, {u"fils=fis"_s, u"fils=fil"_s}},
        {"as, sens", u"Tu en as, un as ; je ne sens rien, le sens<br>"_s,
         {u"as=a"_s, u"as=as"_s, u"sens=sɑ̃"_s}},
        {"as elided, as-tu", u"Tu l’as vu ? As-tu faim ?<br>"_s, {u"l’as=la"_s, u"As=a"_s}},
        {"fier, est", u"se fier, s'y fier ; à l'est, c'est, il est<br>"_s,
         {u"fier=fje"_s, u"fier=fje"_s, u"l'est=lɛst"_s}},
        {"tous, plus", u"tous les jours ; ils sont tous là ; en plus. Ne plus<br>"_s,
         {u"tous=tu"_s, u"plus=plys"_s}},
        {"numbers", u"six chats, six amis, six. Dix-sept, dix heures<br>"_s,
         {u"six=si"_s, u"six=siz"_s, u"six=sis"_s, u"Dix=dis"_s, u"dix=diz"_s}},
        {"inside tags and across them", u"<b>Ils</b> <i>content</i><br>"_s, {u"content=verbe"_s}},
        {"a mark ends the clause", u"Ils ; content<br>"_s, {}},
        {"négligent, convient", u"Il est négligent ; ils négligent. Ils convient ; il convient<br>"_s,
         {u"négligent=neɡliʒɑ̃"_s, u"négligent=neɡliʒ"_s, u"convient=kɔ̃vi"_s}},
        {"souvent is never a verb", u"Ils souvent<br>"_s, {u"souvent=seul"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decided(c.line), c.expected) << visible(c.line);
    }
}

class InContext : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!Pronouncer::process().available())
            GTEST_SKIP() << "espeak-ng cannot be loaded here";
    }
};

QString greyed(const QString &output)
{
    return QString(output).replace(u"<FONT color=\"gray\">"_s, u"["_s).replace(u"</FONT>"_s, u"]"_s);
}

// The aids by ear read each word in its sentence, and a mark is never a letter.
TEST_F(InContext, TheAidsByEarReadTheWordsInTheirSentence)
{
    const QString line = u"Les poules couvent dans le couvent. Ils content une histoire ; il est content.<br>"_s;
    EXPECT_EQ(greyed(treatBodyLine(BodyAid::MuettesEntendu, line)),
              u" Le[s] poul[es] couv[ent] dan[s] le couven[t]. Il[s] cont[ent] un[e] [h]istoir[e] ; il e[st] "
              u"conten[t].<br>"_s);
    EXPECT_EQ(greyed(treatBodyLine(BodyAid::MuettesEntendu, u"le fils ; les fils électriques ; tu as<br>"_s)),
              u" le fi[l]s ; le[s] fil[s] électriqu[es] ; tu a[s]<br>"_s);
    // The sound "an" is not in the verb.
    EXPECT_EQ(treatBodyLine(BodyAid::SonEntendu, u"Ils couvent.<br>"_s, u"an"), u"Ils couvent.<br>"_s);
    // Apostrophes (both), hyphens and quotes: never grey, never cut apart.
    EXPECT_EQ(greyed(treatBodyLine(BodyAid::MuettesEntendu, u"l’arbre d'Anne, « c’est » dit-il<br>"_s)),
              u" l’arbr[e] d'Ann[e], « c’e[st] » di[t]-il<br>"_s);
    const QString dashed = treatBodyLine(BodyAid::TiretsEntendu, u"l’arbre l'enfant aujourd’hui<br>"_s);
    for (const QString &apart : {u"l’-"_s, u"-’"_s, u"l'-"_s, u"-'"_s})
        EXPECT_FALSE(dashed.contains(apart)) << visible(dashed);
}

// The checked sentences of tests/fixtures/readingaids/phrases-entendues.tsv:
// each target word's syllables and silent letters by ear in its sentence,
// against the same without the sentence (each word read alone, as before).
TEST_F(InContext, TheCheckedSentences)
{
    QFile file(QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/phrases-entendues.tsv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    EarWords words(Pronouncer::process());
    const Corrections none;
    struct Count
    {
        int syllables = 0, silent = 0, both = 0;
    } before, after;
    int targets = 0;
    QStringList wrong, worse;
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        ASSERT_GE(f.size(), 4) << visible(line);
        const QString &sentence = f[0];
        const QString target = f[1].section(u'#', 0, 0);
        const int occurrence = f[1].contains(u'#') ? f[1].section(u'#', 1).toInt() : 1;
        words.prepareBody({sentence});
        LineReadings inContext;
        inContext.read(sentence);
        int seen = 0;
        QStringView part;
        forEachLetterWord(sentence, [&](QStringView w) {
            if (w == target && ++seen == occurrence)
                part = w;
        });
        ASSERT_FALSE(part.isNull()) << visible(line);
        ++targets;
        const auto measure = [&](const LineReadings *context, Count &count) {
            WrittenWord w;
            if (!writtenByEar(part, &words, none, w, context)) {
                cutTextWord(part, w.syllables);
                w.silent = QList<bool>(part.size(), false);
            }
            WordCut cut;
            for (qsizetype k = 1; k < w.syllables.size(); ++k)
                cut.starts.append(w.syllables[k].begin);
            const QString syllables = notationOf(part, WordCut{cut.starts, QList<bool>(part.size(), false)});
            const QString silent = notationOf(part, WordCut{{}, w.silent});
            count.syllables += syllables == f[2];
            count.silent += silent == f[3];
            count.both += syllables == f[2] && silent == f[3];
            return syllables == f[2] && silent == f[3] ? QString() : syllables + u' ' + silent;
        };
        const QString wasWrong = measure(nullptr, before);
        const QString isWrong = measure(&inContext, after);
        if (!isWrong.isEmpty())
            wrong.append(sentence + u" | "_s + f[1] + u" : "_s + isWrong + u" (attendu "_s + f[2] + u' ' + f[3] + u')');
        if (wasWrong.isEmpty() && !isWrong.isEmpty())
            worse.append(wrong.constLast());
    }
    const auto percent = [targets](int n) { return QString::number(100.0 * n / targets, 'f', 2); };
    std::cout << "targets " << targets << "\nbefore: syllables " << before.syllables << ", silent " << before.silent
              << ", both " << before.both << " (" << percent(before.both).toStdString() << " %)\nafter: syllables "
              << after.syllables << ", silent " << after.silent << ", both " << after.both << " ("
              << percent(after.both).toStdString() << " %)\n";
    for (const QString &w : wrong)
        std::cout << "  still wrong: " << w.toStdString() << '\n';
    // No word right alone becomes wrong in its sentence, and at least 97 % are right.
    EXPECT_TRUE(worse.isEmpty()) << worse.join(u'\n');
    EXPECT_GE(100 * after.both, 97 * targets);
}

} // namespace
