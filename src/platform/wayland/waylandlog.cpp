#include "waylandlog.h"

Q_LOGGING_CATEGORY(lcWayland, "systemdll.platform.wayland", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPortal, "systemdll.platform.portal", QtInfoMsg)
