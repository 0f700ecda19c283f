#include "scriptedwindowbackend.h"

QList<WindowBackend::Window> ScriptedWindowBackend::enumerate()
{
    ++enumerations;
    m_listed = windows;
    return m_listed;
}

// Requests take effect on the script, as a window manager would apply them.
bool ScriptedWindowBackend::setSize(int index, const QSize& size)
{
    if (!note(QStringLiteral("size %1x%2").arg(size.width()).arg(size.height()), index))
        return false;
    windows[index].frame.setSize(size);
    return true;
}

bool ScriptedWindowBackend::setPosition(int index, const QPoint& position)
{
    if (!note(QStringLiteral("move %1,%2").arg(position.x()).arg(position.y()), index))
        return false;
    windows[index].frame.moveTopLeft(position);
    return true;
}

bool ScriptedWindowBackend::note(const QString& operation, int index)
{
    if (index < 0 || index >= m_listed.size() || index >= windows.size()) {
        journal << operation + QStringLiteral(" <bad index %1>").arg(index);
        return false;
    }
    const Window& window = m_listed.at(index);
    journal << operation + QLatin1Char(' ') + window.title + QLatin1Char('@') + window.processName;
    return true;
}
