#include "actionslog.h"

Q_LOGGING_CATEGORY(lcActions, "systemdll.actions", QtInfoMsg)
