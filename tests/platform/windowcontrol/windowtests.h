#pragma once

#include "platform/windowcontrol/windowtask.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

// What the compositor tests share: a key's task, frames compared as the compositors
// round them, and the test window program started on a compositor.
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

// The window program (WAYLAND_WINDOW) as a client of `display`, with `arguments` (its title,
// then an app id if any); null when it does not start. Its standard output is read.
inline QProcess* startWindow(QObject* parent, const QString& display, const QString& runtime,
                             const QStringList& arguments)
{
    auto* window = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), display);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    env.remove(QStringLiteral("DISPLAY"));
    window->setProcessEnvironment(env);
    window->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    window->setReadChannel(QProcess::StandardOutput);
    window->start(QStringLiteral(WAYLAND_WINDOW), arguments);
    return window;
}

} // namespace WindowTests
