// The layout screen's controls pressed as the teacher presses them: real
// mouse events through the window, found by the toolkit where they fall, at
// the scaled places of two displays. Each press must reach the control drawn
// there and run its own handler; the track bars are dragged from both ends
// and from where they open. The counter fields show their whole values.
#include "fakeplatform.h"
#include "layout/Vitrine_test.h"
#include "publishing/diffusionscreen.h"
#include "layoutfolder.h"
#include "platform/eventrules.h"
#include "platform/screenwindow.h"
#include "import/Unit3.h"
#include "students/Unit2.h"
#include "testfiles.h"
#include "workingfolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;
using layouttest::Screens;
using layouttest::StudentFolder;

namespace {

// What a press on a control must do.
enum class Effect {
    StyleSheet,  // its handler rewrites style.css
    Document,    // its handler rewrites the current document
    Focus,       // a field takes the keyboard
    Nothing,     // a label or a picture: the press reaches it, nothing runs
    Print,       // "Imprimer la page" tells how to print
    Publication, // the publication starts
    Settings,    // the settings are saved and a student screen comes
};

struct Press
{
    const char *name;
    QWidget *(*control)(TForm1 *);
    Effect effect;
};

#define CONTROL(name) #name, [](TForm1 *f) -> QWidget * { return f->name; }

// The 34 controls other than the track bars, and the "entendu" box with its
// note, in an order in which each press changes something (the font boxes
// check in turn, each aid box takes over from the one before, the "entendu"
// box marks by ear the sound typed just before).
const Press Presses[] = {
    {CONTROL(Button2), Effect::StyleSheet},
    {CONTROL(Button3), Effect::StyleSheet},
    {CONTROL(Button4), Effect::StyleSheet},
    {CONTROL(Button5), Effect::StyleSheet},
    {CONTROL(Button6), Effect::StyleSheet},
    {CONTROL(Button7), Effect::StyleSheet},
    {CONTROL(Button11), Effect::StyleSheet},
    {CONTROL(Button12), Effect::StyleSheet},
    {CONTROL(Button10), Effect::Print},
    {CONTROL(Button9), Effect::Publication},
    {CONTROL(CheckBox1), Effect::StyleSheet},
    {CONTROL(CheckBox7), Effect::StyleSheet},
    {CONTROL(Dysfont), Effect::StyleSheet},
    {CONTROL(Arial), Effect::StyleSheet},
    {CONTROL(souligne), Effect::StyleSheet},
    {CONTROL(Surligne), Effect::StyleSheet},
    {CONTROL(CheckBox2), Effect::Document},
    {CONTROL(CheckBox9), Effect::Document},
    {CONTROL(CheckBox6), Effect::Document},
    {CONTROL(CheckBox8), Effect::Document},
    {CONTROL(CheckBox3), Effect::Document},
    {CONTROL(CheckBox4), Effect::Document},
    {CONTROL(CheckBox5), Effect::Document},
    {CONTROL(Edit1), Effect::Focus},
    {CONTROL(Edit2), Effect::Focus},
    {CONTROL(Edit3), Effect::Focus},
    {CONTROL(Edit5), Effect::Focus},
    {CONTROL(Edit6), Effect::Focus},
    {CONTROL(Entendu), Effect::Document},
    {CONTROL(LabelEntendu), Effect::Nothing},
    {CONTROL(Label1), Effect::Nothing},
    {CONTROL(Label2), Effect::Nothing},
    {CONTROL(Label3), Effect::Nothing},
    {CONTROL(Label4), Effect::Nothing},
    {CONTROL(Image1), Effect::Nothing},
    {CONTROL(Button1), Effect::Settings}, // last: hides the screen
};

// Which widget a mouse press reached first, and which controls reported a
// user's action (the signals the screen's handlers are bound to).
class Witness : public QObject
{
public:
    explicit Witness(TForm1 *screen)
    {
        qApp->installEventFilter(this);
        for (QPushButton *button : screen->findChildren<QPushButton *>())
            connect(button, &QPushButton::clicked, this, [this, button] { acted.append(button); });
        for (platform::CheckBox *box : screen->findChildren<platform::CheckBox *>())
            connect(box, &platform::CheckBox::clickedBeforeChange, this, [this, box] { acted.append(box); });
        for (platform::TrackBar *bar : screen->findChildren<platform::TrackBar *>())
            connect(bar, &platform::TrackBar::sliderMoved, this, [this, bar] {
                if (acted.isEmpty() || acted.last() != bar)
                    acted.append(bar);
            });
    }
    ~Witness() override { qApp->removeEventFilter(this); }

