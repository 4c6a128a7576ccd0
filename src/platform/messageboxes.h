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
};

} // namespace platform
