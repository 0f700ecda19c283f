#include "pluginlog.h"

Q_LOGGING_CATEGORY(lcPlugin, "systemdll.plugin", QtInfoMsg)
