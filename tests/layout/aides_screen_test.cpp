// The reading-aid boxes, the sound field, the highlight and the borders of
// the layout screen, driven headless through their real handlers on real
// files.
#include "aides_screen.h"

#include "readingaids/corrections.h"
#include "readingaids/writtenbyear.h"

#include "layout/stylesheet.h"
#include "layout/workingcopies.h"
#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/frame.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using aidestest::AidesScreen;
using readingaids::BodyAid;
namespace line = layout::line;
namespace flag = layout::flag;

TEST_F(AidesScreen, EachAidGoesOnAndOffWithOneLoadEachAndGivesTheDocumentBack)
{
    const struct
    {
        const char *name;
        platform::CheckBox *TForm1::*box;
        BodyAid aid;
        int flagLine;
        QString flagText;
    } cases[] = {
        {"colours", &TForm1::CheckBox2, BodyAid::Couleurs, line::AidSecondSlot, flag::Syllabe},
        {"dashes", &TForm1::CheckBox6, BodyAid::Tirets, line::AidFirstSlot, flag::Tiret},
        {"silent letters", &TForm1::CheckBox8, BodyAid::Muettes, line::AidFirstSlot, flag::Muet},
        {"sentences", &TForm1::CheckBox9, BodyAid::Phrases, line::AidSecondSlot, flag::Phrase},
    };
    TForm1 *screen = open();
    const QByteArray before = bytesOf(student.document);
    const QStringList lines = workspace::readLines(student.document);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        platform::CheckBox *box = screen->*c.box;
        int loadsBefore = loads(screen);
        box->click();
        EXPECT_TRUE(box->isChecked());
        EXPECT_EQ(shown(), readingaids::writeBodyAid(lines, c.aid));
        EXPECT_EQ(cssLine(c.flagLine), c.flagText);
        EXPECT_EQ(cssLine(line::End), flag::Fin);
        EXPECT_EQ(loads(screen), loadsBefore + 1);
        EXPECT_EQ(view(screen)->address(), screen->documentAddress());

        loadsBefore = loads(screen);
        box->click();
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(bytesOf(student.document), before);
        EXPECT_FALSE(QFile::exists(student.cheminW + u"TexteAlire_copie.html"_s));
        EXPECT_FALSE(QFile::exists(student.cheminW + u"TexteAlire2.html"_s));
        EXPECT_EQ(cssLine(c.flagLine), QString());
        EXPECT_EQ(loads(screen), loadsBefore + 1);
    }
    EXPECT_EQ(platform.messages.shown.size(), 1); // the opening's only
}

// The sound aid by letters, whatever the "entendu" box went through before:
// left alone, or turned on and off again with a sound in the field.
class SoundByLetters : public AidesScreen, public testing::WithParamInterface<bool>
{
protected:
    TForm1 *openWithTheBoxOff()
    {
        TForm1 *screen = open();
        if (GetParam()) {
            screen->Edit6->setText(u"on"_s);
            screen->Entendu->click();
            screen->Entendu->click();
            screen->Edit6->clear();
        }
        EXPECT_FALSE(screen->Entendu->isChecked());
        return screen;
    }
};

INSTANTIATE_TEST_SUITE_P(EntenduBox, SoundByLetters, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return info.param ? "TurnedOnAndOff" : "LeftAlone";
                         });

TEST_P(SoundByLetters, TheSoundTypedLetterByLetter)
{
    const QByteArray before = bytesOf(student.document);
    const QStringList lines = workspace::readLines(student.document);
    TForm1 *screen = openWithTheBoxOff();
    ASSERT_EQ(bytesOf(student.document), before);
    screen->CheckBox2->click();
    const struct
    {
        const char *name;
        std::function<void(QLineEdit *)> type;
        QString field;
    } steps[] = {
        {"o", [](QLineEdit *e) { e->insert(u"o"_s); }, u"o"_s},
        {"u", [](QLineEdit *e) { e->insert(u"u"_s); }, u"ou"_s},
        {"delete", [](QLineEdit *e) { e->backspace(); }, u"o"_s},
        {"delete again", [](QLineEdit *e) { e->backspace(); }, QString()},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.name);
        const int loadsBefore = loads(screen);
        step.type(screen->Edit6);
        ASSERT_EQ(screen->Edit6->text(), step.field);
        // The marked sound replaces the colours in the view: their box goes.
        EXPECT_FALSE(screen->CheckBox2->isChecked());
        if (step.field.isEmpty())
            EXPECT_EQ(bytesOf(student.document), before);
        else
            EXPECT_EQ(shown(), readingaids::writeBodyAid(lines, BodyAid::Son, step.field));
        EXPECT_EQ(cssLine(line::AidSecondSlot), flag::Phoneme);
        EXPECT_EQ(loads(screen), loadsBefore + 1);
    }
}

