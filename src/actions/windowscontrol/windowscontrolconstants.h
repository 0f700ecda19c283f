#pragma once

// Values of the Windows Control action and its inspector.
namespace WindowsControlConstants {

// The window actions, as the selector's item data and as the stored decimal text.
enum WindowAction { kResize = 0, kMinimize = 1, kMaximize = 2, kClose = 3 };
constexpr int kFirstAction = kResize;
constexpr int kLastAction = kClose;

// The resize is applied up to this many times until the window shows the frame asked
// for; the first attempt calls the platform's resize hook once, each later one this
// many times.
constexpr int kResizeAttempts = 5;
constexpr int kHookCallsFirstAttempt = 1;
constexpr int kHookCallsLaterAttempt = 3;

// What the four number fields accept.
constexpr int kMaxExtent = 99999;
constexpr int kMinCoordinate = -99999;
constexpr int kMaxCoordinate = 99999;

} // namespace WindowsControlConstants
