#pragma once

#include "handlers.h"

#include <QCheckBox>
#include <QSlider>

// The event rules every screen relies on, whatever the toolkit does:
// - a check box's click handler runs on a user's click only, and sees the
//   state the box had before the click;
// - its change handler runs after every change of state, whether the user
//   clicked or the program set it;
// - a track bar's change handler runs on every change of value, by the user
//   or by the program; the track bar also reports the pointer leaving it.
// Qt's own signals differ (clicked comes after the toggle), so the screens
// bind their handlers through these functions only.
namespace platform {

class CheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit CheckBox(const QString &text, QWidget *parent = nullptr);

signals:
    // A user's click (mouse, keyboard, click()), before the state changes.
    void clickedBeforeChange();

protected:
    void nextCheckState() override;
    // A press anywhere on the box's place reaches it, as on the desktop: not
    // only on its square and its text.
    bool hitButton(const QPoint &pos) const override;
};

// A track bar of 0 to 100, horizontal or vertical.
class TrackBar : public QSlider
{
    Q_OBJECT

public:
    TrackBar(Qt::Orientation orientation, QWidget *parent = nullptr);

signals:
    void pointerLeft();

protected:
    void leaveEvent(QEvent *event) override;
};

template <typename Screen>
void onClick(CheckBox *box, Screen *screen, void (Screen::*handler)())
{
    connectHandler(box, &CheckBox::clickedBeforeChange, screen, handler);
}

template <typename Screen>
void onChange(QCheckBox *box, Screen *screen, void (Screen::*handler)())
{
    connectHandler(box, &QCheckBox::toggled, screen, handler);
}

template <typename Screen>
void onChange(TrackBar *bar, Screen *screen, void (Screen::*handler)())
{
    connectHandler(bar, &TrackBar::valueChanged, screen, handler);
}

template <typename Screen>
void onPointerLeave(TrackBar *bar, Screen *screen, void (Screen::*handler)())
{
    connectHandler(bar, &TrackBar::pointerLeft, screen, handler);
}

} // namespace platform
