#include "layout/aidcommands.h"

#include "layout/entendubox.h"
#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using layout::AidBox;
using layout::AidBoxes;
using layout::Css;
using readingaids::BodyAid;
namespace line = layout::line;
namespace flag = layout::flag;

namespace {

// A student folder with the shipped style sheet and one reading document, and
// the screen's state over it: the style sheet lines and the document lines.
struct Student
{
    Student()
    {
        cheminW = QDir::toNativeSeparators(dir.path()) + QDir::separator();
        QFile::copy(QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/style.css"), cheminW + u"style.css"_s);
        files = {cheminW, cheminW + u"loup.html"_s};
        QFile::copy(QStringLiteral(TESSAVO_FIXTURES_DIR "/readingaids/loup.html"), files.document);
        QFile(files.document).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        plain = workspace::readLines(files.document);
        plainBytes = bytesOf(files.document);
        css = layout::loadCss(cheminW);
        lines = plain;
    }

    // The document shown, without its mark line.
    QStringList shown() const
    {
        QStringList l = workspace::readLines(files.document);
        if (layout::carriesAid(l))
            l.removeLast();
        return l;
    }
    Css saved() const { return layout::loadCss(cheminW); }

    QTemporaryDir dir;
    QString cheminW;
    layout::WorkingCopies files;
    QStringList plain;
    QByteArray plainBytes;
    Css css;
    QStringList lines;
};

AidBoxes boxesOf(std::initializer_list<AidBox> on)
{
    AidBoxes boxes;
    for (AidBox box : on)
        boxes[box] = true;
    return boxes;
}

} // namespace

TEST(AidCommands, EachRowOfTheExclusionTable)
{
    struct Case
    {
        const char *name;
        AidBox clicked;
        AidBoxes before;
        QString line47, line48; // before
        AidBoxes after;
        QString expected47, expected48;
        std::optional<BodyAid> shown; // nothing: the untransformed document
        bool emptySound;
    };
    const QString none;
    const Case cases[] = {
        {"colours on, dashes taken off", AidBox::SyllablesInColours, boxesOf({AidBox::SyllablesWithDashes}), flag::Tiret, none,
         boxesOf({AidBox::SyllablesInColours}), none, flag::Syllabe, BodyAid::Couleurs, false},
        {"colours on, silent letters taken off", AidBox::SyllablesInColours, boxesOf({AidBox::SilentLetters}), flag::Muet, none,
         boxesOf({AidBox::SyllablesInColours}), none, flag::Syllabe, BodyAid::Couleurs, false},
        {"colours on in place of the sentences", AidBox::SyllablesInColours, boxesOf({AidBox::SentencesInColours}), none,
         flag::Phrase, boxesOf({AidBox::SyllablesInColours}), none, flag::Syllabe, BodyAid::Couleurs, false},
        {"colours on, nothing else on", AidBox::SyllablesInColours, {}, flag::Tiret, none,
         boxesOf({AidBox::SyllablesInColours}), flag::Tiret, flag::Syllabe, BodyAid::Couleurs, false},
        {"dashes on, colours taken off", AidBox::SyllablesWithDashes, boxesOf({AidBox::SyllablesInColours}), none, flag::Syllabe,
         boxesOf({AidBox::SyllablesWithDashes}), flag::Tiret, none, BodyAid::Tirets, false},
        {"dashes on, silent letters taken off", AidBox::SyllablesWithDashes, boxesOf({AidBox::SilentLetters}), flag::Muet,
         flag::Phoneme, boxesOf({AidBox::SyllablesWithDashes}), flag::Tiret, none, BodyAid::Tirets, false},
        {"dashes on in place of the sentences", AidBox::SyllablesWithDashes, boxesOf({AidBox::SentencesInColours}), none,
         flag::Phrase, boxesOf({AidBox::SyllablesWithDashes}), flag::Tiret, none, BodyAid::Tirets, false},
        {"dashes on over a marked sound", AidBox::SyllablesWithDashes, {}, none, flag::Phoneme,
         boxesOf({AidBox::SyllablesWithDashes}), flag::Tiret, none, BodyAid::Tirets, false},
        {"silent letters on, dashes taken off", AidBox::SilentLetters, boxesOf({AidBox::SyllablesWithDashes}), flag::Tiret,
         flag::Phoneme, boxesOf({AidBox::SilentLetters}), flag::Muet, none, BodyAid::Muettes, false},
        {"silent letters on, colours and sentences", AidBox::SilentLetters,
         boxesOf({AidBox::SyllablesInColours, AidBox::SentencesInColours}), none, flag::Phrase,
         boxesOf({AidBox::SilentLetters}), flag::Muet, none, BodyAid::Muettes, false},
        {"sentences on, dashes taken off", AidBox::SentencesInColours, boxesOf({AidBox::SyllablesWithDashes}), flag::Tiret, none,
         boxesOf({AidBox::SentencesInColours}), none, flag::Phrase, BodyAid::Phrases, false},
        {"sentences on in place of the colours", AidBox::SentencesInColours, boxesOf({AidBox::SyllablesInColours}),
         flag::Tiret, flag::Syllabe, boxesOf({AidBox::SentencesInColours}), flag::Tiret, flag::Phrase, BodyAid::Phrases,
         false},
        {"colours off", AidBox::SyllablesInColours, boxesOf({AidBox::SyllablesInColours}), flag::Tiret, flag::Syllabe, {},
         flag::Tiret, none, std::nullopt, true},
        {"dashes off", AidBox::SyllablesWithDashes, boxesOf({AidBox::SyllablesWithDashes}), flag::Tiret, flag::Phoneme, {}, none,
         flag::Phoneme, std::nullopt, false},
        {"silent letters off", AidBox::SilentLetters, boxesOf({AidBox::SilentLetters}), flag::Muet, none, {}, none, none,
         std::nullopt, false},
        {"sentences off, the colours checked at opening go too", AidBox::SentencesInColours,
         boxesOf({AidBox::SyllablesInColours, AidBox::SentencesInColours}), none, flag::Phrase, {}, none, none,
         std::nullopt, true},
        {"colours off, the dashes checked at opening go too", AidBox::SyllablesInColours,
         boxesOf({AidBox::SyllablesInColours, AidBox::SyllablesWithDashes}), flag::Tiret, flag::Syllabe, {}, none, none,
         std::nullopt, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Student s;
        // The boxes that are on have their aid in the document.
        for (AidBox box : {AidBox::SyllablesInColours, AidBox::SyllablesWithDashes, AidBox::SilentLetters, AidBox::SentencesInColours}) {
            if (c.before[box])
                layout::clickAidBox(box, {}, s.css, s.files, s.lines);
        }
        s.css[line::AidFirstSlot] = c.line47;
        s.css[line::AidSecondSlot] = c.line48;
        s.css[line::End].clear();

        const layout::AidOutcome outcome = layout::clickAidBox(c.clicked, c.before, s.css, s.files, s.lines);

        EXPECT_EQ(outcome.boxes, c.after);
        EXPECT_EQ(outcome.emptySound, c.emptySound);
        const Css saved = s.saved();
        EXPECT_EQ(saved[line::AidFirstSlot], c.expected47);
        EXPECT_EQ(saved[line::AidSecondSlot], c.expected48);
        EXPECT_EQ(saved[line::End], flag::Fin);
        if (c.shown) {
            EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, *c.shown));
        } else {
            EXPECT_EQ(bytesOf(s.files.document), s.plainBytes);
            EXPECT_FALSE(QFile::exists(s.files.copie()));
        }
        EXPECT_EQ(s.lines, s.plain);
        // Whatever is on, taking it off gives the teacher's text back.
        layout::restore(s.files);
        EXPECT_EQ(bytesOf(s.files.document), s.plainBytes);
    }
}

