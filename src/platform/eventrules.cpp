#include "eventrules.h"

namespace platform {

CheckBox::CheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
}

void CheckBox::nextCheckState()
{
    // QAbstractButton calls this on a user's click only, before the toggle;
    // setChecked() from code does not come here.
    emit clickedBeforeChange();
    QCheckBox::nextCheckState();
}

bool CheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

TrackBar::TrackBar(Qt::Orientation orientation, QWidget *parent)
    : QSlider(orientation, parent)
{
    setRange(0, 100);
    // The change handler follows the thumb while it is dragged.
    setTracking(true);
}

void TrackBar::leaveEvent(QEvent *event)
{
    QSlider::leaveEvent(event);
    emit pointerLeft();
}

} // namespace platform
