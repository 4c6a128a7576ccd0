// The reading-aid boxes, the sound field, the highlight and the borders of
// the layout screen, driven headless through their real handlers on real
// files.
#include "aides_screen.h"

#include "layout/stylesheet.h"
#include "layout/workingcopies.h"
#include "readingaids/bodyaids.h"
#include "readingaids/document.h"
#include "readingaids/frame.h"
#include "testfiles.h"
#include "visible.h"
#include "workspace/textfile.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

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

TEST_F(AidesScreen, TheSoundTypedLetterByLetter)
{
    TForm1 *screen = open();
    const QByteArray before = bytesOf(student.document);
    const QStringList lines = workspace::readLines(student.document);
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
        if (step.field.isEmpty()) {
            EXPECT_EQ(bytesOf(student.document), before);
            EXPECT_FALSE(screen->CheckBox2->isChecked());
        } else {
            EXPECT_EQ(shown(), readingaids::writeBodyAid(lines, BodyAid::Son, step.field));
            EXPECT_TRUE(screen->CheckBox2->isChecked());
        }
        EXPECT_EQ(cssLine(line::AidSecondSlot), flag::Phoneme);
        EXPECT_EQ(loads(screen), loadsBefore + 1);
    }
}

TEST_F(AidesScreen, TurningTheColoursOffEmptiesTheSoundFieldWithOneLoad)
{
    TForm1 *screen = open();
    const QByteArray before = bytesOf(student.document);
    screen->CheckBox2->click();
    screen->Edit6->setText(u"ch"_s);
    const int loadsBefore = loads(screen);
    screen->CheckBox2->click();
    EXPECT_EQ(screen->Edit6->text(), QString());
    EXPECT_FALSE(screen->CheckBox2->isChecked());
    EXPECT_EQ(bytesOf(student.document), before);
    EXPECT_EQ(cssLine(line::AidSecondSlot), flag::Phoneme);
    EXPECT_EQ(loads(screen), loadsBefore + 1);
}

TEST_F(AidesScreen, TheSoundFieldTakesAnyTextWithoutBreakingTheMarkup)
{
    TForm1 *screen = open();
    const QByteArray before = bytesOf(student.document);
    const QStringList lines = workspace::readLines(student.document);
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
         " froi--d\xA0: chut\xA0;"},
        {"sentences", [=] { screen->CheckBox9->click(); }, [=] { screen->CheckBox9->click(); },
         "\"\xA0Le loup dort\xA0</FONT>"},
        {"sound", [=] { screen->Edit6->setText(u"ou"_s); }, [=] { screen->Edit6->clear(); }, "</B></FONT>p dort\xA0"},
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
    EXPECT_FALSE(screen->CheckBox2->isChecked());
    EXPECT_FALSE(screen->CheckBox9->isChecked());
    EXPECT_TRUE(screen->CheckBox6->isChecked());
    EXPECT_EQ(bytesOf(student.document), before);
    EXPECT_EQ(bytesOf(student.cssPath()), css);
    EXPECT_FALSE(QFile::exists(student.cheminW + u"TexteAlire_copie.html"_s));
    ASSERT_EQ(platform.messages.shown.size(), 4);
    EXPECT_TRUE(platform.messages.shown[1].contains(u"<!--DEBUT-->"_s));
    EXPECT_EQ(platform.messages.shown[3], platform.messages.shown[1]);
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
    ASSERT_TRUE(screen->CheckBox6->isChecked()); // from line 47, the student's
    screen->CheckBox6->click();
    EXPECT_EQ(bytesOf(other), renard);
    EXPECT_EQ(bytesOf(student.document), conteWithDashes);
    close(screen);

    screen = open();
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
