#include "readingaids/bodyaids.h"
#include "readingaids/corrections.h"
#include "readingaids/entendu.h"
#include "readingaids/silentbyear.h"
#include "readingaids/syllablesbyear.h"
#include "readingaids/writtenbyear.h"
#include "workspace/ioerror.h"

#include "visible.h"
#include "wholewords.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// The word's syllables by ear joined by "|", and its silent letters in
// brackets; "?" when it does not align.
struct ByEar
{
    QString syllables;
    QString silent;
};

ByEar byEar(const QString &word)
{
    const Pronunciation said = Pronouncer::process().pronounce(word);
    const auto graphemes = align(spelling(word), said.phonemes);
    if (said.outcome != Pronunciation::Outcome::Pronounced || !graphemes)
        return {u"?"_s, u"? "_s + said.ipa};
    return {syllablesByEar(word, *graphemes).join(u'|'), bracketSilent(word, silentByEar(word, *graphemes))};
}

class ByEarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!entenduAvailability())
            GTEST_SKIP() << "espeak-ng cannot be loaded here";
    }
};

using SyllablesByEar = ByEarTest;

TEST_F(SyllablesByEar, CutsTheWrittenSyllablesASchoolTeaches)
{
    const struct
    {
        QString word;
        QString expected;
    } cases[] = {
        // the letters of one sound are never cut
        {u"bateau"_s, u"ba|teau"_s}, {u"château"_s, u"châ|teau"_s}, {u"montagne"_s, u"mon|ta|gne"_s},
        {u"champignon"_s, u"cham|pi|gnon"_s}, {u"cygne"_s, u"cy|gne"_s}, {u"chocolat"_s, u"cho|co|lat"_s},
        {u"maison"_s, u"mai|son"_s}, {u"quatre"_s, u"qua|tre"_s}, {u"feuille"_s, u"feu|ille"_s},
        {u"abeille"_s, u"a|bei|lle"_s}, {u"réveiller"_s, u"ré|vei|ller"_s},
        // but after a: its ill is the [j] of the syllable after
        {u"paille"_s, u"pa|ille"_s}, {u"travailler"_s, u"tra|va|iller"_s}, {u"muraille"_s, u"mu|ra|ille"_s},
        {u"fille"_s, u"fi|lle"_s}, {u"sculpteur"_s, u"sculp|teur"_s},
        // between two consonants, but not before l or r after a consonant
        {u"arbre"_s, u"ar|bre"_s}, {u"table"_s, u"ta|ble"_s}, {u"parti"_s, u"par|ti"_s},
        // a double consonant is cut in two
        {u"pomme"_s, u"pom|me"_s}, {u"terre"_s, u"ter|re"_s}, {u"poisson"_s, u"pois|son"_s},
        // a final e not said makes a syllable with the consonant before it
        {u"petite"_s, u"pe|ti|te"_s}, {u"journée"_s, u"jour|née"_s}, {u"lycée"_s, u"ly|cée"_s},
        {u"chantent"_s, u"chan|tent"_s}, {u"samedi"_s, u"sa|me|di"_s},
        // a silent final consonant stays in the last syllable
        {u"enfants"_s, u"en|fants"_s}, {u"parents"_s, u"pa|rents"_s},
        // hiatus
        {u"théâtre"_s, u"thé|â|tre"_s}, {u"Noël"_s, u"No|ël"_s}, {u"maïs"_s, u"ma|ïs"_s},
        // the y of two i, a glide with its consonant
        {u"crayon"_s, u"cra|yon"_s}, {u"nation"_s, u"na|tion"_s},
        // but an ou said [w] after a consonant is the vowel a child reads
        {u"jouer"_s, u"jou|er"_s}, {u"jouet"_s, u"jou|et"_s}, {u"oui"_s, u"oui"_s}, {u"pingouin"_s, u"pin|gouin"_s},
        // an elided word goes with the syllable after it
        {u"d'eau"_s, u"d'eau"_s}, {u"l'école"_s, u"l'é|co|le"_s}, {u"aujourd'hui"_s, u"au|jour|d'hui"_s}, {u"nuit"_s, u"nuit"_s},
        {u"cuisine"_s, u"cui|si|ne"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.word));
        EXPECT_EQ(byEar(c.word).syllables, c.expected);
    }
}

using SilentByEar = ByEarTest;

