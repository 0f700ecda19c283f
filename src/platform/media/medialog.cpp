#include "medialog.h"

Q_LOGGING_CATEGORY(lcMedia, "systemdll.platform.media")
Q_LOGGING_CATEGORY(lcMediaRecord, "systemdll.platform.media.record")