// Every pair of the body aids, one after the other, then the second taken
// off: the boxes, the sound field and the flag lines always say what the view
// shows, which is the last aid alone, then the teacher's text.
TEST_F(AidesScreen, TheBoxesAndFlagsSayWhatTheViewShowsForEveryPairOfAids)
{
    struct Aid
    {
        const char *name;
        platform::CheckBox *TForm1::*box; // none: the sound "ou" typed, then the field emptied
        BodyAid aid;
        int flagLine;
        QString flagText;
    };
    const Aid aids[] = {
        {"colours", &TForm1::CheckBox2, BodyAid::Couleurs, line::AidSecondSlot, flag::Syllabe},
        {"dashes", &TForm1::CheckBox6, BodyAid::Tirets, line::AidFirstSlot, flag::Tiret},
        {"silent letters", &TForm1::CheckBox8, BodyAid::Muettes, line::AidFirstSlot, flag::Muet},
        {"sentences", &TForm1::CheckBox9, BodyAid::Phrases, line::AidSecondSlot, flag::Phrase},
        {"sound", nullptr, BodyAid::Son, line::AidSecondSlot, flag::Phoneme},
    };
    const QString sound = u"ou"_s;
    TForm1 *screen = open();
    const QByteArray plain = bytesOf(student.document);
    const QStringList lines = workspace::readLines(student.document);
    const auto act = [&](const Aid &aid) {
        if (aid.box)
            (screen->*aid.box)->click();
        else
            screen->Edit6->setText(screen->Edit6->text().isEmpty() ? sound : QString());
    };
    const auto checked = [&] {
        QStringList names;
        for (const Aid &aid : aids)
            if (aid.box && (screen->*aid.box)->isChecked())
                names.append(QString::fromLatin1(aid.name));
        return names;
    };
    for (const Aid &first : aids) {
        for (const Aid &second : aids) {
            if (&first == &second)
                continue;
            SCOPED_TRACE(std::string(first.name) + " then " + second.name);
            act(first);
            const int loadsBefore = loads(screen);
            act(second);
            EXPECT_EQ(loads(screen), loadsBefore + 1);
            EXPECT_EQ(shown(), second.box ? readingaids::writeBodyAid(lines, second.aid)
                                          : readingaids::writeBodyAid(lines, BodyAid::Son, sound));
            EXPECT_EQ(checked(), second.box ? QStringList{QString::fromLatin1(second.name)} : QStringList());
            EXPECT_EQ(screen->Edit6->text(), second.box ? QString() : sound);
            EXPECT_EQ(cssLine(second.flagLine), second.flagText);
            const int otherLine = second.flagLine == line::AidFirstSlot ? line::AidSecondSlot : line::AidFirstSlot;
            EXPECT_EQ(cssLine(otherLine), QString());

            // Taken off: the teacher's text, no box checked, no flag but the
            // one an emptied sound field leaves.
            act(second);
            EXPECT_EQ(bytesOf(student.document), plain);
            EXPECT_EQ(checked(), QStringList());
            EXPECT_EQ(screen->Edit6->text(), QString());
            EXPECT_EQ(cssLine(line::AidFirstSlot), QString());
            EXPECT_EQ(cssLine(line::AidSecondSlot), second.box ? QString() : flag::Phoneme);
        }
    }
}

