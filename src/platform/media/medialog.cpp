#include "medialog.h"

Q_LOGGING_CATEGORY(lcMedia, "systemdll.platform.media", QtInfoMsg)