    void clear()
    {
        pressed = nullptr;
        acted.clear();
    }

    QWidget *pressed = nullptr;
    QList<QObject *> acted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress && !pressed && watched->isWidgetType())
            pressed = static_cast<QWidget *>(watched);
        return false;
    }
};

// The track bar's handle where the style draws it, in the screen's
// coordinates (as QSlider fills its own style option).
QRect handleOf(const QSlider *bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_None;
    option.activeSubControls = QStyle::SC_None;
    option.orientation = bar->orientation();
    option.maximum = bar->maximum();
    option.minimum = bar->minimum();
    option.tickPosition = bar->tickPosition();
    option.tickInterval = bar->tickInterval();
    option.upsideDown = bar->orientation() == Qt::Horizontal
        ? bar->invertedAppearance() != (option.direction == Qt::RightToLeft)
        : !bar->invertedAppearance();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QRect handle = bar->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, bar);
    return handle.translated(bar->pos());
}

// Whether the field shows its whole text: laid out with the caret at its
// end, then at its start, the caret has moved by the whole text's width (a
// text that does not fit scrolls, and the caret then moves by less).
bool showsWhole(QLineEdit *field)
{
    const auto caretAt = [field](int position) {
        field->setCursorPosition(position);
        field->grab(); // the field places its text when it paints
        return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
    };
    const int end = caretAt(int(field->text().size()));
    const int start = caretAt(0);
    return end - start == field->fontMetrics().horizontalAdvance(field->text());
}

class LayoutControls : public testing::Test
{
protected:
    // The layout screen on a display of that size, its window as large, over
    // a fresh student folder.
    TForm1 *open(QSize display)
    {
        platform.display.pixels = display;
        screens.reset();
        // The earlier folder gives back the current directory before the next
        // one becomes it, where the student screen finds its class.
        studentFolder.reset();
        folder.reset();
        folder = std::make_unique<fakes::WorkingFolder>();
        studentFolder = std::make_unique<StudentFolder>(*folder);
        screens = std::make_unique<Screens>(*studentFolder);
        TForm1 *screen = screens->openLayout();
        // The offscreen desktop is smaller than the display the screen was
        // laid out for: once shown (and maximised on it), the window takes
        // the display's size, as it does when maximised on that display.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(screen));
        QCoreApplication::processEvents();
        screen->setWindowState(Qt::WindowNoState);
        screen->setGeometry(QRect(QPoint(0, 0), display));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(screen));
        return screen;
    }

    const StudentFolder &student() const { return *studentFolder; }

    fakes::Platform platform;
    std::unique_ptr<fakes::WorkingFolder> folder;
    std::unique_ptr<StudentFolder> studentFolder;
    std::unique_ptr<Screens> screens;
};

