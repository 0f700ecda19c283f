#pragma once

// Limits and names of the window control layer.
namespace WindowControlConstants {

// An enumeration is reused for this long; listing windows can be slow.
constexpr int kSnapshotLifetimeMs = 1000;
constexpr int kMsecsPerDay = 24 * 60 * 60 * 1000;

// Frame coordinates beyond this are clamped before they become a QRect, so that
// right() and bottom() cannot overflow.
constexpr double kMaxCoordinate = 1 << 24;

// Log lines show at most this much of a window title.
constexpr int kLoggedTitleLength = 120;

// SYSTEMDLL_WINDOWCONTROL_BACKEND=x11|sway|kwin|gnome|none forces a backend.
constexpr char kBackendVariable[] = "SYSTEMDLL_WINDOWCONTROL_BACKEND";
constexpr char kX11Backend[] = "x11";
constexpr char kSwayBackend[] = "sway";
constexpr char kGnomeBackend[] = "gnome";
constexpr char kKWinBackend[] = "kwin";
constexpr char kSwaySocketVariable[] = "SWAYSOCK";
constexpr char kI3SocketVariable[] = "I3SOCK";
constexpr char kNoBackend[] = "none";

// X11: how long the resize hook waits for the window manager to apply our request, and
// how long it waits at most between two looks when no event about the window comes.
constexpr int kSettleTimeoutMs = 40;
constexpr int kSettleLookMs = 2;

// Compositor IPC (sway): how long a request waits for its answer, the largest message
// taken (a tree of many windows with long titles), and how long a resize is waited for.
constexpr int kIpcTimeoutMs = 1000;
constexpr int kMaxIpcMessage = 64 * 1024 * 1024;
constexpr int kSwaySettleTimeoutMs = 200;
// How long a window sway has just made floating has to draw a size of its own.
constexpr int kSwayFloatingWatchMs = 80;

// GNOME (our Shell extension): how long a move or resize is waited for; mutter applies a
// frame once the client has drawn at its new size.
constexpr int kGnomeSettleTimeoutMs = 200;

// KWin: how long after its first answer a move or resize is waited for; KWin shows the
// new frame only once the client has drawn at the new size.
constexpr int kKWinSettleTimeoutMs = 500;

// How long no window may have the focus before the focused-window signal says so.
constexpr int kNoFocusGraceMs = 100;

// X11: longest property read, in 32-bit units (titles, class names, state lists).
constexpr unsigned kPropertyLongLength = 1024;

} // namespace WindowControlConstants
