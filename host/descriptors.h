#pragma once

#include <QString>

// The process's file descriptors. Each action holds a WebSocket to the host and the
// host the other end: two descriptors a key, so a large page needs more than the
// usual soft limit of 1024, and running out makes the next thread start abort.
namespace Descriptors {

// What an action costs: its socket and the server's end of it.
constexpr int kPerAction = 2;
// Kept free for everything else (files, images, threads, the display connection).
constexpr int kReserve = 256;

// Raises the soft limit to the hard one; returns the limit now in force.
long raiseLimit();
long limit();
// Descriptors open now.
int openCount();
// Whether `needed` more can be opened with kReserve left over; counted exactly now
// and then, estimated in between. False with why when not.
bool spare(int needed, QString* why);

} // namespace Descriptors