// The teacher put an aid on and left without "Sauvegarder ces réglages", or
// saved the settings over another document: at the next opening the boxes,
// the sound field and the "entendu" box say what the document shows, not
// what the style sheet's lines last recorded, and the box taken off gives the
// teacher's text back.
TEST_F(AidesScreen, TheScreenOpensWithTheBoxesOfTheAidTheDocumentCarries)
{
    struct Aid
    {
        const char *name;
        platform::CheckBox *TForm1::*box; // none: the sound "o" typed
        bool byEar;
    };
    const Aid aids[] = {
        {"colours", &TForm1::CheckBox2, false},   {"colours by ear", &TForm1::CheckBox2, true},
        {"dashes", &TForm1::CheckBox6, false},    {"dashes by ear", &TForm1::CheckBox6, true},
        {"silent letters", &TForm1::CheckBox8, false}, {"silent letters by ear", &TForm1::CheckBox8, true},
        {"sentences", &TForm1::CheckBox9, false}, {"sound", nullptr, false},
        {"sound by ear", nullptr, true},
    };
    const QString remembered = student.cheminW + u"entendu.ini"_s;
    const auto remember = [&](bool byEar) {
        workspace::writeLines(remembered, {byEar ? u"entendu=oui"_s : u"entendu=non"_s});
    };
    const QByteArray plain = bytesOf(student.document);
    const auto checked = [](TForm1 *screen) {
        QStringList names;
        for (auto box : {&TForm1::CheckBox2, &TForm1::CheckBox6, &TForm1::CheckBox8, &TForm1::CheckBox9})
            if ((screen->*box)->isChecked())
                names.append((screen->*box)->text());
        return names;
    };
    for (const Aid &aid : aids) {
        SCOPED_TRACE(aid.name);
        remember(aid.byEar);
        TForm1 *screen = open();
        if (aid.box)
            (screen->*aid.box)->click();
        else
            screen->Edit6->setText(u"o"_s);
        const QByteArray aided = bytesOf(student.document);
        ASSERT_NE(aided, plain);
        close(screen);
        // Another document's settings, and the other reading remembered.
        student.setCssLine(line::AidFirstSlot, QString());
        student.setCssLine(line::AidSecondSlot, QString());
        student.setCssLine(line::BoxesOn, aid.box == &TForm1::CheckBox9 ? flag::SyllabesTirets : flag::PhrasesCouleurs);
        remember(!aid.byEar);

        screen = open();
        EXPECT_EQ(bytesOf(student.document), aided) << "the opening changes no aid";
        EXPECT_EQ(checked(screen), aid.box ? QStringList{(screen->*aid.box)->text()} : QStringList());
        EXPECT_EQ(screen->Edit6->text(), aid.box ? QString() : u"o"_s);
        const bool readsWords = aid.box != &TForm1::CheckBox9;
        EXPECT_EQ(screen->Entendu->isChecked(), readsWords ? aid.byEar : !aid.byEar);
        EXPECT_EQ(bytesOf(remembered), aid.byEar ? "entendu=non\r\n" : "entendu=oui\r\n")
            << "what the student reads by is only changed by a click";

        if (aid.box)
            (screen->*aid.box)->click();
        else
            screen->Edit6->clear();
        EXPECT_EQ(bytesOf(student.document), plain);
        EXPECT_EQ(checked(screen), QStringList());
        close(screen);
    }

    // A plain document opens with no box, whatever the lines recorded.
    student.setCssLine(line::AidFirstSlot, flag::Tiret);
    TForm1 *screen = open();
    EXPECT_EQ(checked(screen), QStringList());
    close(screen);

    // An aided document whose copies of the text are all gone: no aid can be
    // told from it, and the boxes stay as the lines set them.
    screen = open();
    screen->CheckBox2->click();
    close(screen);
    QFile::remove(student.document + u".sansaide.bak"_s);
    QFile::remove(student.cheminW + u"TexteAlire_copie.html"_s);
    student.setCssLine(line::BoxesOn, flag::SyllabesCouleurs);
    screen = open();
    EXPECT_EQ(checked(screen), QStringList{screen->CheckBox2->text()});
}

// The colours emptied the sound field when they went off; now the box the
// sound unchecked puts the colours back on, and the field empties with it.
TEST_F(AidesScreen, TheColoursPutBackOverASoundEmptyTheFieldWithOneLoad)
{
    TForm1 *screen = open();
    const QByteArray before = bytesOf(student.document);
    const QStringList lines = workspace::readLines(student.document);
    screen->CheckBox2->click();
    screen->Edit6->setText(u"ch"_s);
    EXPECT_FALSE(screen->CheckBox2->isChecked());
    const int loadsBefore = loads(screen);
    screen->CheckBox2->click();
    EXPECT_TRUE(screen->CheckBox2->isChecked());
    EXPECT_EQ(screen->Edit6->text(), QString());
    EXPECT_EQ(shown(), readingaids::writeBodyAid(lines, BodyAid::Couleurs));
    EXPECT_EQ(cssLine(line::AidSecondSlot), flag::Syllabe);
    EXPECT_EQ(loads(screen), loadsBefore + 1);
    screen->CheckBox2->click();
    EXPECT_EQ(bytesOf(student.document), before);
}

namespace {

// The sound marked in bold red, as the sound aid writes it.
QString red(const QString &letters)
{
    return u"<FONT color=\"red\"><B>"_s + letters + u"</B></FONT>"_s;
}

const QString Bonbon = u"Le bonbon de la bonne dame de Monsieur."_s;

} // namespace

