#include "screenwindow.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>

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

QFont boldFont(int pointSize)
{
    QFont font;
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

void shrinkToFit(QLabel *label)
{
    QFont font = label->font();
    while (font.pointSize() > 8 && QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
        font.setPointSize(font.pointSize() - 1);
    label->setFont(font);
}

QStringList linesOf(const QPlainTextEdit *memo)
{
    QString text = memo->toPlainText();
    if (text.isEmpty())
        return {};
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

} // namespace platform