TEST_F(SilentByEar, MarksTheLettersNotSaidInTheWordSaidAlone)
{
    const struct
    {
        QString word;
        QString expected;
    } cases[] = {
        // said: nothing marked
        {u"il"_s, u"il"_s}, {u"sac"_s, u"sac"_s}, {u"avec"_s, u"avec"_s}, {u"parc"_s, u"parc"_s},
        {u"cheval"_s, u"cheval"_s}, {u"bus"_s, u"bus"_s}, {u"ours"_s, u"ours"_s}, {u"huit"_s, u"[h]uit"_s},
        {u"samedi"_s, u"samedi"_s}, {u"fil"_s, u"fil"_s},
        // final consonants, -ent of verbs, the final e, h
        {u"petit"_s, u"peti[t]"_s}, {u"chaud"_s, u"chau[d]"_s}, {u"banc"_s, u"ban[c]"_s},
        {u"temps"_s, u"tem[ps]"_s}, {u"chantent"_s, u"chant[ent]"_s}, {u"parlent"_s, u"parl[ent]"_s},
        {u"petite"_s, u"petit[e]"_s}, {u"hiver"_s, u"[h]iver"_s}, {u"est"_s, u"e[st]"_s},
        {u"prend"_s, u"pren[d]"_s}, {u"gentil"_s, u"genti[l]"_s}, {u"enfants"_s, u"enfan[ts]"_s},
        {u"manger"_s, u"mange[r]"_s}, {u"oignon"_s, u"o[i]gnon"_s}, {u"poisson"_s, u"poisson"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.word));
        EXPECT_EQ(byEar(c.word).silent, c.expected);
    }
}

TEST(EntenduWords, LeavesAClosingQuoteOutOfTheWordBeforeIt)
{
    EXPECT_EQ(wordsOf(u"'Viens' dit-il.<br>"), (QStringList{u"Viens"_s, u"dit"_s, u"il"_s}));
    EXPECT_EQ(wordsOf(u"l'arbre' et aujourd’hui<br>"), (QStringList{u"l'arbre"_s, u"et"_s, u"aujourd’hui"_s}));
}

TEST_F(SilentByEar, NeverSendsALoneConsonantOrAWordPastFortyLettersToEspeak)
{
    const QString long41 = u"anticonstitutionnellement"_s + u"abcdefghijklmnop"_s;
    ASSERT_EQ(long41.size(), 41);
    EXPECT_EQ(Pronouncer::process().pronounce(u"l").outcome, Pronunciation::Outcome::NotAWord);
    EXPECT_EQ(Pronouncer::process().pronounce(long41).outcome, Pronunciation::Outcome::TooLong);
    EarWords words(Pronouncer::process());
    words.prepareBody({u"l' d' "_s + long41 + u"<br>"_s});
    EXPECT_EQ(words.pronounced(), 0);
}

// Beyond forty letters a word is cut by its letters: a word of a million
// letters is written as the letter rules write it, in a moment.
TEST_F(SyllablesByEar, CutsAWordPastFortyLettersByItsLetters)
{
    for (const QString &word : {u"anticonstitutionnellementanticonstitution"_s, u"ba"_s.repeated(500000)}) {
        const QString line = u"Le "_s + word + u".<br>"_s;
        EarCount count;
        const QStringList byEar = byEarBodyLines({line}, WrittenAid::Couleurs, {}, &count);
        EXPECT_EQ(byEar.constFirst(), treatBodyLine(BodyAid::Couleurs, line));
        EXPECT_EQ(count.words, 2);
        EXPECT_EQ(count.byLetters, 1);
    }
}

