#pragma once

// What every fuzz target shares: one offscreen application for the whole run, the
// package's log kept quiet (a warning per rejected input is the expected answer),
// and a scratch folder removed at exit.
#include <QByteArray>
#include <QString>

#include <cstdint>

namespace FuzzSupport {
// Call from LLVMFuzzerInitialize; FUZZ_VERBOSE=1 keeps the log.
void start();
QString scratch(const QString& name);
// Writes the input to a scratch file and returns its path.
QString writeScratch(const QString& name, const uint8_t* data, size_t size);
// Lets queued events run for up to `ms`.
void settle(int ms);
}
