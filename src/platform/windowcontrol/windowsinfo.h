#pragma once

#include <QDebug>
#include <QList>
#include <QRect>
#include <QString>

namespace TovWindowControl {

// One listed top-level window. Listed records always have a non-empty title and
// process name; rect is the window frame in the platform's window coordinates.
struct WindowsInfo
{
    QString title;
    QString processName;
    QRect rect;
};

bool operator==(const WindowsInfo& a, const WindowsInfo& b);
bool operator!=(const WindowsInfo& a, const WindowsInfo& b);
QDebug operator<<(QDebug debug, const WindowsInfo& info);

} // namespace TovWindowControl