TEST_F(LayoutControls, EveryControlAnswersAPressWhereItIsDrawn)
{
    // The publication stops at the connection: the program goes on.
    platform.ftp.fail = [](const QString &operation) -> std::optional<QString> {
        if (operation.startsWith(u"connect"_s))
            return u"Connexion refusée"_s;
        return std::nullopt;
    };
    for (const QSize display : {QSize(1366, 1024), QSize(1920, 1080)}) {
        SCOPED_TRACE(display.width());
        TForm1 *screen = open(display);
        QWindow *window = screen->windowHandle();
        Witness witness(screen);
        int pressed = 0;
        for (const Press &press : Presses) {
            SCOPED_TRACE(press.name);
            QWidget *control = press.control(screen);
            const std::string_view name = press.name;
            ASSERT_TRUE(control->isVisible());
            const QPoint centre = control->geometry().center();
            const QByteArray css = bytesOf(student().cssPath());
            const QByteArray document = bytesOf(student().document);
            const qsizetype messages = platform.messages.shown.size();
            const bool checked = qobject_cast<QCheckBox *>(control) && qobject_cast<QCheckBox *>(control)->isChecked();
            witness.clear();
            QTest::mouseClick(window, Qt::LeftButton, {}, centre);
            ++pressed;

            EXPECT_EQ(witness.pressed, control) << "the press reached "
                << (witness.pressed ? witness.pressed->metaObject()->className() : "nothing");
            const bool acts = qobject_cast<QAbstractButton *>(control);
            EXPECT_EQ(witness.acted, acts ? QList<QObject *>{control} : QList<QObject *>{});
            if (auto *box = qobject_cast<QCheckBox *>(control)) {
                EXPECT_NE(box->isChecked(), checked);
            }
            switch (press.effect) {
            case Effect::StyleSheet:
                EXPECT_NE(bytesOf(student().cssPath()), css);
                break;
            case Effect::Document:
                EXPECT_NE(bytesOf(student().document), document);
                break;
            case Effect::Focus:
                EXPECT_EQ(QApplication::focusWidget(), control);
                EXPECT_EQ(bytesOf(student().cssPath()), css);
                break;
            case Effect::Nothing:
                EXPECT_EQ(bytesOf(student().cssPath()), css);
                EXPECT_EQ(bytesOf(student().document), document);
                EXPECT_EQ(platform.messages.shown.size(), messages);
                break;
            case Effect::Print:
                EXPECT_EQ(platform.messages.shown.value(messages), u"Clic droit sur la page -> Imprimer"_s);
                break;
            case Effect::Publication:
                EXPECT_EQ(platform.messages.shown.value(messages), publishing::MessageLecteur());
                break;
            case Effect::Settings:
                EXPECT_FALSE(screen->findChild<TForm2 *>()) << "no other student screen is made";
                EXPECT_TRUE(screens->students->isVisible()) << "the settings save brings the student screen forward";
                EXPECT_FALSE(screen->isVisible());
                break;
            }
            if (name == "Edit6") {
                // The sound field takes what is typed there, and its handler marks it.
                QTest::keyClick(window, 'o');
                EXPECT_EQ(screen->Edit6->text(), u"o"_s);
                EXPECT_NE(bytesOf(student().document), document);
            }
        }
        EXPECT_EQ(pressed, 36);
    }
}

TEST_F(LayoutControls, TheTrackBarsAreDraggedFromTheirEndsAndFromWhereTheyOpen)
{
    for (const QSize display : {QSize(1366, 1024), QSize(1920, 1080)}) {
        SCOPED_TRACE(display.width());
        TForm1 *screen = open(display);
        QWindow *window = screen->windowHandle();
        Witness witness(screen);
        const struct
        {
            const char *name;
            platform::TrackBar *bar;
            QLabel *label;
            int line;
        } bars[] = {
            {"width", screen->TrackBar1, screen->Label2, 49},
            {"height", screen->TrackBar2, screen->Label1, 50},
        };
        const QList<QCheckBox *> boxes = screen->findChildren<QCheckBox *>();
        for (const auto &b : bars) {
            SCOPED_TRACE(b.name);
            for (const int start : {b.bar->value(), 0, 100}) {
                SCOPED_TRACE(start);
                b.bar->setValue(start);
                QList<bool> states;
                for (QCheckBox *box : boxes)
                    states.append(box->isChecked());
                const QPoint handle = handleOf(b.bar).center();
                // Toward the middle of the run: up the values from 0, down from the
                // rest (the height track bar has its 0 at the top).
                const int towardHigher = start == 0 ? 1 : -1;
                const QPoint step = b.bar->orientation() == Qt::Horizontal ? QPoint(20 * towardHigher, 0)
                                                                          : QPoint(0, 20 * towardHigher);
                witness.clear();
                QTest::mousePress(window, Qt::LeftButton, {}, handle);
                QTest::mouseMove(window, handle + step / 2);
                QTest::mouseMove(window, handle + step);
                QTest::mouseRelease(window, Qt::LeftButton, {}, handle + step);

                EXPECT_EQ(witness.pressed, b.bar);
                EXPECT_EQ(witness.acted, QList<QObject *>{b.bar});
                EXPECT_EQ(b.bar->value() > start, towardHigher > 0) << "now " << b.bar->value();
                EXPECT_EQ(screen->Css[b.line], b.label->text());
                QList<bool> after;
                for (QCheckBox *box : boxes)
                    after.append(box->isChecked());
                EXPECT_EQ(after, states) << "no box under the track bar";

                // The pointer goes away: the style sheet is saved with the new size.
                QTest::mouseMove(window, screen->Image1->geometry().center());
                EXPECT_EQ(student().cssLines().value(b.line - 1), b.label->text());
            }
        }
    }
}

