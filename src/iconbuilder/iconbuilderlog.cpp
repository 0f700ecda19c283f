#include "iconbuilderlog.h"

Q_LOGGING_CATEGORY(lcIconBuilder, "systemdll.iconbuilder", QtInfoMsg)