// The three aids by ear on a line of a new student's text.
TEST_F(SyllablesByEar, WritesTheLinesOfTheThreeAids)
{
    const QString line = u"Le petit bateau, sur la montagne : les enfants chantent l'hiver.<br>"_s;
    const auto c = [](QStringList s) {
        QString out = u"<FONT color=\"red\">"_s + s.takeFirst();
        const char16_t *colours[] = {u"green", u"blue", u"black", u"orange", u"red"};
        for (qsizetype k = 0; k < s.size(); ++k)
            out += u"</FONT><FONT color=\""_s + QString::fromUtf16(colours[k % 5]) + u"\">"_s + s[k];
        return out + u"</FONT>"_s;
    };
    EXPECT_EQ(visible(treatBodyLine(BodyAid::CouleursEntendu, line)),
              visible(u" "_s + c({u"Le"_s}) + u" "_s + c({u"pe"_s, u"tit"_s}) + u" "_s + c({u"ba"_s, u"teau,"_s}) + u" "_s
                      + c({u"sur"_s}) + u" "_s + c({u"la"_s}) + u" "_s + c({u"mon"_s, u"ta"_s, u"gne"_s}) + u" "_s + c({u":"_s})
                      + u" "_s + c({u"les"_s}) + u" "_s + c({u"en"_s, u"fants"_s}) + u" "_s + c({u"chan"_s, u"tent"_s})
                      + u" "_s + c({u"l'hi"_s, u"ver."_s}) + u"<br>"_s));
    EXPECT_EQ(visible(treatBodyLine(BodyAid::TiretsEntendu, u"Le porte-monnaie de l'arc-en-ciel.<br>")),
              visible(keptWhole(u" Le {por-te-mon-naie} de l'arc-en-ciel.<br>"_s)));
    // What stands before a word's first letter stays with its first syllable.
    EXPECT_EQ(visible(treatBodyLine(BodyAid::CouleursEntendu, u"(bateau)<br>")),
              visible(u" "_s + c({u"(ba"_s, u"teau)"_s}) + u"<br>"_s));
    EXPECT_EQ(visible(treatBodyLine(BodyAid::TiretsEntendu, u"«bateau» (l'hiver)<br>")),
              visible(keptWhole(u" {«ba-teau»} {(l'hi-ver)}<br>"_s)));
    const QString g = silentOpening.toString();
    const QString e = silentClosing.toString();
    EXPECT_EQ(visible(treatBodyLine(BodyAid::MuettesEntendu, u"Il a un sac avec un petit chat, ils chantent l'hiver.<br>")),
              visible(u" Il a un sac avec un peti"_s + g + u"t"_s + e + u" cha"_s + g + u"t"_s + e + u", il"_s + g + u"s"_s
                      + e + u" chant"_s + g + u"ent"_s + e + u" l'"_s + g + u"h"_s + e + u"iver.<br>"_s));
}

TEST(Corrections, ReadsTheTeachersNotationOrSaysWhyNot)
{
    const struct
    {
        QString word;
        QString notation;
        QString shown;  // the notation of the cut; empty when refused
        QString reason; // a part of the French refusal
    } cases[] = {
        {u"oignon"_s, u"o[i]|gnon"_s, u"o[i]|gnon"_s, {}},
        {u"Oignon"_s, u" O[I]|GNON "_s, u"O[i]|gnon"_s, {}},
        {u"chantent"_s, u"chan|t[ent]"_s, u"chan|t[ent]"_s, {}},
        {u"petite"_s, u"pe|ti|t[e]"_s, u"pe|ti|t[e]"_s, {}},
        {u"oignon"_s, u""_s, {}, u"vide"_s},
        {u"oignon"_s, u"oi|gnion"_s, {}, u"n'a pas les lettres de « oignon »"_s},
        {u"oignon"_s, u"o||ignon"_s, {}, u"au moins une lettre"_s},
        {u"oignon"_s, u"oignon|"_s, {}, u"au moins une lettre"_s},
        {u"oignon"_s, u"o[i|gnon"_s, {}, u"refermé"_s},
        {u"oignon"_s, u"o]i[gnon"_s, {}, u"paires"_s},
        {u"oignon"_s, u"[oignon]"_s, {}, u"muettes"_s},
        // a letter whose lower case is longer: "İ" lowers to i + U+0307
        {u"\u0130le"_s, u"i\u0307|le"_s, {}, u"n'a pas les lettres"_s},
        {u"\u0130le"_s, u"\u0130|le"_s, u"\u0130|le"_s, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.notation));
        const workspace::Result<WordCut> cut = cutFromNotation(c.word, c.notation);
        if (c.shown.isEmpty()) {
            ASSERT_FALSE(cut);
            EXPECT_TRUE(cut.reason().contains(c.reason)) << visible(cut.reason());
        } else {
            ASSERT_TRUE(cut) << visible(cut.reason());
            EXPECT_EQ(notationOf(c.word, *cut), c.shown);
        }
    }
}