TEST_F(LayoutControls, EveryCounterFieldShowsItsWholeValue)
{
    for (const QSize display : {QSize(1024, 768), QSize(1366, 1024), QSize(1920, 1080)}) {
        SCOPED_TRACE(display.width());
        TForm1 *screen = open(display);
        const QList<QLineEdit *> fields = {screen->Edit1, screen->Edit2, screen->Edit3, screen->Edit5};
        const auto expectWhole = [&](const char *when) {
            for (QLineEdit *field : fields)
                EXPECT_TRUE(showsWhole(field)) << when << ": " << field->text().toStdString() << " in "
                                               << field->width() << " pixels at " << field->font().pointSizeF()
                                               << " points, " << field->fontMetrics().horizontalAdvance(field->text());
        };
        expectWhole("at opening");
        EXPECT_EQ(screen->Edit1->text(), u"100"_s);
        for (int i = 0; i < 10; ++i)
            screen->Button12->click();
        EXPECT_EQ(screen->Edit5->text(), u"-10"_s);
        for (int i = 0; i < 11; ++i)
            screen->Button3->click();
        EXPECT_EQ(screen->Edit1->text(), u"-10"_s);
        expectWhole("at -10");
        if (display.width() < 1366)
            continue; // the fields are too small there for four characters
        const QFont opening = screen->Edit1->font();
        for (int i = 0; i < 100; ++i) {
            screen->Button3->click();
            screen->Button12->click();
        }
        EXPECT_EQ(screen->Edit1->text(), u"-1010"_s);
        EXPECT_EQ(screen->Edit5->text(), u"-110"_s);
        expectWhole("far below zero");
        for (int i = 0; i < 111; ++i)
            screen->Button2->click();
        EXPECT_EQ(screen->Edit1->text(), u"100"_s);
        EXPECT_EQ(screen->Edit1->font(), opening) << "a short value again in the field's own size";
    }
}

} // namespace

