#pragma once

#include <QJsonObject>

// Headless output: one compact JSON object per line on stdout, nothing else there.
namespace OutputWriter {
void line(const QJsonObject& object);
}