TEST_F(AidesScreen, TheSoundByEarMarksWhatIsHeardWithOneLoadEachCommand)
{
    const QString document = addDocument(u"bonbon.html"_s, {Bonbon});
    TForm1 *screen = open(document);
    const QStringList lines = workspace::readLines(document);
    const qsizetype body = lines.indexOf(Bonbon + u"<br>"_s);
    ASSERT_GT(body, 0);
    ASSERT_TRUE(screen->Entendu->isEnabled());
    ASSERT_FALSE(screen->Entendu->isChecked());
    screen->CheckBox2->click();
    const QByteArray colours = bytesOf(document);

    const QString byEar = u"Le b"_s + red(u"on"_s) + u"b"_s + red(u"on"_s) + u" de la bonne dame de Monsieur.<br>"_s;
    const QString byLetters = u"Le b"_s + red(u"on"_s) + u"b"_s + red(u"on"_s) + u" de la b"_s + red(u"on"_s)
        + u"ne dame de M"_s + red(u"on"_s) + u"sieur.<br>"_s;
    const struct
    {
        const char *name;
        std::function<void()> act;
        bool checked;
        int loads;
        QString bodyLine; // empty: the document as the syllables in colours left it
    } steps[] = {
        {"o", [=] { screen->Edit6->insert(u"o"_s); }, true, 1,
         readingaids::writeBodyAid(lines, BodyAid::SonEntendu, u"o"_s).value(body)},
        {"on", [=] { screen->Edit6->insert(u"n"_s); }, true, 1, byEar},
        {"box off", [=] { screen->Entendu->click(); }, false, 1, byLetters},
        {"box on", [=] { screen->Entendu->click(); }, true, 1, byEar},
    };
    // With the field empty, the box puts the syllables in colours by ear.
    const int loadsBefore = loads(screen);
    screen->Entendu->click();
    EXPECT_TRUE(screen->Entendu->isChecked());
    EXPECT_EQ(loads(screen), loadsBefore + 1);
    EXPECT_TRUE(screen->CheckBox2->isChecked());
    EXPECT_EQ(visible(shown().value(body)),
              visible(readingaids::writeBodyAid(lines, BodyAid::CouleursEntendu).value(body)));
    EXPECT_EQ(cssLine(line::AidSecondSlot), flag::Syllabe);
    for (const auto &step : steps) {
        SCOPED_TRACE(step.name);
        const int loadsBefore = loads(screen);
        step.act();
        EXPECT_EQ(screen->Entendu->isChecked(), step.checked);
        EXPECT_EQ(bytesOf(student.cheminW + u"entendu.ini"_s), step.checked ? "entendu=oui\r\n" : "entendu=non\r\n");
        EXPECT_EQ(loads(screen), loadsBefore + step.loads);
        EXPECT_EQ(view(screen)->address(), screen->documentAddress());
        EXPECT_FALSE(screen->CheckBox2->isChecked()) << "the marked sound replaced the colours";
        if (step.bodyLine.isEmpty()) {
            EXPECT_EQ(bytesOf(document), colours);
            continue;
        }
        EXPECT_EQ(visible(shown().value(body)), visible(step.bodyLine));
        EXPECT_EQ(cssLine(line::AidSecondSlot), flag::Phoneme);
        EXPECT_EQ(screen->LabelEntendu->text(), QString());
    }
    screen->Edit6->clear();
    EXPECT_EQ(workspace::readLines(document), lines);
    EXPECT_EQ(platform.messages.shown.size(), 1); // the opening's only
}

TEST_F(AidesScreen, ASpellingThatNamesNoSoundIsMatchedByItsLettersAndTheScreenSaysSo)
{
    TForm1 *screen = open();
    const QStringList lines = workspace::readLines(student.document);
    const QString lettersOnly = u"lettres : aucun son de ce nom"_s;
    const struct
    {
        const char *name;
        std::function<void()> act;
        BodyAid aid;
        QString note;
    } steps[] = {
        {"c by ear", [=] { screen->Entendu->click(), screen->Edit6->setText(u"c"_s); }, BodyAid::Son, lettersOnly},
        {"ch by ear", [=] { screen->Edit6->insert(u"h"_s); }, BodyAid::SonEntendu, QString()},
        {"c again", [=] { screen->Edit6->backspace(); }, BodyAid::Son, lettersOnly},
        {"box off", [=] { screen->Entendu->click(); }, BodyAid::Son, QString()},
        {"box on", [=] { screen->Entendu->click(); }, BodyAid::Son, lettersOnly},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(shown(), readingaids::writeBodyAid(lines, step.aid, screen->Edit6->text()));
        EXPECT_EQ(screen->LabelEntendu->text(), step.note);
        EXPECT_TRUE(screen->LabelEntendu->isVisible());
    }
    screen->Edit6->clear();
    EXPECT_EQ(screen->LabelEntendu->text(), QString());
}

