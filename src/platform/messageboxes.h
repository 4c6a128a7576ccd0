#pragma once

#include <QString>

class QWidget;

namespace platform {

// A message box with a single OK button; returns when the teacher has closed it.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual void showMessage(QWidget *parent, const QString &text) = 0;
    // The same box with a check box under the text, unchecked; returns
    // whether the teacher checked it before OK. Where no box can be checked,
    // the message alone, unchecked.
    virtual bool showMessageWithCheckBox(QWidget *parent, const QString &text, const QString &checkBox)
    {
        Q_UNUSED(checkBox);
        showMessage(parent, text);
        return false;
    }
};

} // namespace platform