// A line of the file whose letters lower-case to another length than the
// word's ("i" + U+0307 for "İ") is never applied to that word: every aid
// writes it as without the file, however long the word.
TEST(Corrections, NeverCutAWordAtPlacesOfAnotherLength)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString dotted = u"i\u0307"_s;
    QStringList notation;
    for (int k = 0; k < 3000; ++k)
        notation.append(dotted);
    QFile file(folder.filePath(CorrectionsFile));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((dotted + u"|le|s\r\n"_s + notation.join(u'|') + u"\r\n"_s).toUtf8());
    file.close();
    const QString line = u"Les \u0130les et "_s + u"\u0130"_s.repeated(3000) + u".<br>"_s;
    QStringList plain;
    for (const BodyAid aid : {BodyAid::Couleurs, BodyAid::Tirets, BodyAid::Muettes})
        plain.append(treatBodyLine(aid, line));
    const Corrections read = Corrections::read(file.fileName());
    EXPECT_EQ(read.size(), 2);
    QStringList corrected;
    for (const BodyAid aid : {BodyAid::Couleurs, BodyAid::Tirets, BodyAid::Muettes})
        corrected.append(treatBodyLine(aid, line, {}, read));
    EXPECT_EQ(corrected, plain);
    // The teacher's correction of such a word is refused, nothing written.
    QTemporaryDir other;
    const workspace::Result<Corrections> refused = correctWord(other.path(), u"\u0130les", dotted + u"|les"_s);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.reason().contains(u"n'a pas les lettres"_s)) << visible(refused.reason());
    EXPECT_FALSE(QFile::exists(QDir(other.path()).filePath(CorrectionsFile)));
}

// One correction changes the lines of its word, or adds one, and leaves the
// teacher's comments and every line it cannot read as they were, to the
// byte.
TEST(Corrections, ACorrectionKeepsEveryOtherLineByteForByte)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(CorrectionsFile);
    const QByteArray before = "# mes corrections, revues en mai\r\n"
                              "\xff\xfe o||n illisible\r\n"
                              "fi[l]s\n"
                              "  O[i]|gnon  \r\n"
                              "[tout]\r\n"
                              "# sans fin de ligne";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();
    ASSERT_TRUE(correctWord(folder.path(), u"Oignon", u"oi|gnon"));
    const workspace::Result<Corrections> last = correctWord(folder.path(), u"papa", u"pa|pa");
    ASSERT_TRUE(last);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("# mes corrections, revues en mai\r\n"
                                         "\xff\xfe o||n illisible\r\n"
                                         "fi[l]s\n"
                                         "oi|gnon\r\n"
                                         "[tout]\r\n"
                                         "# sans fin de ligne\r\n"
                                         "pa|pa\r\n"));
    file.close();
    const Corrections read = Corrections::read(path);
    EXPECT_EQ(read.size(), 3);
    EXPECT_EQ(*last, read);
}

// Two programs correcting in the same working folder at once: every
// correction that either said was made is in the file.
TEST(Corrections, TwoProgramsCorrectingAtOnceKeepEveryWord)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    constexpr int each = 60;
    std::vector<pid_t> programs;
    for (const QChar program : {u'a', u'b'}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failed = 0;
            for (int k = 0; k < each; ++k) {
                const QString digits = QString::number(k);
                try {
                    failed += !correctWord(folder.path(), program + digits, program + u"|"_s + digits);
                } catch (const workspace::Failure &) {
                    ++failed;
                }
            }
            ::_exit(failed == 0 ? 0 : 1);
        }
        programs.push_back(pid);
    }
    for (const pid_t pid : programs) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "every correction said it was made";
    }
    EXPECT_EQ(Corrections::read(folder.filePath(CorrectionsFile)).size(), 2 * each);
}

// What stands in the place of the file and is not a file of the teacher's is
// refused in French, unread, and a correction then writes nothing.
TEST(Corrections, RefusesWhatIsNotAFileOfItsOwnOrTooLarge)
{
    const struct
    {
        const char *name;
        std::function<bool(const QString &path)> make;
        QString reason;
    } cases[] = {
        {"a named pipe", [](const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; },
         u"n'est pas un fichier ordinaire"_s},
        {"a link to /dev/zero", [](const QString &path) { return QFile::link(u"/dev/zero"_s, path); },
         u"est un lien"_s},
        {"a link to a file", [](const QString &path) {
             QFile target(path + u".vrai"_s);
             return target.open(QIODevice::WriteOnly) && target.write("pa|pa\r\n") == 7 && QFile::link(target.fileName(), path);
         },
         u"est un lien"_s},
        {"160 MB", [](const QString &path) {
             QFile file(path);
             return file.open(QIODevice::WriteOnly) && file.resize(160LL * 1024 * 1024);
         },
         u"dépasse 1 Mo"_s},
        {"one byte past the limit", [](const QString &path) {
             QFile file(path);
             return file.open(QIODevice::WriteOnly) && file.write(QByteArray(CorrectionsFileLimit + 1, '#'));
         },
         u"dépasse 1 Mo"_s},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString path = folder.filePath(CorrectionsFile);
        ASSERT_TRUE(c.make(path));
        const QFileInfo before(path);
        const auto refused = [&](const std::function<void()> &act) {
            try {
                act();
            } catch (const workspace::IoError &error) {
                return error.message();
            }
            return QString();
        };
        EXPECT_TRUE(refused([&] { Corrections::read(path); }).contains(c.reason));
        EXPECT_TRUE(refused([&] { (void)correctWord(folder.path(), u"oignon", u"o[i]|gnon"); }).contains(c.reason));
        const QFileInfo after(path);
        EXPECT_EQ(after.isSymLink(), before.isSymLink());
        EXPECT_EQ(after.size(), before.size());
    }
    // Exactly at the limit, a file is read.
    QTemporaryDir folder;
    QFile file(folder.filePath(CorrectionsFile));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray line = "pa|pa\r\n";
    QByteArray bytes = line + QByteArray(CorrectionsFileLimit - line.size(), '#');
    file.write(bytes);
    file.close();
    EXPECT_EQ(Corrections::read(file.fileName()).size(), 1);
}

