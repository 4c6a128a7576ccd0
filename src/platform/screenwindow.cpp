#include "screenwindow.h"

#include <QLinearGradient>
#include <QPainter>

namespace platform {

ScreenWindow::ScreenWindow(QWidget *owner, const QColor &bottom, const QColor &top)
    : QWidget(owner, Qt::Window)
    , m_bottom(bottom)
    , m_top(top)
{
}

void ScreenWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, m_top);
    gradient.setColorAt(1, m_bottom);
    painter.fillRect(rect(), gradient);
}

} // namespace platform
