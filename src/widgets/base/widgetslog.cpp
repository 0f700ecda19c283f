#include "widgetslog.h"

Q_LOGGING_CATEGORY(lcWidgets, "systemdll.widgets", QtInfoMsg)