// A correction changes every aid, by ear or not, and is kept in the working
// folder for the next start.
TEST_F(SyllablesByEar, ACorrectionChangesEveryAidAndSurvivesARestart)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString line = u"Un oignon.<br>"_s;
    const QString couleurs = treatBodyLine(BodyAid::Couleurs, line);
    const QString tirets = treatBodyLine(BodyAid::Tirets, line);
    const QString muettes = treatBodyLine(BodyAid::Muettes, line);
    EXPECT_EQ(treatBodyLine(BodyAid::TiretsEntendu, line), keptWhole(u" Un {oi-gnon.}<br>"_s));

    const workspace::Result<Corrections> refused = correctWord(folder.path(), u"oignon", u"ognon");
    EXPECT_FALSE(refused);
    EXPECT_FALSE(QFile::exists(folder.filePath(CorrectionsFile)));
    const workspace::Result<Corrections> corrected = correctWord(folder.path(), u"oignon", u"o[i]|gnon");
    ASSERT_TRUE(corrected);
    const Corrections &in = *corrected;

    EXPECT_EQ(treatBodyLine(BodyAid::TiretsEntendu, line, {}, in), keptWhole(u" Un {oi-gnon.}<br>"_s));
    EXPECT_EQ(treatBodyLine(BodyAid::Tirets, line, {}, in), keptWhole(u" Un {oi-gnon.}<br>"_s));
    EXPECT_NE(tirets, keptWhole(u" Un {oi-gnon.}<br>"_s));
    EXPECT_EQ(treatBodyLine(BodyAid::Muettes, line, {}, in), keptWhole(u" Un {o-ignon}.<br>"_s));
    EXPECT_EQ(treatBodyLine(BodyAid::MuettesEntendu, line, {}, in),
              u" Un o"_s + silentOpening.toString() + u"i"_s + silentClosing.toString() + u"gnon.<br>"_s);
    EXPECT_NE(treatBodyLine(BodyAid::Couleurs, line, {}, in), couleurs);

    // The next start reads the file; without it, the letter rules as before.
    EXPECT_EQ(treatBodyLine(BodyAid::Couleurs, line), couleurs);
    EXPECT_EQ(treatBodyLine(BodyAid::Tirets, line), tirets);
    EXPECT_EQ(treatBodyLine(BodyAid::Muettes, line), muettes);
    const Corrections restarted = Corrections::read(folder.filePath(CorrectionsFile));
    EXPECT_EQ(restarted, in);
    EXPECT_EQ(treatBodyLine(BodyAid::Tirets, line, {}, restarted), keptWhole(u" Un {oi-gnon.}<br>"_s));
    // Another working folder's corrections, used at the same time, give
    // their own cut: each text is written with the corrections it is given.
    QTemporaryDir otherFolder;
    const workspace::Result<Corrections> other = correctWord(otherFolder.path(), u"oignon", u"oig|non");
    ASSERT_TRUE(other);
    EXPECT_EQ(treatBodyLine(BodyAid::TiretsEntendu, line, {}, *other), keptWhole(u" Un {oig-non.}<br>"_s));
    EXPECT_EQ(treatBodyLine(BodyAid::TiretsEntendu, line, {}, in), keptWhole(u" Un {oi-gnon.}<br>"_s));
}

} // namespace