TEST(AidCommands, TheSoundTypedLetterByLetter)
{
    Student s;
    AidBoxes boxes = boxesOf({AidBox::SyllablesInColours});
    layout::clickAidBox(AidBox::SyllablesInColours, {}, s.css, s.files, s.lines);
    const struct
    {
        QString field;
        bool marked;
    } steps[] = {{u"o"_s, true}, {u"ou"_s, true}, {u"o"_s, true}, {QString(), false}};
    for (const auto &step : steps) {
        SCOPED_TRACE(visible(step.field));
        s.css[line::AidSecondSlot] = flag::Syllabe;
        const layout::AidOutcome outcome = layout::changeSound(step.field, boxes, s.css, s.files, s.lines);
        boxes = outcome.boxes;
        // The marked sound replaces the colours in the view: their box goes.
        EXPECT_EQ(boxes, AidBoxes{});
        if (step.marked)
            EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, BodyAid::Son, step.field));
        else
            EXPECT_EQ(bytesOf(s.files.document), s.plainBytes);
        EXPECT_EQ(s.saved()[line::AidSecondSlot], flag::Phoneme);
        EXPECT_EQ(s.saved()[line::End], flag::Fin);
    }
}

TEST(AidCommands, TheSoundByEar)
{
    Student s;
    const AidBoxes boxes;
    for (const QString &field : {u"ou"_s, u"c"_s}) {
        SCOPED_TRACE(visible(field));
        layout::changeSound(field, boxes, s.css, s.files, s.lines, true);
        EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, BodyAid::SonEntendu, field));
        EXPECT_EQ(s.saved()[line::AidSecondSlot], flag::Phoneme);
    }
    // "c" names no sound: its letters are marked, as without the box.
    EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, BodyAid::Son, u"c"));
    layout::changeSound(QString(), boxes, s.css, s.files, s.lines, true);
    EXPECT_EQ(bytesOf(s.files.document), s.plainBytes);
}