namespace {

// The visible controls of a screen, each with its place in the window.
QList<QWidget *> visibleControls(QWidget *screen)
{
    QList<QWidget *> shown;
    for (QWidget *control : screen->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (control->isVisibleTo(screen) && !control->geometry().isEmpty())
            shown.append(control);
    return shown;
}

// Every visible control lies whole inside the room the window has under its
// title bar, within the area of the display a window may take.
void expectWhollyOnScreen(QWidget *screen, QRect area)
{
    SCOPED_TRACE(screen->metaObject()->className());
    const int usableHeight = area.height() - platform::TitleBarAllowance;
    EXPECT_LE(screen->width(), area.width());
    EXPECT_LE(screen->height(), area.height());
    const QRect room(0, 0, std::min(screen->width(), area.width()), std::min(screen->height(), usableHeight));
    for (QWidget *control : visibleControls(screen))
        EXPECT_TRUE(room.contains(control->geometry()))
            << control->metaObject()->className() << " " << control->objectName().toStdString() << " at "
            << control->geometry().x() << "," << control->geometry().y() << " " << control->geometry().width()
            << "x" << control->geometry().height() << " outside " << room.width() << "x" << room.height();
}

} // namespace

TEST_F(LayoutControls, EveryScreenFitsTheSchoolLaptopTheProjectorAndALargeScreen)
{
    // Each display with a task bar of 40 pixels at its foot.
    for (const QSize display : {QSize(1366, 768), QSize(1280, 720), QSize(1920, 1080)}) {
        SCOPED_TRACE(display.width());
        platform.display.pixels = display;
        platform.display.available = QRect(0, 0, display.width(), display.height() - 40);
        screens.reset();
        studentFolder.reset();
        folder.reset();
        folder = std::make_unique<fakes::WorkingFolder>();
        studentFolder = std::make_unique<StudentFolder>(*folder);
        screens = std::make_unique<Screens>(*studentFolder);
        const QRect area = platform.display.available;

        expectWhollyOnScreen(screens->students, area);
        expectWhollyOnScreen(screens->import, area);
        TForm1 *layout = screens->openLayout();
        expectWhollyOnScreen(layout, area);

        // The page fills the room above the controls and covers none of
        // them, at its default size and at the largest the track bars give.
        const auto expectPageClear = [&](const char *when) {
            SCOPED_TRACE(when);
            const QRect page = layout->WebBrowser1->geometry();
            for (QWidget *control : visibleControls(layout)) {
                if (control != layout->WebBrowser1) {
                    EXPECT_FALSE(page.intersects(control->geometry()))
                        << control->metaObject()->className() << " at " << control->geometry().y();
                }
            }
        };
        expectPageClear("at opening");
        EXPECT_GE(layout->WebBrowser1->geometry().bottom(), layout->Label3->geometry().top() - 10);
        EXPECT_GE(layout->WebBrowser1->width(), layout->TrackBar2->geometry().left() - 10);
        layout->TrackBar2->setValue(layout->TrackBar2->maximum());
        layout->TrackBar1->setValue(layout->TrackBar1->maximum());
        expectPageClear("at the largest size");
        // The label still tells the size asked for.
        EXPECT_GT(layout->Label1->text().toDouble(), layout->WebBrowser1->height());
    }
}

namespace {

// Every caption of a screen (label, button, box, field) that the teacher sees:
// its text at least 11 pixels high, and its control high enough to show it.
void expectReadable(QWidget *screen)
{
    SCOPED_TRACE(screen->metaObject()->className());
    int captions = 0;
    for (QWidget *control : screen->findChildren<QWidget *>()) {
        if (control->window() != screen || !control->isVisibleTo(screen) || control->geometry().isEmpty())
            continue;
        QString text;
        if (auto *label = qobject_cast<QLabel *>(control))
            text = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            text = button->text();
        else if (auto *field = qobject_cast<QLineEdit *>(control))
            text = u"field"_s;
        if (text.isEmpty())
            continue;
        ++captions;
        const QFontMetrics metrics(control->font());
        EXPECT_GE(QFontInfo(control->font()).pixelSize(), 11)
            << control->metaObject()->className() << " « " << text.toStdString() << " »";
        EXPECT_GE(control->height() + 2, metrics.height())
            << control->metaObject()->className() << " « " << text.toStdString() << " » cut: " << control->height()
            << " pixels for " << metrics.height();
    }
    EXPECT_GT(captions, 5);
}

} // namespace

// At 1366 x 768 the screens are laid out for the display, not shrunk: every
// caption readable, the page more than half the display's height, and each
// screen a window of its own with a French title for the title bar.
TEST_F(LayoutControls, AtTheSchoolLaptopsSizeEveryCaptionIsReadableAndThePageLarge)
{
    TForm1 *layout = open({1366, 768});
    expectReadable(screens->students);
    expectReadable(screens->import);
    expectReadable(layout);
    EXPECT_GE(layout->WebBrowser1->height(), 0.55 * 768);

    QStringList titles;
    for (QWidget *screen : {static_cast<QWidget *>(screens->students), static_cast<QWidget *>(screens->import),
                            static_cast<QWidget *>(layout)}) {
        EXPECT_TRUE(screen->isWindow());
        EXPECT_FALSE(screen->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(screen->windowTitle().startsWith(u"Tessavo - "_s)) << screen->windowTitle().toStdString();
        titles.append(screen->windowTitle());
    }
    titles.removeDuplicates();
    EXPECT_EQ(titles.size(), 3);
}
