#include "clipboardlog.h"

Q_LOGGING_CATEGORY(lcClipboard, "systemdll.platform.clipboard", QtInfoMsg)