TEST(AidCommands, TheEntenduBoxMarksTheSoundInTheFieldAgainAndIsRemembered)
{
    Student s;
    const QString remembered = s.cheminW + layout::EntenduFile;
    layout::clickAidBox(AidBox::SyllablesInColours, {}, s.css, s.files, s.lines);
    const QByteArray colours = bytesOf(s.files.document);
    const AidBoxes boxes = boxesOf({AidBox::SyllablesInColours});

    // An empty field: the colours are put on again by ear, and the box is remembered.
    const std::optional<layout::AidOutcome> again = layout::changeEntendu(true, QString(), boxes, s.css, s.files, s.lines);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->boxes.syllablesInColours);
    EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, BodyAid::CouleursEntendu));
    EXPECT_NE(bytesOf(s.files.document), colours);
    EXPECT_EQ(bytesOf(remembered), "entendu=oui\r\n");
    // Nothing checked and nothing typed: only the box is remembered.
    layout::clickAidBox(AidBox::SyllablesInColours, boxes, s.css, s.files, s.lines);
    EXPECT_FALSE(layout::changeEntendu(false, QString(), {}, s.css, s.files, s.lines));
    EXPECT_EQ(bytesOf(remembered), "entendu=non\r\n");

    layout::changeSound(u"ou"_s, boxes, s.css, s.files, s.lines);
    const struct
    {
        bool byEar;
        BodyAid aid;
        QByteArray file;
    } steps[] = {{true, BodyAid::SonEntendu, "entendu=oui\r\n"}, {false, BodyAid::Son, "entendu=non\r\n"}};
    for (const auto &step : steps) {
        SCOPED_TRACE(step.byEar);
        const std::optional<layout::AidOutcome> outcome =
            layout::changeEntendu(step.byEar, u"ou"_s, boxes, s.css, s.files, s.lines);
        ASSERT_TRUE(outcome);
        EXPECT_EQ(outcome->boxes, AidBoxes{});
        EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, step.aid, u"ou"_s));
        EXPECT_EQ(bytesOf(remembered), step.file);
        EXPECT_EQ(s.saved()[line::AidSecondSlot], flag::Phoneme);
    }
    // "Où" and "où" say [u] without the letters "ou": the two differ.
    EXPECT_NE(readingaids::writeBodyAid(s.plain, BodyAid::SonEntendu, u"ou"_s),
              readingaids::writeBodyAid(s.plain, BodyAid::Son, u"ou"_s));
}

