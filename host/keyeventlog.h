#pragma once

#include <QJsonArray>

// Collects what the package's recording backends log: one JSON array of events per
// posted key sequence under "systemdll.platform.keyboard.record" (take(), in posting
// order), one object per media key under "systemdll.platform.media.record"
// (takeMedia()). Every other log line goes on to stderr.
namespace KeyEventLog {
void install();
QJsonArray take();
QJsonArray takeMedia();
}
