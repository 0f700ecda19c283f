#include "hostlog.h"

Q_LOGGING_CATEGORY(lcHost, "vanta.host")