// "À la suite": the colours of the syllables go on along the line, put on
// again at once when the syllables show, remembered for the student.
TEST(AidCommands, TheSyllablesInARowArePutOnAgainAndRemembered)
{
    Student s;
    EXPECT_FALSE(layout::syllablesInARow(s.cheminW));
    const AidBoxes boxes = boxesOf({AidBox::SyllablesInColours});
    layout::clickAidBox(AidBox::SyllablesInColours, {}, s.css, s.files, s.lines);
    const std::optional<layout::AidOutcome> inARow =
        layout::changeSyllablesInARow(true, boxes, s.css, s.files, s.lines, false);
    ASSERT_TRUE(inARow);
    EXPECT_EQ(inARow->boxes, boxes);
    EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, BodyAid::Couleurs, {}, {},
                                                   readingaids::SyllableColours::InARow));
    EXPECT_NE(s.shown(), readingaids::writeBodyAid(s.plain, BodyAid::Couleurs));
    EXPECT_EQ(bytesOf(s.cheminW + layout::SuiteFile), "suite=oui\r\n");
    EXPECT_TRUE(layout::syllablesInARow(s.cheminW));
    EXPECT_EQ(s.saved()[line::AidSecondSlot], flag::Syllabe);
    // Off again: the document of the boxes as before, byte for byte.
    layout::changeSyllablesInARow(false, boxes, s.css, s.files, s.lines, false);
    EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, BodyAid::Couleurs));
    EXPECT_FALSE(layout::syllablesInARow(s.cheminW));
    // Without the syllables in colours, only the box is remembered.
    layout::clickAidBox(AidBox::SyllablesInColours, boxes, s.css, s.files, s.lines);
    EXPECT_FALSE(layout::changeSyllablesInARow(true, {}, s.css, s.files, s.lines, false));
    EXPECT_EQ(bytesOf(s.files.document), s.plainBytes);
    EXPECT_TRUE(layout::syllablesInARow(s.cheminW));
}

// A correction "pour ce texte" is kept beside the document, changes that
// text only, and wins over the working folder's for it.
TEST(AidCommands, ACorrectionForThisTextChangesThatTextOnly)
{
    Student s;
    QTemporaryDir working;
    const QString other = s.cheminW + u"autre.html"_s;
    QFile::copy(s.files.document, other);
    const AidBoxes boxes = boxesOf({AidBox::SyllablesWithDashes});
    layout::clickAidBox(AidBox::SyllablesWithDashes, {}, s.css, s.files, s.lines);
    const QString word = u"loup"_s; // in the fixture's text
    ASSERT_TRUE(s.plain.join(u' ').contains(word));

    // For all the students first, then for this text: this text's wins here.
    ASSERT_TRUE(layout::correctWordCut(working.path(), word, u"lo|up"_s, {}, boxes, false, s.css, s.files, s.lines));
    ASSERT_TRUE(layout::correctWordCut(working.path(), word, u"l|oup"_s, {}, boxes, false, s.css, s.files, s.lines,
                                       layout::CorrectionFor::ThisText));
    EXPECT_TRUE(s.shown().join(u'\n').contains(u"l-oup"_s)) << visible(s.shown().join(u'\n'));
    EXPECT_FALSE(s.shown().join(u'\n').contains(u"lo-up"_s));
    EXPECT_EQ(bytesOf(readingaids::textCorrectionsPath(s.files.document)).right(7), "l|oup\r\n");
    EXPECT_EQ(bytesOf(working.path() + u'/' + readingaids::CorrectionsFile).right(7), "lo|up\r\n");

    // Another text of the student reads the working folder's only.
    const readingaids::Corrections forOther = layout::loadCorrections(working.path(), other);
    EXPECT_EQ(readingaids::notationOf(word, *forOther.find(word)), u"lo|up"_s);
    const readingaids::Corrections forThis = layout::loadCorrections(working.path(), s.files.document);
    EXPECT_EQ(readingaids::notationOf(word, *forThis.find(word)), u"l|oup"_s);
    EXPECT_FALSE(QFile::exists(readingaids::textCorrectionsPath(other)));
}

