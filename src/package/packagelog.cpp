#include "packagelog.h"

Q_LOGGING_CATEGORY(lcPackage, "systemdll.package")
