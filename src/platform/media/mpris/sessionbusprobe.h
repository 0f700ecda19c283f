#pragma once

#include <QByteArray>

// Whether a bus answers at all, before Qt connects to it: Qt's connection waits
// without a limit for a bus that takes the connection but never answers (a stopped
// daemon). The probe connects to the bus's socket and starts the authentication,
// waiting at most `timeoutMs` for the first reply. Addresses it cannot probe (other
// transports than a local socket) count as answering and are left to Qt.
namespace SessionBusProbe {

bool answers(const QByteArray& address, int timeoutMs);

}