TEST(AidCommands, TheEntenduBoxAtOpeningAndWhatItSaysBesideTheField)
{
    Student s;
    const QString remembered = s.cheminW + layout::EntenduFile;
    const struct
    {
        const char *name;
        std::optional<QByteArray> file;
        bool checked;
    } files[] = {
        {"no file: by ear", std::nullopt, true},
        {"checked", "entendu=oui\r\n", true},
        {"unchecked", "entendu=non\r\n", false},
        {"written by hand", " entendu=oui \n", true},
        {"anything else", "oui\r\n", false},
        {"empty", "", false},
    };
    for (const auto &f : files) {
        SCOPED_TRACE(f.name);
        QFile::remove(remembered);
        if (f.file)
            writeFile(remembered, *f.file);
        const layout::EntenduBox box = layout::entenduBox(s.cheminW);
        EXPECT_TRUE(box.enabled);
        EXPECT_EQ(box.checked, f.checked);
        EXPECT_EQ(box.reason, QString());
    }

    const layout::EntenduBox enabled{true, false, {}};
    const layout::EntenduBox missing{false, false, u"Le mode « entendu » n'est pas disponible : ..."_s};
    const QString lettersOnly = u"lettres : aucun son de ce nom"_s;
    const struct
    {
        const char *name;
        layout::EntenduBox box;
        bool checked;
        QString sound;
        QString note;
    } notes[] = {
        {"a sound", enabled, true, u"on"_s, QString()},
        {"a sound in capitals", enabled, true, u"ON"_s, QString()},
        {"no sound named", enabled, true, u"c"_s, lettersOnly},
        {"a blank after the sound", enabled, true, u"on "_s, lettersOnly},
        {"an empty field", enabled, true, QString(), QString()},
        {"box unchecked", enabled, false, u"c"_s, QString()},
        {"espeak-ng missing", missing, false, u"on"_s, missing.reason},
    };
    for (const auto &n : notes) {
        SCOPED_TRACE(n.name);
        EXPECT_EQ(layout::entenduNote(n.box, n.checked, n.sound), n.note);
    }
}

TEST(AidCommands, ADocumentTheAidsRefuseLeavesEverythingUnchanged)
{
    Student s;
    layout::clickAidBox(AidBox::SyllablesWithDashes, {}, s.css, s.files, s.lines);
    const QByteArray document = bytesOf(s.files.document);
    const QByteArray copie = bytesOf(s.files.copie());
    const QByteArray styleSheet = bytesOf(s.cheminW + u"style.css"_s);
    QStringList refused = s.plain;
    refused.removeAll(u"<!--DEBUT-->"_s);
    s.lines = refused;

    const AidBoxes boxes = boxesOf({AidBox::SyllablesWithDashes});
    EXPECT_THROW(layout::clickAidBox(AidBox::SyllablesInColours, boxes, s.css, s.files, s.lines), readingaids::DocumentRefused);
    EXPECT_THROW(layout::clickAidBox(AidBox::SentencesInColours, boxes, s.css, s.files, s.lines), readingaids::DocumentRefused);
    EXPECT_THROW(layout::changeSound(u"ou"_s, boxes, s.css, s.files, s.lines), readingaids::DocumentRefused);
    EXPECT_EQ(bytesOf(s.files.document), document);
    EXPECT_EQ(bytesOf(s.files.copie()), copie);
    EXPECT_EQ(bytesOf(s.cheminW + u"style.css"_s), styleSheet);
    EXPECT_EQ(s.css[line::AidFirstSlot], flag::Tiret);
}

TEST(AidCommands, TheHighlightWhileAnAidIsOnStaysWhenTheAidGoesOff)
{
    Student s;
    layout::clickAidBox(AidBox::SyllablesInColours, {}, s.css, s.files, s.lines);
    layout::changeHighlight(true, s.files, s.lines);
    const QStringList highlighted = readingaids::highlightLines(s.plain, true);
    EXPECT_EQ(s.lines, highlighted);
    EXPECT_EQ(s.shown(), readingaids::highlightLines(readingaids::writeBodyAid(s.plain, BodyAid::Couleurs), true));

    layout::clickAidBox(AidBox::SyllablesInColours, boxesOf({AidBox::SyllablesInColours}), s.css, s.files, s.lines);
    EXPECT_EQ(workspace::readLines(s.files.document), highlighted);
}

