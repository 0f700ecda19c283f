#pragma once

#include "platform/windowcontrol/windowtask.h"

// Values of the Windows Control action and its inspector.
namespace WindowsControlConstants {

// The window actions, as the selector's item data and as the stored decimal text: the
// operations of a window task, in their order.
constexpr int kFirstAction = WindowTask::Resize;
constexpr int kLastAction = WindowTask::Close;

// What the four number fields accept.
constexpr int kMaxExtent = 99999;
constexpr int kMinCoordinate = -99999;
constexpr int kMaxCoordinate = 99999;

} // namespace WindowsControlConstants
