#pragma once

#include "platform/windowcontrol/windowtask.h"

#include <QRect>
#include <QString>

// What the compositor tests share: a key's task, and frames compared as the compositors
// round them.
namespace WindowTests {

inline WindowTask task(const QString& title, WindowTask::Operation operation, const QRect& frame = {})
{
    WindowTask task;
    task.title = title;
    task.operation = operation;
    task.rect = frame;
    return task;
}

inline bool near(const QRect& a, const QRect& b, int tolerance = 2)
{
    return qAbs(a.x() - b.x()) <= tolerance && qAbs(a.y() - b.y()) <= tolerance
        && qAbs(a.width() - b.width()) <= tolerance && qAbs(a.height() - b.height()) <= tolerance;
}

} // namespace WindowTests
