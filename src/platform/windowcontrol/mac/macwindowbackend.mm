#include "macwindowbackend.h"

#include "macos2windowcontrolbrigde.h"

QString MacWindowBackend::name() const
{
    return QStringLiteral("macos");
}

QList<WindowBackend::Window> MacWindowBackend::enumerate()
{
    QList<Window> windows;
    for (const TovWindowControl::WindowsInfo& info : MacOS2WindowControlBrigde::getAllWindowInfos())
        windows.append({info.title, info.processName, QRectF(info.rect)});
    return windows;
}

bool MacWindowBackend::setSize(int index, const QSize& size)
{
    return MacOS2WindowControlBrigde::setTargetWindowSize(index, size);
}

bool MacWindowBackend::setPosition(int index, const QPoint& position)
{
    return MacOS2WindowControlBrigde::setTargetWindowLeftTopPosition(index, position);
}

bool MacWindowBackend::close(int index)
{
    return MacOS2WindowControlBrigde::closeTargetWindow(index);
}

bool MacWindowBackend::maximize(int index)
{
    return MacOS2WindowControlBrigde::maximunTargetWindow(index);
}

bool MacWindowBackend::minimize(int index)
{
    return MacOS2WindowControlBrigde::minimunTargetWindow(index);
}
