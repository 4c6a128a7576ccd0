// The event rules of check boxes and track bars that the screens rely on,
// and the logging of every message shown.
#include "fakeplatform.h"
#include "platform/eventrules.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// A screen whose handlers record what they see.
class Recorder : public QWidget
{
public:
    platform::CheckBox *box = new platform::CheckBox(u"Case"_s, this);
    platform::TrackBar *bar = new platform::TrackBar(Qt::Horizontal, this);
    QStringList seen;

    void BoxClick() { seen << u"click:%1"_s.arg(box->isChecked()); }
    void BoxChange() { seen << u"change:%1"_s.arg(box->isChecked()); }
    void BarChange() { seen << u"bar:%1"_s.arg(bar->value()); }
    void BarLeave() { seen << u"leave"_s; }
};

TEST(EventRules, ClickSeesTheStateBeforeTheChangeAndCodeRunsOnlyTheChange)
{
    Recorder screen;
    platform::onClick(screen.box, &screen, &Recorder::BoxClick);
    platform::onChange(screen.box, &screen, &Recorder::BoxChange);

    screen.box->click();
    EXPECT_EQ(screen.seen, (QStringList{u"click:0"_s, u"change:1"_s}));
    screen.box->click();
    EXPECT_EQ(screen.seen.mid(2), (QStringList{u"click:1"_s, u"change:0"_s}));

    screen.seen.clear();
    screen.box->setChecked(true);
    screen.box->setChecked(true); // no change, no handler
    screen.box->setChecked(false);
    EXPECT_EQ(screen.seen, (QStringList{u"change:1"_s, u"change:0"_s}));
}

TEST(EventRules, TrackBarRunsItsChangeForCodeAndUserAndReportsThePointerLeaving)
{
    Recorder screen;
    platform::onChange(screen.bar, &screen, &Recorder::BarChange);
    platform::onPointerLeave(screen.bar, &screen, &Recorder::BarLeave);
    EXPECT_EQ(screen.bar->minimum(), 0);
    EXPECT_EQ(screen.bar->maximum(), 100);

    screen.bar->setValue(40);
    screen.bar->setValue(40);
    screen.bar->setValue(250); // the top of the range
    screen.bar->triggerAction(QAbstractSlider::SliderSingleStepSub); // as the user's keys do
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(screen.bar, &leave);
    EXPECT_EQ(screen.seen, (QStringList{u"bar:40"_s, u"bar:100"_s, u"bar:99"_s, u"leave"_s}));
}

QStringList logged;

void keepMessages(QtMsgType, const QMessageLogContext &context, const QString &text)
{
    if (QByteArrayView(context.category) == "tessavo.messages")
        logged << text;
}

TEST(MessageLogging, EveryMessageShownGoesToItsCategoryWhenTurnedOn)
{
    fakes::Platform fakes;
    const QtMessageHandler previous = qInstallMessageHandler(keepMessages);
    platform::ShowMessage(nullptr, u"Avant"_s);
    EXPECT_TRUE(logged.isEmpty()) << "off by default";

    QLoggingCategory::setFilterRules(u"tessavo.*=true"_s);
    platform::ShowMessage(nullptr, u"Il faut choisir un élève"_s);
    platform::ShowMessage(nullptr, u"Deux\r\nlignes"_s);
    QLoggingCategory::setFilterRules({});
    qInstallMessageHandler(previous);

    EXPECT_EQ(logged, (QStringList{u"Il faut choisir un élève"_s, u"Deux lignes"_s}));
    EXPECT_EQ(fakes.messages.shown.size(), 3);
}

} // namespace