TEST_F(AidesScreen, TheEntenduBoxIsRememberedForTheStudentAcrossAnOpening)
{
    const QString document = addDocument(u"bonbon.html"_s, {Bonbon});
    const QString remembered = student.cheminW + u"entendu.ini"_s;
    TForm1 *screen = open(document);
    EXPECT_FALSE(screen->Entendu->isChecked());
    const QByteArray styleSheet = bytesOf(student.cssPath());
    screen->Entendu->click();
    EXPECT_EQ(bytesOf(student.cssPath()), styleSheet) << "the style sheet's lines are not the box's place";
    EXPECT_EQ(bytesOf(remembered), "entendu=oui\r\n");
    close(screen);

    screen = open(document);
    EXPECT_TRUE(screen->Entendu->isChecked());
    EXPECT_EQ(screen->Edit6->text(), QString());
    const QStringList lines = workspace::readLines(document);
    screen->Edit6->setText(u"on"_s);
    EXPECT_EQ(shown(), readingaids::writeBodyAid(lines, BodyAid::SonEntendu, u"on"_s));
    EXPECT_TRUE(shown().contains(u"Le b"_s + red(u"on"_s) + u"b"_s + red(u"on"_s) + u" de la bonne dame de Monsieur.<br>"_s));
    screen->Entendu->click();
    close(screen);

    // The student's other documents open with the box as the student left it.
    screen = open();
    EXPECT_FALSE(screen->Entendu->isChecked());
    EXPECT_EQ(bytesOf(remembered), "entendu=non\r\n");
    close(screen);
    QFile::remove(remembered);
    screen = open();
    EXPECT_TRUE(screen->Entendu->isChecked()) << "a student who never used the box reads by ear";
}

TEST_P(SoundByLetters, TheSoundFieldTakesAnyTextWithoutBreakingTheMarkup)
{
    const QByteArray before = bytesOf(student.document);
    const QStringList lines = workspace::readLines(student.document);
    TForm1 *screen = openWithTheBoxOff();
    const QString typed[] = {u"#"_s, u"1"_s, u"#1"_s, u"<"_s, u"br"_s, u" "_s, QString(200, u'a') + u"<br>#1"_s, u"e"_s};
    for (const QString &sound : typed) {
        SCOPED_TRACE(visible(sound));
        screen->Edit6->setText(sound);
        const QStringList installed = shown();
        EXPECT_EQ(installed, readingaids::writeBodyAid(lines, BodyAid::Son, sound));
        // Every body line still ends with its own line break, outside any mark-up.
        const readingaids::Regions regions = readingaids::findRegions(lines);
        for (qsizetype i = regions.logo + 1; i < regions.endMarker; ++i)
            EXPECT_TRUE(installed.value(i).endsWith(u"<br>"_s)) << visible(installed.value(i));
    }
    screen->Edit6->clear();
    EXPECT_EQ(bytesOf(student.document), before);
}

