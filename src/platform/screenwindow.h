#pragma once

#include <QColor>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

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

// Fonts of the controls, by point size.
QFont boldFont(int pointSize);

// Lowers the label's font size until its text fits its width.
void shrinkToFit(QLabel *label);

// The lines of a multi-line text box: none when it is empty, and a last line
// end does not open a further line.
QStringList linesOf(const QPlainTextEdit *memo);

} // namespace platform
