#pragma once

#include <QLoggingCategory>

// The X connection's lines. Only window control opens such connections, so they keep
// its category name, and one logging rule still shows all of window control.
Q_DECLARE_LOGGING_CATEGORY(lcXcbConnection)
