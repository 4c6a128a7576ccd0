#pragma once

#include "controls.h"

#include <QColor>
#include <QWidget>

namespace platform {

// A top-level screen filled with a vertical gradient. A screen with an owner
// is a window of its own, destroyed with its owner; closing it only hides it.
class ScreenWindow : public QWidget
{
    Q_OBJECT

public:
    ScreenWindow(QWidget *owner, const QColor &bottom, const QColor &top);

    // The factor by which fitToScreen shrank the screen (1 when it fits).
    double fitFactor() const { return m_factor; }
    // A designed place at the screen's factor.
    QRect fitted(QRect designed) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    // A screen drawn at one designed size, its controls placed, shrinks as a
    // whole on a smaller screen: every control's place and text size by one
    // factor, so that the window with its title bar fits the area of the
    // display a window may take. It never grows; it stands centred there.
    //
    // With a stretch control (a screen's large text box), a screen as wide as
    // the area but too high for it is laid out for it instead: the stretch
    // control gives up the missing height, down to MinStretchHeight, and the
    // controls below it move up by as much; every text keeps its size.
    void fitToScreen(QSize designed, QWidget *stretch = nullptr);

private:
    QColor m_bottom;
    QColor m_top;
    double m_factor = 1;
};

// Room left for the title bar the window manager draws above a window.
inline constexpr int TitleBarAllowance = 32;
// The lowest a stretch control goes before the screen shrinks as a whole.
inline constexpr int MinStretchHeight = 120;

} // namespace platform
