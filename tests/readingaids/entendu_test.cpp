#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/entendu.h"
#include "readingaids/son.h"

#include "entenducases.h"
#include "visible.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace readingaids;

namespace {

// The line with each "[...]" set in the mark-up of the sound aid.
QString marked(QString line)
{
    line.replace(u"["_s, markOpening.toString());
    line.replace(u"]"_s, markClosing.toString());
    return line;
}

QString markedByEar(const QString &line, const QString &typed, EarWords &words)
{
    words.prepareBody({line});
    LineBuffer out;
    entenduLine(line, soundNamedBy(typed), typed, words, out);
    return out.toString();
}

TEST(EntenduSounds, ATypedSpellingNamesItsSoundWhateverItsCase)
{
    const struct
    {
        QString typed;
        QStringList ipa;
    } cases[] = {
        {u"on"_s, {u"ɔ̃"_s}},          {u"On"_s, {u"ɔ̃"_s}},         {u"om"_s, {u"ɔ̃"_s}},
        {u"en"_s, {u"ɑ̃"_s}},          {u"ain"_s, {u"ɛ̃"_s}},        {u"un"_s, {u"œ̃"_s, u"ɛ̃"_s}},
        {u"eu"_s, {u"ø"_s, u"œ"_s}},  {u"eau"_s, {u"o"_s, u"ɔ"_s}}, {u"oi"_s, {u"wa"_s}},
        {u"ou"_s, {u"u"_s}},          {u"é"_s, {u"e"_s}},          {u"ai"_s, {u"ɛ"_s}},
        {u"ch"_s, {u"ʃ"_s}},          {u"gn"_s, {u"ɲ"_s, u"nj"_s}}, {u"ph"_s, {u"f"_s}},
        {u"qu"_s, {u"k"_s}},          {u"s"_s, {u"s"_s}},          {u"r"_s, {u"ʁ"_s}},
        {u"x"_s, {u"ks"_s, u"ɡz"_s}}, {u"ill"_s, {u"j"_s, u"ij"_s}},
        // No sound: the letters are matched as typed.
        {u"on "_s, {}}, {u"c"_s, {}}, {u"h"_s, {}}, {u"ouu"_s, {}}, {QString(), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(visible(c.typed));
        QStringList ipa;
        for (const QString &phonemes : soundNamedBy(c.typed))
            ipa.append(ipaFromPhonemes(phonemes));
        EXPECT_EQ(ipa, c.ipa);
        EXPECT_EQ(namesSound(c.typed), !c.ipa.isEmpty());
    }
}

struct LineCase
{
    const char *name;
    QString line;
    QString typed;
    QString expected; // with [...] for the marks
};

// With espeak-ng's French voice, as installed with the program.
TEST(Entendu, MarksTheGraphemesThatSayTheSound)
{
    ASSERT_TRUE(Pronouncer::process().available()) << visible(Pronouncer::process().unavailableReason());
    const LineCase cases[] = {
        {"on is heard in bonbon only", u"Le bonbon de la bonne dame de Monsieur.<br>"_s, u"on"_s,
         u"Le b[on]b[on] de la bonne dame de Monsieur.<br>"_s},
        {"s where it says [s]", u"ceci, leçon, poisson, nation, maison, les<br>"_s, u"s"_s,
         u"[c]e[c]i, le[ç]on, poi[ss]on, na[t]ion, maison, les<br>"_s},
        {"z where s says it", u"maison, les<br>"_s, u"z"_s, u"mai[s]on, les<br>"_s},
        {"ou as written, capitals kept", u"Où est le goût ?<br>"_s, u"ou"_s, u"[Où] est le g[oû]t ?<br>"_s},
        {"a capital typed", u"Un bonbon<br>"_s, u"On"_s, u"Un b[on]b[on]<br>"_s},
        {"an elided word", u"L'oncle d’Ondine<br>"_s, u"on"_s, u"L'[on]cle d’[On]dine<br>"_s},
        {"never inside tags or references", u"<b class=\"on\">bonbon</b> &amp;on<br>"_s, u"on"_s,
         u"<b class=\"on\">b[on]b[on]</b> &amp;[on]<br>"_s},
        {"the line trimmed", u" \tun bonbon\t<br> "_s, u"on"_s, u"un b[on]b[on]\t<br>"_s},
    };
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(entenduBodyLines({c.line}, c.typed), QStringList{marked(c.expected)});
    }
}

// What espeak-ng cannot read, and what cannot be aligned, gets the typed
// letters marked, as the sound aid marks them.
TEST(Entendu, FallsBackToTheTypedLettersForAWordItCannotRead)
{
    EarWords words(Pronouncer::process());
    ASSERT_TRUE(Pronouncer::process().available());
    const LineCase cases[] = {
        {"read as English by espeak-ng", u"Une jeep, trop tard.<br>"_s, u"p"_s, u"Une jee[p], trop tard.<br>"_s},
        {"spelled out", u"xkcd et kilo<br>"_s, u"k"_s, u"x[k]cd et [k]ilo<br>"_s},
        {"a lone letter", u"l a<br>"_s, u"l"_s, u"[l] a<br>"_s},
    };
    for (const LineCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(markedByEar(c.line, c.typed, words), marked(c.expected));
    }
    words.prepareBody({u"Une jeep"_s});
    const EarWord *jeep = words.find(u"jeep");
    ASSERT_NE(jeep, nullptr);
    EXPECT_EQ(jeep->pronunciation.outcome, Pronunciation::Outcome::Foreign);
    EXPECT_FALSE(jeep->graphemes.has_value());
}

// The body aid through the frame, as the layout screen writes it.
TEST(Entendu, WritesTheBodyByEarAndLeavesTheFrameToTheFrame)
{
    const QStringList document = {u"<html>"_s,       u"<title>Bonbon</title>"_s, u"<!--DEBUT-->"_s,
                                  u"<img src=\"bonbon.jpg\">"_s, u"Le bonbon.<br>"_s,  u"La bonne.<br>"_s,
                                  u"<!--FIN-->"_s,  u"</html>"_s};
    QStringList expected = document;
    expected[4] = marked(u"Le b[on]b[on].<br>"_s);
    EXPECT_EQ(writeBodyAid(document, BodyAid::SonEntendu, u"on"), expected);
    EXPECT_THROW(writeBodyAid(document.mid(3), BodyAid::SonEntendu, u"on"), DocumentRefused);
}

// A spelling that names no sound gives the sound aid's document, byte for byte.
TEST(Entendu, GivesTheSoundAidsOwnOutputForASpellingThatNamesNoSound)
{
    const QStringList document = {u"<!--DEBUT-->"_s, u"logo"_s, u"  bon bonbon on<br>"_s, u"c'est cela<br>"_s,
                                  u"<!--FIN-->"_s};
    for (const QString &typed : {u"on "_s, u"c"_s, u"h"_s, u"bon"_s, QString()}) {
        SCOPED_TRACE(visible(typed));
        EXPECT_EQ(writeBodyAid(document, BodyAid::SonEntendu, typed), writeBodyAid(document, BodyAid::Son, typed));
    }
}

TEST(Entendu, WithoutEspeakSaysWhyInFrenchAndMatchesTheLetters)
{
    Pronouncer absent(u"tessavo-sans-espeak-ng"_s);
    EXPECT_FALSE(absent.available());
    EXPECT_TRUE(absent.unavailableReason().startsWith(u"Le mode « entendu » n'est pas disponible : "_s))
        << visible(absent.unavailableReason());
    EXPECT_EQ(absent.pronounce(u"bonbon").outcome, Pronunciation::Outcome::Unavailable);
    EarWords words(absent);
    for (const QString &line : {u"Le bonbon de la bonne dame de Monsieur.<br>"_s, u"<b>on</b> on<br>"_s}) {
        SCOPED_TRACE(visible(line));
        EXPECT_EQ(markedByEar(line, u"on"_s, words), sonLine(line, u"on"));
    }
}

// The words of the last document are held; a new document keeps those it
// shares with it and drops the others.
TEST(EntenduCache, HoldsTheWordsOfTheDocumentInUseOnly)
{
    EarWords words(Pronouncer::process());
    const QStringList first = {u"<!--DEBUT-->"_s, u"<img src=\"maison.jpg\">"_s, u"Le bonbon, le <b>chat</b>.<br>"_s,
                               u"<!--FIN-->"_s};
    words.prepare(first);
    EXPECT_EQ(words.size(), 3);
    EXPECT_EQ(words.pronounced(), 3);
    EXPECT_EQ(words.find(u"maison"), nullptr); // the logo line is no body line
    words.prepare(first);
    EXPECT_EQ(words.pronounced(), 3);
    const QStringList second = {u"<!--DEBUT-->"_s, u"logo"_s, u"Le chien et le chat.<br>"_s, u"<!--FIN-->"_s};
    words.prepare(second);
    EXPECT_EQ(words.size(), 4);
    EXPECT_EQ(words.pronounced(), 5); // "chien" and "et"
    EXPECT_EQ(words.find(u"bonbon"), nullptr);
    ASSERT_NE(words.find(u"Chat"), nullptr);
    EXPECT_EQ(showReading(u"Chat", *words.find(u"Chat")), u"Ch|a|t → ʃ|a|∅"_s);
}

// The checked cases of tests/fixtures/readingaids/entendu-cas.tsv: every
// case agrees but those whose disagreement is known and explained (in the
// fixture and docs/entendu.md), and each of those still disagrees.
TEST(EntenduFixture, AgreesWithTheCheckedCasesButTheKnownDisagreements)
{
    const auto cases = entenducases::read(QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/entendu-cas.tsv"));
    ASSERT_TRUE(cases.has_value());
    EarWords words(Pronouncer::process());
    for (const entenducases::Outcome &o : entenducases::run(*cases, words)) {
        SCOPED_TRACE((u"line %1: %2 / %3 -> %4 (%5)"_s.arg(o.c.line).arg(o.c.word, o.c.sound, o.marked, o.alignment))
                         .toStdString());
        EXPECT_EQ(o.agrees, o.c.cause.isEmpty());
    }
}

// The checked words of tests/fixtures/readingaids/mots-entendus.tsv: each
// word's syllables and silent letters agree but for the words whose
// disagreement is known and explained, and each of those still disagrees.
TEST(EntenduFixture, CutsTheCheckedWordsButTheKnownDisagreements)
{
    const auto cases = entenducases::readWords(QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/mots-entendus.tsv"));
    ASSERT_TRUE(cases.has_value());
    EarWords words(Pronouncer::process());
    for (const entenducases::WordOutcome &o : entenducases::runWords(*cases, words)) {
        SCOPED_TRACE((u"line %1: %2 -> %3 %4 (%5)"_s.arg(o.c.line).arg(o.c.word, o.syllables, o.silent, o.alignment))
                         .toStdString());
        EXPECT_EQ(o.syllablesAgree && o.silentAgrees, o.c.cause.isEmpty());
    }
}

} // namespace
