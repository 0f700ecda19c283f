#pragma once

#include <QJsonArray>

// Collects the key events that the package's recording backends log, one JSON object
// per line: keyboard events under "systemdll.platform.keyboard.record", media keys
// under "systemdll.platform.media.record". Every other log line goes on to stderr.
namespace KeyEventLog {
void install();
QJsonArray take();
QJsonArray takeMedia();
}
