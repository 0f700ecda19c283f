#include "platformlog.h"

Q_LOGGING_CATEGORY(lcKeyboard, "systemdll.platform.keyboard")
