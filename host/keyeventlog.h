#pragma once

#include <QJsonArray>

// Collects the key sequences that the package's recording keyboard backend logs (one
// JSON array of events per posted sequence under "systemdll.platform.keyboard.record");
// every other log line goes on to stderr as usual. take() hands them over, one array
// per sequence, in posting order.
namespace KeyEventLog {
void install();
QJsonArray take();
}
