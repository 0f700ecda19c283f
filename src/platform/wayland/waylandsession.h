#pragma once

#include <QString>

// Whether this process runs in a Wayland session, and why we think so: WAYLAND_DISPLAY
// set, or XDG_SESSION_TYPE=wayland (a program under XWayland still has the latter).
namespace WaylandSession {
bool isActive();
// For the log line that names the chosen backend.
QString reason();
}
