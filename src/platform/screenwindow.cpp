#include "screenwindow.h"

#include "platform.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

QRect ScreenWindow::fitted(QRect designed) const
{
    const auto scaled = [this](int value) { return int(std::lround(value * m_factor)); };
    return QRect(scaled(designed.x()), scaled(designed.y()), scaled(designed.width()), scaled(designed.height()));
}

void ScreenWindow::fitToScreen(QSize designed, QWidget *stretch)
{
    const QRect area = services().display->availableArea();
    const int missing = designed.height() - (area.height() - TitleBarAllowance);
    if (stretch && missing > 0 && designed.width() <= area.width()
        && stretch->height() - missing >= MinStretchHeight) {
        const int below = stretch->geometry().bottom();
        for (QWidget *control : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (control != stretch && control->y() > below)
                control->move(control->x(), control->y() - missing);
        stretch->resize(stretch->width(), stretch->height() - missing);
        designed.setHeight(designed.height() - missing);
    }
    const double across = double(area.width()) / designed.width();
    const double down = double(area.height() - TitleBarAllowance) / designed.height();
    m_factor = std::clamp(std::min(across, down), 0.1, 1.0);
    if (m_factor < 1) {
        for (QWidget *control : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            control->setGeometry(fitted(control->geometry()));
            QFont font = control->font();
            if (font.pointSizeF() > 0)
                font.setPointSizeF(std::max(6.0, font.pointSizeF() * m_factor));
            control->setFont(font);
        }
    }
    resize(fitted(QRect(QPoint(0, 0), designed)).size());
    move(area.x() + std::max(0, (area.width() - width()) / 2),
         area.y() + std::max(0, (area.height() - TitleBarAllowance - height()) / 2));
}

} // namespace platform
