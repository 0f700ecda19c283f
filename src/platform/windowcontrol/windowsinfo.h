#pragma once

#include <QDebug>
#include <QList>
#include <QRect>
#include <QString>

namespace TovWindowControl {

// One listed top-level window. Listed records always have a non-empty title and
// process name; rect is the window frame in the platform's window coordinates. appId is
// the program's own name for itself where the window system has one (a Wayland app id,
// the X11 class name), else empty.
struct WindowsInfo
{
    QString title;
    QString processName;
    QRect rect;
    QString appId;
};

bool operator==(const WindowsInfo& a, const WindowsInfo& b);
bool operator!=(const WindowsInfo& a, const WindowsInfo& b);
QDebug operator<<(QDebug debug, const WindowsInfo& info);

} // namespace TovWindowControl
