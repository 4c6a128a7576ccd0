// The layout screen driven headless through its real handlers, with the
// doubles of the desktop: the opening, every typography command, the track
// bars, the settings save and the opening failures.
#include "fakeplatform.h"
#include "import/Unit3.h"
#include "layout/Vitrine_test.h"
#include "layoutfolder.h"
#include "platform/controls.h"
#include "platform/eventrules.h"
#include "readingaids/frame.h"
#include "students/Unit2.h"
#include "testfiles.h"
#include "workingfolder.h"
#include "workspace/failure.h"
#include "workspace/textfile.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;
using layouttest::Screens;
using layouttest::StudentFolder;

namespace {

const QString Version = u"Version beta 1.1  : "_s;

class LayoutScreen : public testing::Test
{
protected:
    fakes::WebView *view(TForm1 *screen) const { return static_cast<fakes::WebView *>(screen->WebBrowser1); }
    // Every load the web view was asked for: navigations and reloads.
    int loads(TForm1 *screen) const { return view(screen)->history.size() + view(screen)->reloads; }
    QString cssLine(int k) const { return student.cssLines().value(k - 1); }
    static void leave(QWidget *bar)
    {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(bar, &event);
    }

    fakes::Platform platform;
    fakes::WorkingFolder folder;
    StudentFolder student{folder};
};

TEST_F(LayoutScreen, OpensOnTheShippedTemplatesAndShowsTheDocumentOnce)
{
    const QByteArray document = bytesOf(student.document);
    Screens screens(student);
    TForm1 *screen = screens.openLayout();

    EXPECT_EQ(platform.messages.shown, QStringList{Version});
    EXPECT_EQ(screen->windowTitle(), u"Tessavo - Mise en page"_s);
    EXPECT_EQ(screen->cheminW, student.cheminW);
    EXPECT_EQ(screen->TitreText, student.document);
    EXPECT_EQ(screen->Label3->text(), student.document);
    EXPECT_EQ(screen->taille, 100);
    EXPECT_EQ(screen->espacel, 45);
    EXPECT_EQ(screen->espacem, 10);
    EXPECT_EQ(screen->EcarLT, 0);
    EXPECT_EQ(screen->Edit1->text(), u"100"_s);
    EXPECT_EQ(screen->Edit2->text(), u"45"_s);
    EXPECT_EQ(screen->Edit3->text(), u"10"_s);
    EXPECT_EQ(screen->Edit5->text(), u"0"_s) << "line 29 of the template";
    EXPECT_EQ(screen->Edit6->text(), QString());

    // Lines 49 and 50 empty: the page fills the room left of the height track
    // bar and above the band of controls at the window's foot (at 1341 and
    // 715 on this display less a title bar, less a gap), mirrored in the
    // track bars, labels and lines.
    EXPECT_EQ(screen->WebBrowser1->geometry(), QRect(0, 0, 1339, 711));
    EXPECT_EQ(screen->TrackBar1->value(), 98);
    EXPECT_EQ(screen->TrackBar2->value(), 69);
    EXPECT_EQ(screen->Css[49], u"1339"_s);
    EXPECT_EQ(screen->Css[50], u"711"_s);
    EXPECT_EQ(screen->Label2->text(), u"1339"_s);
    EXPECT_EQ(screen->Label1->text(), u"711"_s);

    EXPECT_TRUE(screen->CheckBox4->isChecked() && screen->CheckBox5->isChecked());
    for (QCheckBox *box : {static_cast<QCheckBox *>(screen->CheckBox1), static_cast<QCheckBox *>(screen->CheckBox2),
                           static_cast<QCheckBox *>(screen->CheckBox3), static_cast<QCheckBox *>(screen->CheckBox6),
                           static_cast<QCheckBox *>(screen->CheckBox7), static_cast<QCheckBox *>(screen->CheckBox8),
                           static_cast<QCheckBox *>(screen->CheckBox9), static_cast<QCheckBox *>(screen->souligne),
                           static_cast<QCheckBox *>(screen->Surligne), static_cast<QCheckBox *>(screen->Arial)})
        EXPECT_FALSE(box->isChecked()) << box->text().toStdString();
    EXPECT_TRUE(screen->Dysfont->isChecked()) << "the template's line 7";
    for (QWidget *hidden : {static_cast<QWidget *>(screen->Memo1), static_cast<QWidget *>(screen->Memo2),
                            static_cast<QWidget *>(screen->Edit4), static_cast<QWidget *>(screen->Edit7),
                            static_cast<QWidget *>(screen->WebBrowser2)})
        EXPECT_TRUE(hidden->isHidden());
    EXPECT_FALSE(screen->Image1->pixmap().isNull()) << "the banner is linked into the program";

    // The document lines, the document written again as it was, its backup.
    EXPECT_EQ(platform::linesOf(screen->Memo1), workspace::readLines(student.document));
    EXPECT_EQ(bytesOf(student.document), document);
    EXPECT_EQ(bytesOf(student.document + u".bak"_s), document);

    EXPECT_EQ(view(screen)->history, QList<QUrl>{QUrl::fromLocalFile(QDir::fromNativeSeparators(student.document))});
    EXPECT_EQ(view(screen)->reloads, 0);
    // The opening changed nothing on disk: its changes reach the file at the next save.
    EXPECT_EQ(student.cssLines(), workspace::readLines(QStringLiteral(TESSAVO_SOURCE_DIR "/reserve/style.css")));
}

TEST_F(LayoutScreen, ADocumentThatStillCarriesAnAidNeverReplacesTheBackup)
{
    // Empty flag lines, but the document was left with an aid by another
    // document's session: the backup keeps the teacher's text.
    const QByteArray teacherText = bytesOf(student.document);
    QFile::copy(student.document, student.document + u".bak"_s);
    QStringList transformed = workspace::readLines(student.document);
    transformed.append(u"<!--COPIE SANS AIDE 0123456789abcdef-->"_s);
    workspace::writeLines(student.document, transformed);

    Screens screens(student);
    screens.openLayout();

    EXPECT_EQ(bytesOf(student.document + u".bak"_s), teacherText);
}

struct OpeningCase
{
    const char *name;
    QList<std::pair<int, QString>> lines; // style.css lines before the opening
    std::function<void(TForm1 *, const StudentFolder &)> check;
    QSize display{1366, 1024};
    bool highlighted = false; // the document's highlight line yellow
};

TEST_F(LayoutScreen, OpeningRestoresTheScreenFromTheStyleSheet)
{
    const auto hasBackup = [](const StudentFolder &s) { return QFile::exists(s.document + u".bak"_s); };
    const QList<OpeningCase> cases = {
        {"a height above 850 opens 800 high",
         {{50, u"900"_s}},
         [](TForm1 *f, const StudentFolder &) {
             EXPECT_EQ(f->WebBrowser1->height(), 711) << "the page stops above the controls";
             EXPECT_EQ(f->Label1->text(), u"800"_s);
             EXPECT_EQ(f->Css[50], u"800"_s);
         }},
        {"a width beyond the display opens as wide as the display",
         {{49, u"3000"_s}, {50, u"400"_s}},
         [](TForm1 *f, const StudentFolder &) {
             EXPECT_EQ(f->TrackBar1->value(), 100);
             EXPECT_EQ(f->WebBrowser1->size(), QSize(1339, 400)) << "the page stops left of the height track bar";
             EXPECT_EQ(f->Css[49], u"1366"_s);
             EXPECT_EQ(f->Label2->text(), u"1366"_s);
         }},
        {"a size is kept whole across openings",
         {{49, u"1000"_s}, {50, u"601"_s}},
         [](TForm1 *f, const StudentFolder &) {
             EXPECT_EQ(f->WebBrowser1->size(), QSize(1000, 601));
             EXPECT_EQ(f->Css[49], u"1000"_s);
             EXPECT_EQ(f->Css[50], u"601"_s);
         }},
        {"underline and overline: both boxes, as the page shows both lines",
         {{27, u"text-decoration: underline overline;"_s}},
         [](TForm1 *f, const StudentFolder &s) {
             EXPECT_TRUE(f->Surligne->isChecked());
             EXPECT_TRUE(f->souligne->isChecked());
             EXPECT_EQ(s.cssLines().value(26), u"text-decoration: underline overline;"_s);
         }},
        {"the font, the capitals, the letter spacing and the highlight the page shows",
         {{7, u"font-family: \"HelveticaNeueLT Std Lt\",\"sans-serif\";"_s},
          {28, u"text-transform: Uppercase;"_s},
          {29, u" letter-spacing: 3px;}"_s}},
         [](TForm1 *f, const StudentFolder &s) {
             EXPECT_TRUE(f->CheckBox7->isChecked());
             EXPECT_FALSE(f->Dysfont->isChecked() || f->Arial->isChecked());
             EXPECT_TRUE(f->CheckBox1->isChecked());
             EXPECT_EQ(f->EcarLT, 3);
             EXPECT_EQ(f->Edit5->text(), u"3"_s);
             EXPECT_TRUE(f->CheckBox3->isChecked()) << "the document's highlight line";
             // The next press goes on from what the page shows.
             f->Button11->click();
             EXPECT_EQ(s.cssLines().value(28), u" letter-spacing: 4px;}"_s);
         },
         {1366, 1024},
         true},
        {"none anywhere: neither box",
         {{27, u"text-decoration: underline none;"_s}},
         [](TForm1 *f, const StudentFolder &) {
             EXPECT_FALSE(f->Surligne->isChecked());
             EXPECT_FALSE(f->souligne->isChecked());
         }},
        {"the dashes flag over a plain document: no box, and no backup",
         {{47, u"/*TIRET*/"_s}},
         [=](TForm1 *f, const StudentFolder &s) {
             EXPECT_FALSE(f->CheckBox6->isChecked()) << "the box says what the document shows";
             EXPECT_FALSE(hasBackup(s));
         }},
        {"a flag in the wrong case checks nothing",
         {{47, u"/*tiret*/"_s}},
         [](TForm1 *f, const StudentFolder &) { EXPECT_FALSE(f->CheckBox6->isChecked()); }},
        {"the syllables flag of line 48 is dropped, and the backup written",
         {{48, u"/*SYLLABE*/"_s}},
         [=](TForm1 *f, const StudentFolder &s) {
             EXPECT_FALSE(f->CheckBox2->isChecked());
             EXPECT_EQ(f->Css[48], QString());
             EXPECT_TRUE(hasBackup(s));
         }},
        {"line 58 over a plain document checks no box and leaves the document as it was",
         {{58, u"/*Phrases couleurs*/"_s}, {56, u"/*Bord vert/rouge*/"_s}},
         [](TForm1 *f, const StudentFolder &) {
             EXPECT_FALSE(f->CheckBox9->isChecked());
             EXPECT_FALSE(f->CheckBox2->isChecked());
             EXPECT_TRUE(f->CheckBox4->isChecked()) << "nothing unchecks the border boxes";
         }},
        {"line 58 syllables in colours over a plain document",
         {{58, u"/*Syllabes couleurs*/"_s}, {48, u"/*SYLLABE*/"_s}},
         [](TForm1 *f, const StudentFolder &) { EXPECT_FALSE(f->CheckBox2->isChecked()); }},
        {"negative counters",
         {{21, u" font-size: -10%; "_s}, {24, u" line-height: -5px; "_s}},
         [](TForm1 *f, const StudentFolder &) {
             EXPECT_EQ(f->taille, -10);
             EXPECT_EQ(f->Edit1->text(), u"-10"_s);
             EXPECT_EQ(f->espacel, -5);
         }},
        {"line 50 at 900 on a display 768 high: the track bar stops at the display's height",
         {{50, u"900"_s}},
         [](TForm1 *f, const StudentFolder &) {
             EXPECT_EQ(f->TrackBar2->value(), 100);
             EXPECT_EQ(f->WebBrowser1->height(), 455) << "the page stops above the controls";
             EXPECT_EQ(f->Css[50], u"768"_s);
         },
         {1024, 768}},
    };
    for (const OpeningCase &c : cases) {
        SCOPED_TRACE(c.name);
        fakes::WorkingFolder caseFolder;
        const StudentFolder s(caseFolder);
        for (const auto &[k, text] : c.lines)
            s.setCssLine(k, text);
        if (c.highlighted)
            workspace::writeLines(s.document, readingaids::highlightLines(workspace::readLines(s.document), true));
        const QByteArray document = bytesOf(s.document);
        platform.display.pixels = c.display;
        Screens screens(s);
        TForm1 *screen = screens.openLayout();
        c.check(screen, s);
        EXPECT_EQ(bytesOf(s.document), document) << "the opening leaves the document as it was";
    }
}

TEST_F(LayoutScreen, AFailedOpeningShowsTheErrorAndLeavesTheDocumentAsItWas)
{
    struct Case
    {
        const char *name;
        std::function<void(const StudentFolder &)> spoil;
        QString inMessage; // beside the file's path
    };
    const QList<Case> cases = {
        {"no style sheet", [](const StudentFolder &s) { QFile::remove(s.cssPath()); }, {}},
        {"line 21 without %", [](const StudentFolder &s) { s.setCssLine(21, u" font-size: 100; "_s); }, u"ligne 21"_s},
        {"line 24 without its integer", [](const StudentFolder &s) { s.setCssLine(24, u" line-height: grand; "_s); },
         u"ligne 24"_s},
        {"line 25 without px", [](const StudentFolder &s) { s.setCssLine(25, u" word-spacing: 10em; "_s); },
         u"ligne 25"_s},
        {"line 49 not a number", [](const StudentFolder &s) { s.setCssLine(49, u"large"_s); }, u"ligne 49"_s},
        {"line 50 not a number", [](const StudentFolder &s) { s.setCssLine(50, u"12px"_s); }, u"ligne 50"_s},
        {"line 49 nan", [](const StudentFolder &s) { s.setCssLine(49, u"nan"_s); }, u"ligne 49"_s},
        {"line 50 inf", [](const StudentFolder &s) { s.setCssLine(50, u"inf"_s); }, u"ligne 50"_s},
        {"line 49 1e12", [](const StudentFolder &s) { s.setCssLine(49, u"1e12"_s); }, u"ligne 49"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fakes::WorkingFolder caseFolder;
        const StudentFolder s(caseFolder);
        c.spoil(s);
        const QByteArray document = bytesOf(s.document);
        platform.messages.shown.clear();
        Screens screens(s);
        // The import screen's layout button, as the teacher presses it.
        screens.import->Button6->click();
        ASSERT_FALSE(platform.messages.shown.isEmpty());
        const QString report = platform.messages.shown.last();
        EXPECT_TRUE(report.contains(s.cssPath())) << report.toStdString();
        EXPECT_TRUE(report.contains(c.inMessage)) << report.toStdString();
        EXPECT_TRUE(screens.import->findChildren<TForm1 *>().isEmpty()) << "no layout screen is left";
        EXPECT_EQ(bytesOf(s.document), document);
        EXPECT_FALSE(QFile::exists(s.document + u".bak"_s));
    }

    // A missing current document.
    fakes::WorkingFolder caseFolder;
    const StudentFolder s(caseFolder);
    QFile::remove(s.document);
    Screens screens(s);
    screens.import->Button6->click();
    ASSERT_FALSE(platform.messages.shown.isEmpty());
    EXPECT_TRUE(platform.messages.shown.last().contains(s.document)) << platform.messages.shown.last().toStdString();
    EXPECT_TRUE(screens.import->findChildren<TForm1 *>().isEmpty());
    EXPECT_FALSE(QFile::exists(s.document));
}

TEST_F(LayoutScreen, AShortStyleSheetHas71LinesAfterTheFirstSave)
{
    student.setCssLines(student.cssLines().mid(0, 60));
    Screens screens(student);
    TForm1 *screen = screens.openLayout();
    screen->Button2->click();
    const QStringList lines = student.cssLines();
    ASSERT_EQ(lines.size(), 71);
    EXPECT_EQ(lines[20], u" font-size: 110%; "_s);
    EXPECT_EQ(lines.mid(60), QStringList(11, QString()));
}

struct CounterCase
{
    const char *button;
    int line;
    const char16_t *written;
    const char *shownIn;
    const char16_t *shown;
};

TEST_F(LayoutScreen, EachCounterButtonWritesItsLineSavesAndLoadsTheDocumentOnce)
{
    const CounterCase cases[] = {
        {"Button2", 21, u" font-size: 110%; ", "Edit1", u"110"},
        {"Button3", 21, u" font-size: 90%; ", "Edit1", u"90"},
        {"Button4", 24, u" line-height: 50px; ", "Edit2", u"50"},
        {"Button5", 24, u" line-height: 40px; ", "Edit2", u"40"},
        {"Button6", 25, u" word-spacing: 15px; ", "Edit3", u"15"},
        {"Button7", 25, u" word-spacing: 5px; ", "Edit3", u"5"},
        {"Button11", 29, u" letter-spacing: 1px;}", "Edit5", u"1"},
        {"Button12", 29, u" letter-spacing: -1px;}", "Edit5", u"-1"},
    };
    for (const CounterCase &c : cases) {
        SCOPED_TRACE(c.button);
        fakes::WorkingFolder caseFolder;
        const StudentFolder s(caseFolder);
        Screens screens(s);
        TForm1 *screen = screens.openLayout();
        const QStringList before = s.cssLines();
        const int loadsBefore = loads(screen);
        const QMap<QString, QPushButton *> buttons = {
            {u"Button2"_s, screen->Button2}, {u"Button3"_s, screen->Button3}, {u"Button4"_s, screen->Button4},
            {u"Button5"_s, screen->Button5}, {u"Button6"_s, screen->Button6}, {u"Button7"_s, screen->Button7},
            {u"Button11"_s, screen->Button11}, {u"Button12"_s, screen->Button12}};
        const QMap<QString, QLineEdit *> edits = {
            {u"Edit1"_s, screen->Edit1}, {u"Edit2"_s, screen->Edit2}, {u"Edit3"_s, screen->Edit3}, {u"Edit5"_s, screen->Edit5}};
        buttons[QString::fromLatin1(c.button)]->click();

        QStringList expected = screen->Css.numbered(); // the opening's own changes reach the file now
        EXPECT_EQ(expected[c.line - 1], QString::fromUtf16(c.written));
        EXPECT_EQ(s.cssLines(), expected);
        for (int k = 1; k <= 71; ++k) {
            if (k != c.line && k != 49 && k != 50) {
                EXPECT_EQ(expected[k - 1], before[k - 1]) << "line " << k;
            }
        }
        EXPECT_EQ(edits[QString::fromLatin1(c.shownIn)]->text(), QString::fromUtf16(c.shown));
        EXPECT_EQ(loads(screen), loadsBefore + 1) << "one load per command";
        EXPECT_EQ(view(screen)->address(), QUrl::fromLocalFile(QDir::fromNativeSeparators(s.document)));
    }
}

TEST_F(LayoutScreen, CountersGoBelowZeroAndEditFieldsOnlyDisplay)
{
    Screens screens(student);
    TForm1 *screen = screens.openLayout();
    screen->Edit1->setText(u"500"_s); // typing changes nothing
    for (int i = 0; i < 11; ++i)
        screen->Button3->click();
    EXPECT_EQ(screen->taille, -10);
    EXPECT_EQ(screen->Edit1->text(), u"-10"_s);
    EXPECT_EQ(cssLine(21), u" font-size: -10%; "_s);
}

TEST_F(LayoutScreen, CapitalsFontsAndUnderlineBoxes)
{
    Screens screens(student);
    TForm1 *screen = screens.openLayout();
    int expectedLoads = loads(screen);

    screen->CheckBox1->click();
    EXPECT_EQ(cssLine(28), u"text-transform: Uppercase;"_s);
    screen->CheckBox1->click();
    EXPECT_EQ(cssLine(28), u"text-transform: None;"_s);
    expectedLoads += 2;

    // The template's font opens checked; unchecking it keeps the font.
    EXPECT_TRUE(screen->Dysfont->isChecked());
    screen->Dysfont->click();
    EXPECT_EQ(loads(screen), expectedLoads);
    screen->Dysfont->click();
    EXPECT_EQ(cssLine(7), u"font-family: \"OpenDyslexic-Regular\",\"sans-serif\";"_s);
    screen->Arial->click();
    EXPECT_FALSE(screen->Dysfont->isChecked());
    EXPECT_EQ(cssLine(7), u"font-family: \"Arial\",\"sans-serif\";"_s);
    expectedLoads += 2;
    EXPECT_EQ(loads(screen), expectedLoads);
    screen->Arial->click(); // unchecking keeps the last font chosen
    EXPECT_EQ(cssLine(7), u"font-family: \"Arial\",\"sans-serif\";"_s);
    EXPECT_EQ(loads(screen), expectedLoads);

    screen->CheckBox7->click();
    EXPECT_TRUE(screen->CheckBox7->isChecked());
    EXPECT_EQ(cssLine(7), u"font-family: \"HelveticaNeueLT Std Lt\",\"sans-serif\";"_s);
    ++expectedLoads;
    screen->Dysfont->click();
    EXPECT_FALSE(screen->CheckBox7->isChecked()) << "the group keeps one box checked";
    ++expectedLoads;
    screen->CheckBox7->click();
    const QStringList before = student.cssLines();
    screen->CheckBox7->click(); // clicking Helvetica while checked only unchecks it
    EXPECT_FALSE(screen->CheckBox7->isChecked());
    EXPECT_EQ(student.cssLines(), before);
    ++expectedLoads;
    EXPECT_EQ(loads(screen), expectedLoads);

    // Each box writes line 27 alone; both then say what the line gives.
    screen->Surligne->click();
    EXPECT_EQ(cssLine(27), u"text-decoration: underline overline;"_s);
    EXPECT_TRUE(screen->Surligne->isChecked() && screen->souligne->isChecked());
    screen->souligne->click();
    EXPECT_EQ(cssLine(27), u"text-decoration: none;"_s);
    EXPECT_FALSE(screen->Surligne->isChecked() || screen->souligne->isChecked());
    screen->souligne->click();
    EXPECT_EQ(cssLine(27), u"text-decoration: underline;"_s);
    EXPECT_TRUE(screen->souligne->isChecked());
    EXPECT_FALSE(screen->Surligne->isChecked());
    expectedLoads += 3;
    EXPECT_EQ(loads(screen), expectedLoads);
}

TEST_F(LayoutScreen, TrackBarsChangeTheViewInMemoryAndSaveWhenThePointerLeaves)
{
    Screens screens(student);
    TForm1 *screen = screens.openLayout();
    const QStringList before = student.cssLines();
    const int loadsBefore = loads(screen);

    // The labels and lines take the size asked for; the page on the screen
    // stops above the controls.
    screen->TrackBar2->setValue(90);
    EXPECT_EQ(screen->WebBrowser1->height(), 711);
    EXPECT_EQ(screen->Label1->text(), u"800"_s);
    screen->TrackBar2->setValue(80);
    EXPECT_EQ(screen->WebBrowser1->height(), 711);
    EXPECT_EQ(screen->Label1->text(), u"819"_s);
    EXPECT_EQ(screen->Css[50], u"819"_s);
    screen->TrackBar1->setValue(50);
    EXPECT_EQ(screen->WebBrowser1->width(), 683);
    EXPECT_EQ(screen->Label2->text(), u"683"_s);
    EXPECT_EQ(screen->Css[49], u"683"_s);
    EXPECT_EQ(student.cssLines(), before) << "moving changes memory only";
    EXPECT_EQ(loads(screen), loadsBefore);

    leave(screen->TrackBar2);
    EXPECT_EQ(cssLine(49), u"683"_s);
    EXPECT_EQ(cssLine(50), u"819"_s);
    EXPECT_EQ(loads(screen), loadsBefore + 1);
    leave(screen->TrackBar1); // the pointer crossing without a move saves and loads too
    EXPECT_EQ(loads(screen), loadsBefore + 2);
}

TEST_F(LayoutScreen, AFailedSaveKeepsTheChangeInMemoryAndDoesNotRefresh)
{
    Screens screens(student);
    TForm1 *screen = screens.openLayout();
    const int loadsBefore = loads(screen);
    // The style sheet's place is taken by a folder: it cannot be written.
    QFile::remove(student.cssPath());
    QDir().mkdir(student.cssPath());
    screen->Button2->click();
    EXPECT_EQ(screen->taille, 110);
    EXPECT_EQ(screen->Edit1->text(), u"110"_s);
    EXPECT_EQ(screen->Css[21], u" font-size: 110%; "_s);
    EXPECT_EQ(loads(screen), loadsBefore);
    ASSERT_FALSE(platform.messages.shown.isEmpty());
    EXPECT_TRUE(platform.messages.shown.last().contains(student.cssPath())) << platform.messages.shown.last().toStdString();
}

TEST_F(LayoutScreen, SettingsSaveStoresTheBoxesAndBringsTheStudentScreenForward)
{
    student.setCssLine(58, u"/*Syllabes tirets*/"_s);
    student.setCssLine(56, QString());
    Screens screens(student);
    TForm1 *screen = screens.openLayout();
    screen->TrackBar1->setValue(50);
    screen->CheckBox9->setChecked(true);
    screen->CheckBox2->setChecked(true);
    screen->CheckBox6->setChecked(true);
    screen->CheckBox4->setChecked(false);

    screen->Button1->click();

    EXPECT_FALSE(screen->findChild<TForm2 *>()) << "no other student screen is made";
    EXPECT_TRUE(screens.students->isVisible()) << "the student screen that exists comes forward";
    EXPECT_FALSE(screen->isVisible());
    EXPECT_FALSE(screens.import->isVisible());
    const QStringList lines = student.cssLines();
    ASSERT_EQ(lines.size(), 71);
    EXPECT_EQ(lines[48], u"683"_s);
    EXPECT_EQ(lines[49], u"711"_s) << "the height the page opened with";
    EXPECT_EQ(lines[55], QString()) << "an unchecked border box leaves its line";
    EXPECT_EQ(lines[56], u"/*Bord multicolor*/"_s);
    EXPECT_EQ(lines[57], u"/*Syllabes tirets*/"_s) << "the dashes box comes last";
    EXPECT_EQ(view(screen)->address(), QUrl::fromLocalFile(QDir::fromNativeSeparators(student.cheminW + u"TexteAlire.html"_s)));
}

TEST_F(LayoutScreen, PrintHint)
{
    Screens screens(student);
    TForm1 *screen = screens.openLayout();
    const QByteArray css = bytesOf(student.cssPath());
    screen->Button10->click();
    ASSERT_FALSE(platform.messages.shown.isEmpty());
    EXPECT_EQ(platform.messages.shown.last(), u"Clic droit sur la page -> Imprimer"_s);
    EXPECT_EQ(bytesOf(student.cssPath()), css);
}

TEST_F(LayoutScreen, ControlsAreLaidOutForTheDisplayAndStayInsideIt)
{
    for (const QSize display : {QSize(1024, 768), QSize(1366, 1024), QSize(1920, 1080)}) {
        SCOPED_TRACE(display.width());
        fakes::WorkingFolder caseFolder;
        const StudentFolder s(caseFolder);
        platform.display.pixels = display;
        Screens screens(s);
        TForm1 *screen = screens.openLayout();
        const layout::Agencement a = layout::agencement(display - QSize(0, platform::TitleBarAllowance));
        EXPECT_EQ(screen->Button1->geometry(), layout::placer({88, 800, 161, 33}, a));
        EXPECT_EQ(screen->TrackBar2->geometry(), layout::placerBarreHauteur({1341, 364, 19, 389}, a));
        const QRect window(QPoint(0, 0), display);
        int visible = 0;
        for (QWidget *control : screen->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (control->isHidden() || control == screen->WebBrowser1)
                continue;
            ++visible;
            EXPECT_TRUE(window.contains(control->geometry()))
                << control->metaObject()->className() << " at " << control->x() << "," << control->y();
        }
        EXPECT_EQ(visible, 46) << "the 36 controls of the design, the \"entendu\" box and its note, \"Aperçu tablette\", "
                                  "\"à la suite\", the words to check and their caption, the reading-aloud box, its "
                                  "speed, \"Écouter\" and \"Pause\"";
        // The boxes, the note and the speed were put where nothing stood.
        for (QWidget *added : {static_cast<QWidget *>(screen->Entendu), static_cast<QWidget *>(screen->LabelEntendu),
                               static_cast<QWidget *>(screen->ButtonTablette), static_cast<QWidget *>(screen->SyllabesSuite),
                               static_cast<QWidget *>(screen->LabelMots), static_cast<QWidget *>(screen->MotsAVerifier),
                               static_cast<QWidget *>(screen->Lecture), static_cast<QWidget *>(screen->LectureVitesse),
                               static_cast<QWidget *>(screen->Ecouter), static_cast<QWidget *>(screen->PauseLecture)}) {
            for (QWidget *control : screen->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (control != added && !control->isHidden() && control != screen->WebBrowser1) {
                    EXPECT_FALSE(added->geometry().intersects(control->geometry()))
                        << added->metaObject()->className() << " at " << added->x() << "," << added->y() << " on "
                        << control->metaObject()->className() << " at " << control->x() << "," << control->y();
                }
            }
        }
    }
}

} // namespace
