#pragma once

#include <QJsonValue>
#include <QString>

// A bounded text of a JSON value for the log: compact JSON with nesting below
// kMaxDepth shown as {...} or [...], cut after kMaxChars. QDebug's own output of a
// JSON value recurses as deep as the value goes and prints all of it.
namespace JsonSummary {
inline constexpr int kMaxDepth = 8;
inline constexpr int kMaxChars = 2000;

QString of(const QJsonValue& value);
}
