#include "pendingframes.h"

QRect PendingFrame::appliedTo(const QRect& frame) const
{
    return QRect(position.value_or(frame.topLeft()), size.value_or(frame.size()));
}

bool PendingFrame::isMetBy(const QRect& frame) const
{
    return appliedTo(frame) == frame;
}
