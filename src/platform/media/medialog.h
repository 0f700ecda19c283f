#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMedia)
// One compact JSON object per record the recording backend keeps, for the process
// that loaded the library to read.
Q_DECLARE_LOGGING_CATEGORY(lcMediaRecord)
