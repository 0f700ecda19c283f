#include "windowsinfo.h"

namespace TovWindowControl {

bool operator==(const WindowsInfo& a, const WindowsInfo& b)
{
    return a.title == b.title && a.processName == b.processName && a.rect == b.rect;
}

bool operator!=(const WindowsInfo& a, const WindowsInfo& b)
{
    return !(a == b);
}

QDebug operator<<(QDebug debug, const WindowsInfo& info)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "WindowsInfo(" << info.title << ", " << info.processName << ", " << info.rect << ')';
    return debug;
}

} // namespace TovWindowControl
