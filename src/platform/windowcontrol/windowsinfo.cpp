#include "windowsinfo.h"

namespace TovWindowControl {

bool operator==(const WindowsInfo& a, const WindowsInfo& b)
{
    return a.title == b.title && a.processName == b.processName && a.rect == b.rect && a.appId == b.appId;
}

bool operator!=(const WindowsInfo& a, const WindowsInfo& b)
{
    return !(a == b);
}

QDebug operator<<(QDebug debug, const WindowsInfo& info)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "WindowsInfo(" << info.title << ", " << info.processName << ", " << info.rect;
    if (!info.appId.isEmpty())
        debug << ", " << info.appId;
    debug << ')';
    return debug;
}

} // namespace TovWindowControl
