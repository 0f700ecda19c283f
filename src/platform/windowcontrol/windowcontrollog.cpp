#include "windowcontrollog.h"

Q_LOGGING_CATEGORY(lcWindowControl, "systemdll.platform.windowcontrol", QtInfoMsg)
