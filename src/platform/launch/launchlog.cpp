#include "launchlog.h"

Q_LOGGING_CATEGORY(lcLaunch, "systemdll.platform.launch", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLaunchRecord, "systemdll.platform.launch.record", QtInfoMsg)
