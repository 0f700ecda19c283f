#pragma once

#include <QJsonArray>

// Collects the key events that the package's recording keyboard backend logs (one
// JSON object per line under "systemdll.platform.keyboard.record"); every other log
// line goes on to stderr as usual.
namespace KeyEventLog {
void install();
QJsonArray take();
}
