#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcWayland)
Q_DECLARE_LOGGING_CATEGORY(lcPortal)
