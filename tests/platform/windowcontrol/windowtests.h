#pragma once

#include "platform/windowcontrol/windowtask.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// What the compositor tests share: a key's task, frames compared as the compositors
// round them, the test window program, and a compositor of a test's own.
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

// The window program (WAYLAND_WINDOW) on a compositor, one process per window, all ended
// by clear() (each test's cleanup).
class Windows
{
public:
    ~Windows() { clear(); }

    // Started as a client of `display` with `arguments` (its title, then an app id if
    // any), its standard output read; null when it does not start.
    QProcess* start(const QString& display, const QStringList& arguments)
    {
        auto* window = new QProcess;
        m_windows << window;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), display);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        env.remove(QStringLiteral("DISPLAY"));
        window->setProcessEnvironment(env);
        window->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        window->setReadChannel(QProcess::StandardOutput);
        window->start(QStringLiteral(WAYLAND_WINDOW), arguments);
        return window->waitForStarted(10000) ? window : nullptr;
    }

    const QList<QProcess*>& all() const { return m_windows; }

    void clear()
    {
        for (QProcess* window : std::as_const(m_windows)) {
            window->kill();
            window->waitForFinished(5000);
        }
        qDeleteAll(m_windows);
        m_windows.clear();
    }

private:
    QTemporaryDir m_runtime;
    QList<QProcess*> m_windows;
};

// A compositor of a test's own: `start` (a function of the scripts' lib/wayland.sh, with
// its arguments) runs in a bash that keeps it until a line on its input, and `stop` ends
// it. Its display and private bus come from SYSTEMDLL_TEST_<name>_DISPLAY and _BUS.
class OwnCompositor
{
public:
    ~OwnCompositor() { stop(); }

    bool start(const QString& scripts, const QString& start, const QString& stop, const QString& name)
    {
        m_shell.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_shell.start("bash", {"-c", QString("source '%1/lib/wayland.sh'; trap %2 EXIT; %3; "
                                             "echo \"$SYSTEMDLL_TEST_%4_DISPLAY\"; echo \"$SYSTEMDLL_TEST_%4_BUS\"; read _")
                                         .arg(scripts, stop, start, name)});
        display = nextLine(60000);
        bus = nextLine(5000);
        return !display.isEmpty() && !bus.isEmpty();
    }

    void stop()
    {
        if (m_shell.state() != QProcess::Running)
            return;
        m_shell.write("\n");
        m_shell.closeWriteChannel();
        if (!m_shell.waitForFinished(15000))
            m_shell.kill();
    }

    QString display;
    QString bus;

private:
    QString nextLine(int ms)
    {
        return QTest::qWaitFor([&] { return m_shell.canReadLine(); }, ms) ? QString::fromUtf8(m_shell.readLine().trimmed())
                                                                           : QString();
    }

    QProcess m_shell;
};

} // namespace WindowTests