TEST(AidCommands, DocumentLinesReadFromADocumentThatCarriesAnAidAreNeverTransformedTwice)
{
    Student s;
    layout::clickAidBox(AidBox::SyllablesInColours, {}, s.css, s.files, s.lines);
    // The screen is opened again on the transformed document.
    s.lines = workspace::readLines(s.files.document);
    layout::clickAidBox(AidBox::SyllablesWithDashes, {}, s.css, s.files, s.lines);
    EXPECT_EQ(s.lines, s.plain);
    EXPECT_EQ(s.shown(), readingaids::writeBodyAid(s.plain, BodyAid::Tirets));
    layout::clickAidBox(AidBox::SyllablesWithDashes, boxesOf({AidBox::SyllablesWithDashes}), s.css, s.files, s.lines);
    EXPECT_EQ(bytesOf(s.files.document), s.plainBytes);
}

TEST(AidCommands, TheBorderBoxesReadWhatTheDocumentShows)
{
    using layout::BorderBoxes;
    using readingaids::Border;
    const QStringList bare = Student().plain; // bare border lines, indented by a tab
    const QStringList bareGreenRed = readingaids::flipBorders(bare, Border::Multicolor);
    const QStringList cells = readingaids::flipBorders(bareGreenRed, Border::GreenRed);
    QStringList indented = bare;
    for (QString &line : indented)
        if (line.trimmed() == u"<!--BORD 2-->"_s)
            line = u"\t  <!--BORD 2--><TD width=30 background=\"fond.jpg\"></TD>  "_s;
    QStringList without;
    for (const QString &line : cells)
        if (!line.contains(u"<!--BORD"_s))
            without.append(line);
    const struct
    {
        const char *name;
        QStringList lines;
        BorderBoxes shown, present;
    } cases[] = {
        {"both with their cells", cells, {true, true}, {true, true}},
        {"green and red bare", bareGreenRed, {false, true}, {true, true}},
        {"both bare", bare, {false, false}, {true, true}},
        {"one indented cell", indented, {false, true}, {true, true}},
        {"no border lines", without, {false, false}, {false, false}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(layout::bordersShown(c.lines), c.shown);
        EXPECT_EQ(layout::borderLinesPresent(c.lines), c.present);
    }
}

TEST(AidCommands, BordersFlipAndRecordTheBoxes)
{
    using readingaids::Border;
    Student s;
    const QStringList bare = s.plain;
    layout::changeBorder(Border::GreenRed, {false, true}, {}, s.css, s.files, s.lines);
    EXPECT_EQ(s.lines, readingaids::flipBorders(bare, Border::GreenRed));
    EXPECT_TRUE(s.lines.contains(u"<!--BORD 1--><TD width=30 BGCOLOR=\"#00FF00\">----</TD>"_s));
    EXPECT_EQ(workspace::readLines(s.files.document), s.lines);
    EXPECT_EQ(s.saved()[line::BorderGreenRed], QString());
    EXPECT_EQ(s.saved()[line::BorderMulticolor], flag::BordMulticolor);

    layout::changeBorder(Border::GreenRed, {true, true}, {}, s.css, s.files, s.lines);
    EXPECT_TRUE(s.lines.contains(u"<!--BORD 1-->"_s));
    EXPECT_TRUE(s.lines.contains(u"<!--BORD 4-->"_s));
    EXPECT_EQ(s.lines.size(), bare.size());
    EXPECT_EQ(workspace::readLines(s.files.document), s.lines);
    EXPECT_EQ(s.saved()[line::BorderGreenRed], flag::BordVertRouge);

    const struct
    {
        const char *name;
        AidBoxes boxes;
        QString line58;
    } boxCases[] = {
        {"none", {}, QString()},
        {"colours", boxesOf({AidBox::SyllablesInColours}), flag::SyllabesCouleurs},
        {"colours and sentences", boxesOf({AidBox::SyllablesInColours, AidBox::SentencesInColours}), flag::PhrasesCouleurs},
        {"sentences and dashes", boxesOf({AidBox::SentencesInColours, AidBox::SyllablesWithDashes}), flag::SyllabesTirets},
        {"silent letters alone", boxesOf({AidBox::SilentLetters}), QString()},
    };
    for (const auto &c : boxCases) {
        SCOPED_TRACE(c.name);
        s.css[line::BoxesOn] = u"/*avant*/"_s;
        layout::changeBorder(Border::Multicolor, {true, false}, c.boxes, s.css, s.files, s.lines);
        EXPECT_EQ(s.saved()[line::BoxesOn], c.line58);
        EXPECT_EQ(s.saved()[line::BorderMulticolor], QString());
    }
}
