#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMedia)
// Debug trace of the recording backend: one compact JSON object per record it keeps.
Q_DECLARE_LOGGING_CATEGORY(lcMediaRecord)
