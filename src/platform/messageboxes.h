#pragma once

#include <QString>
#include <QStringList>

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
    // A question with one button per answer, in that order, the last one
    // cancelling (Escape and closing the box choose it); returns the index of
    // the answer chosen. Where no answer can be chosen, the message alone,
    // cancelled.
    virtual int ask(QWidget *parent, const QString &text, const QStringList &answers)
    {
        showMessage(parent, text);
        return int(answers.size()) - 1;
    }
};

} // namespace platform
