#include "medialog.h"

Q_LOGGING_CATEGORY(lcMedia, "systemdll.platform.media", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMediaRecord, "systemdll.platform.media.record", QtInfoMsg)
