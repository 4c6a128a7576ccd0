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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_bottom;
    QColor m_top;
};

} // namespace platform
