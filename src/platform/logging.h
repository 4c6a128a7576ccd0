#pragma once

#include <QLoggingCategory>

// Every text shown in a message box, one line each. Off unless turned on,
// for instance with QT_LOGGING_RULES="tessavo.*=true".
Q_DECLARE_LOGGING_CATEGORY(lcMessages)
