#include "packagelog.h"

// The package logs info and above by default; QT_LOGGING_RULES="systemdll.*.debug=true"
// turns the trace on. Every category of the package is declared this way.

Q_LOGGING_CATEGORY(lcPackage, "systemdll.package", QtInfoMsg)
