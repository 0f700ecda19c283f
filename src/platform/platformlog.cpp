#include "platformlog.h"

Q_LOGGING_CATEGORY(lcKeyboard, "systemdll.platform.keyboard", QtInfoMsg)
Q_LOGGING_CATEGORY(lcKeyboardRecord, "systemdll.platform.keyboard.record", QtInfoMsg)
Q_LOGGING_CATEGORY(lcRecordChannel, "systemdll.platform.recordchannel", QtInfoMsg)
