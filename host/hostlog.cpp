#include "hostlog.h"

// Debug trace off unless asked for (QT_LOGGING_RULES="vanta.host.debug=true").
Q_LOGGING_CATEGORY(lcHost, "vanta.host", QtInfoMsg)
