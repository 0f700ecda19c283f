#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcKeyboard)
Q_DECLARE_LOGGING_CATEGORY(lcKeyboardRecord)
Q_DECLARE_LOGGING_CATEGORY(lcRecordChannel)
