#include "waylandsession.h"

#include <QtGlobal>

namespace WaylandSession {

bool isActive()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

QString reason()
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return QStringLiteral("WAYLAND_DISPLAY is set");
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        return QStringLiteral("XDG_SESSION_TYPE is wayland");
    return QStringLiteral("not a Wayland session");
}

} // namespace WaylandSession
