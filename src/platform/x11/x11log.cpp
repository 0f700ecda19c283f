#include "x11log.h"

Q_LOGGING_CATEGORY(lcXcbConnection, "systemdll.platform.windowcontrol", QtInfoMsg)