TEST_F(AidesScreen, EveryAidKeepsTheNoBreakSpacesOfAPastedText)
{
    // A text saved from a paste of a word processor: 0xA0 in the file.
    const QString paste = addDocument(u"loup.html"_s, {u"«\u00A0Le loup dort\u00A0!\u00A0» Il fait froid\u00A0: chut\u00A0;"_s});
    const QByteArray before = bytesOf(paste);
    ASSERT_EQ(before.count('\xA0'), 5);
    TForm1 *screen = open(paste);
    const struct
    {
        const char *name;
        std::function<void()> on;
        std::function<void()> off;
        QByteArray expected; // a piece of the body as the aid writes it
    } cases[] = {
        {"colours", [=] { screen->CheckBox2->click(); }, [=] { screen->CheckBox2->click(); },
         "</FONT>\xA0!\xA0<FONT color=\"red\">\xBB</FONT>"},
        {"dashes", [=] { screen->CheckBox6->click(); }, [=] { screen->CheckBox6->click(); }, " dort\xA0!\xA0\xBB Il"},
        {"silent letters", [=] { screen->CheckBox8->click(); }, [=] { screen->CheckBox8->click(); },
         " <span style=\"white-space:nowrap\">froi--d</span>\xA0: chut\xA0;"},
        {"sentences", [=] { screen->CheckBox9->click(); }, [=] { screen->CheckBox9->click(); },
         "\xAB\xA0Le loup dort\xA0</FONT>"},
        {"sound", [=] { screen->Edit6->setText(u"ou"_s); }, [=] { screen->Edit6->clear(); }, "</B></FONT>p dort\xA0"},
        {"sound by ear",
         [=] {
             screen->Entendu->click();
             screen->Edit6->setText(u"ou"_s);
         },
         [=] {
             screen->Edit6->clear();
             screen->Entendu->click();
         },
         "</B></FONT>p dort\xA0"},
        {"highlight", [=] { screen->CheckBox3->click(); }, [=] { screen->CheckBox3->click(); }, "dort\xA0!\xA0\xBB"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.on();
        const QByteArray on = bytesOf(paste);
        EXPECT_EQ(on.count('\xA0'), 5) << visible(QString::fromLatin1(on));
        EXPECT_TRUE(on.contains(c.expected)) << visible(QString::fromLatin1(on));
        c.off();
        if (std::string_view(c.name) == "highlight")
            continue; // its lines stay in the document, switched off
        EXPECT_EQ(bytesOf(paste), before);
    }
}

TEST_F(AidesScreen, ADocumentTheAidsRefuseChangesNothingAndTellsTheTeacher)
{
    QStringList lines = workspace::readLines(student.document);
    lines.removeAll(u"<!--DEBUT-->"_s);
    workspace::writeLines(student.document, lines);
    TForm1 *screen = open();
    screen->CheckBox6->setChecked(true); // as the last settings save left it
    const QByteArray before = bytesOf(student.document);
    const QByteArray css = bytesOf(student.cssPath());

    screen->CheckBox2->click();
    screen->CheckBox9->click();
    screen->Edit6->setText(u"ou"_s);
    screen->Entendu->click();
    EXPECT_FALSE(screen->CheckBox2->isChecked());
    EXPECT_FALSE(screen->CheckBox9->isChecked());
    EXPECT_TRUE(screen->CheckBox6->isChecked());
    EXPECT_FALSE(screen->Entendu->isChecked());
    EXPECT_EQ(bytesOf(student.cheminW + u"entendu.ini"_s), "entendu=non\r\n") << "the choice stays as it was";
    EXPECT_EQ(bytesOf(student.document), before);
    EXPECT_EQ(bytesOf(student.cssPath()), css);
    EXPECT_FALSE(QFile::exists(student.cheminW + u"TexteAlire_copie.html"_s));
    ASSERT_EQ(platform.messages.shown.size(), 5);
    EXPECT_TRUE(platform.messages.shown[1].contains(u"<!--DEBUT-->"_s));
    EXPECT_EQ(platform.messages.shown[3], platform.messages.shown[1]);
    EXPECT_EQ(platform.messages.shown[4], platform.messages.shown[1]);
}

TEST_F(AidesScreen, AnotherDocumentsBackupNeverComesIntoThisOne)
{
    const QString other = addDocument(u"renard.html"_s, {u"Le renard dort sous un arbre."_s});
    const QByteArray conte = bytesOf(student.document);
    const QByteArray renard = bytesOf(other);

    TForm1 *screen = open();
    screen->CheckBox6->click(); // dashes on the tale, line 47 "/*TIRET*/"
    const QByteArray conteWithDashes = bytesOf(student.document);
    close(screen);

    screen = open(other);
    ASSERT_FALSE(screen->CheckBox6->isChecked()) << "line 47 names the tale's aid, not this document's";
    screen->CheckBox6->setChecked(true); // as an older opening left it
    screen->CheckBox6->click();
    EXPECT_EQ(bytesOf(other), renard);
    EXPECT_EQ(bytesOf(student.document), conteWithDashes);
    close(screen);

    screen = open();
    ASSERT_TRUE(screen->CheckBox6->isChecked()) << "the tale shows its dashes";
    screen->CheckBox6->setChecked(false); // as an older opening left it
    screen->CheckBox6->click(); // on again, over the dashes: built from the tale's own text
    EXPECT_EQ(shown(), readingaids::writeBodyAid(workspace::decodeLines(conte), BodyAid::Tirets));
    screen->CheckBox6->click();
    EXPECT_EQ(bytesOf(student.document), conte);
}

TEST_F(AidesScreen, TheHighlightWhileAnAidIsOnIsKeptWhenTheAidGoesOff)
{
    TForm1 *screen = open();
    const QStringList lines = workspace::readLines(student.document);
    screen->CheckBox9->click();
    const int loadsBefore = loads(screen);
    screen->CheckBox3->click();
    EXPECT_EQ(loads(screen), loadsBefore + 1);
    EXPECT_EQ(shown(), readingaids::highlightLines(readingaids::writeBodyAid(lines, BodyAid::Phrases), true));
    screen->CheckBox9->click();
    EXPECT_EQ(workspace::readLines(student.document), readingaids::highlightLines(lines, true));
    EXPECT_EQ(platform::linesOf(screen->Memo1), readingaids::highlightLines(lines, true));
}

// The border boxes open as the document shows its borders, and a box
// whose border the document lacks cannot be ticked over nothing.
TEST_F(AidesScreen, TheBorderBoxesOpenAsTheDocumentShowsItsBorders)
{
    using readingaids::Border;
    const QStringList withCells = workspace::readLines(student.document);
    const QString bare = addDocument(u"Sans bords.html"_s, {u"Le loup court."_s});
    workspace::writeLines(bare, readingaids::flipBorders(
                                    readingaids::flipBorders(workspace::readLines(bare), Border::GreenRed),
                                    Border::Multicolor));
    QStringList without;
    for (const QString &line : withCells)
        if (!line.contains(u"<!--BORD 1-->"_s) && !line.contains(u"<!--BORD 4-->"_s))
            without.append(line);
    const QString noGreenRed = student.cheminW + u"Sans vert.html"_s;
    workspace::writeLines(noGreenRed, without);

    TForm1 *screen = open();
    EXPECT_TRUE(screen->CheckBox4->isChecked());
    EXPECT_TRUE(screen->CheckBox5->isChecked());
    close(screen);

    screen = open(bare);
    EXPECT_FALSE(screen->CheckBox4->isChecked());
    EXPECT_FALSE(screen->CheckBox5->isChecked());
    EXPECT_EQ(workspace::readLines(bare), shown()); // opening rewrote nothing but the same lines
    screen->CheckBox4->click();
    EXPECT_TRUE(screen->CheckBox4->isChecked());
    EXPECT_TRUE(shown().contains(u"<!--BORD 1--><TD width=30 BGCOLOR=\"#00FF00\">----</TD>"_s));
    EXPECT_EQ(cssLine(line::BorderGreenRed), flag::BordVertRouge);
    EXPECT_EQ(cssLine(line::BorderMulticolor), QString());
    close(screen);

    screen = open(noGreenRed);
    EXPECT_FALSE(screen->CheckBox4->isChecked());
    EXPECT_FALSE(screen->CheckBox4->isEnabled());
    EXPECT_FALSE(screen->CheckBox4->toolTip().isEmpty());
    EXPECT_TRUE(screen->CheckBox5->isChecked());
    EXPECT_TRUE(screen->CheckBox5->isEnabled());
    close(screen);
}

TEST_F(AidesScreen, ABorderFlippedTwiceAndTheBoxesItRecords)
{
    TForm1 *screen = open();
    const QStringList lines = workspace::readLines(student.document);
    screen->CheckBox2->click();
    screen->CheckBox9->click();

    int loadsBefore = loads(screen);
    screen->CheckBox4->click();
    EXPECT_EQ(loads(screen), loadsBefore + 1);
    EXPECT_EQ(cssLine(line::BorderGreenRed), QString());
    EXPECT_EQ(cssLine(line::BorderMulticolor), flag::BordMulticolor);
    EXPECT_EQ(cssLine(line::BoxesOn), flag::PhrasesCouleurs);
    EXPECT_EQ(shown(), readingaids::flipBorders(readingaids::writeBodyAid(lines, BodyAid::Phrases),
                                                readingaids::Border::GreenRed));

    screen->CheckBox4->click();
    EXPECT_EQ(cssLine(line::BorderGreenRed), flag::BordVertRouge);
    EXPECT_EQ(shown(), readingaids::writeBodyAid(lines, BodyAid::Phrases));

    screen->CheckBox6->click(); // the dashes take the colours off, not the sentences
    screen->CheckBox5->click();
    EXPECT_EQ(cssLine(line::BoxesOn), flag::SyllabesTirets);
    EXPECT_EQ(cssLine(line::BorderMulticolor), QString());
}

namespace {

// Answers the correction dialog that the next handler opens: types the text
// and presses "Corriger" (or "Annuler" when text is null); returns what the
// dialog showed of the word as it was cut.
std::shared_ptr<QString> answerCorrection(const std::optional<QString> &text, bool forThisText = false)
{
    auto shown = std::make_shared<QString>();
    QTimer::singleShot(0, [text, shown, forThisText] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), u"correctionDialog"_s);
        auto *field = dialog->findChild<QLineEdit *>(u"correction"_s);
        *shown = field->text();
        if (!text) {
            dialog->reject();
            return;
        }
        field->setText(*text);
        if (forThisText)
            dialog->findChild<QPushButton *>(u"pourCeTexte"_s)->click();
        else
            dialog->accept();
    });
    return shown;
}

} // namespace

