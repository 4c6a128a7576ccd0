#include "logging.h"

Q_LOGGING_CATEGORY(lcMessages, "tessavo.messages", QtWarningMsg)