// The teacher turns silent letters on for a new student (by ear, the
// default), then corrects "porc", whose c espeak-ng says, from the view's
// menu: the correction shows at once, is kept in the working folder, and an
// absurd one is refused.
TEST_F(AidesScreen, ARightClickCorrectionOfAWordShowsAtOnce)
{
    QFile::remove(student.cheminW + u"entendu.ini"_s);
    const QString document = addDocument(u"soupe.html"_s, {u"Un porc dans la soupe."_s});
    TForm1 *screen = open(document);
    ASSERT_TRUE(screen->Entendu->isChecked()) << "a new student reads by ear";
    screen->CheckBox8->click();
    const QString grey = readingaids::silentOpening.toString();
    EXPECT_TRUE(shown().join(u'\n').contains(u" Un porc dan"_s + grey + u"s</FONT> la soup"_s + grey + u"e</FONT>.<br>"_s)) << visible(shown().join(u'\n'));

    const QString file = folder.path() + u"/"_s + readingaids::CorrectionsFile;
    const struct
    {
        const char *name;
        std::optional<QString> typed;
        bool written;
        qsizetype messages;
    } steps[] = {
        {"given up", std::nullopt, false, 0},
        {"letters that are not the word's", u"por[k]"_s, false, 1},
        {"empty", u"  "_s, false, 1},
        {"the right cut", u"por[c]"_s, true, 0},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.name);
        const qsizetype messages = platform.messages.shown.size();
        const int loadsBefore = loads(screen);
        const auto before = answerCorrection(step.typed);
        emit screen->WebBrowser1->wordCorrectionAsked(u"porc"_s);
        EXPECT_EQ(*before, u"porc"_s);
        EXPECT_EQ(QFile::exists(file), step.written);
        EXPECT_EQ(platform.messages.shown.size(), messages + step.messages);
        EXPECT_EQ(loads(screen), loadsBefore + (step.written ? 1 : 0));
    }
    EXPECT_TRUE(shown().join(u'\n').contains(u" Un por"_s + grey + u"c</FONT> dan"_s)) << visible(shown().join(u'\n'));
    EXPECT_TRUE(screen->CheckBox8->isChecked());
    EXPECT_EQ(bytesOf(file).right(8), "por[c]\r\n");
    close(screen);

    // The next student screen, the next start: the correction holds.
    screen = open(document);
    const auto shownThen = answerCorrection(std::nullopt);
    emit screen->WebBrowser1->wordCorrectionAsked(u"Porc"_s);
    EXPECT_EQ(*shownThen, u"Por[c]"_s);

    // "Mots à vérifier": the words the sentence reads; a click opens the correction.
    close(screen);
    const QString hens = addDocument(u"poules.html"_s, {u"Les poules couvent dans le couvent."_s});
    screen = open(hens);
    ASSERT_GE(screen->MotsAVerifier->count(), 1);
    EXPECT_EQ(screen->MotsAVerifier->item(0)->text(), u"couvent"_s);
    EXPECT_TRUE(screen->MotsAVerifier->item(0)->toolTip().contains(u"verbe"_s));
    const auto opened = answerCorrection(std::nullopt);
    emit screen->MotsAVerifier->itemClicked(screen->MotsAVerifier->item(0));
    EXPECT_EQ(*opened, u"cou|ven[t]"_s); // the word alone, as the dialog shows it
    // By the letters, the sentence reads no word: the list is empty.
    screen->Entendu->click();
    EXPECT_EQ(screen->MotsAVerifier->count(), 0);
    screen->Entendu->click();
    EXPECT_GE(screen->MotsAVerifier->count(), 1);
    close(screen);
    screen = open(document);

    // "Corriger pour ce texte": kept beside the document, the working
    // folder's file unchanged, and it wins in this text.
    const QByteArray forAll = bytesOf(file);
    const auto forText = answerCorrection(u"porc"_s, true);
    emit screen->WebBrowser1->wordCorrectionAsked(u"porc"_s);
    EXPECT_EQ(bytesOf(file), forAll);
    EXPECT_EQ(bytesOf(readingaids::textCorrectionsPath(document)).right(6), "porc\r\n");
    EXPECT_TRUE(shown().join(u'\n').contains(u" Un porc dan"_s)) << visible(shown().join(u'\n'));
    close(screen);
}
