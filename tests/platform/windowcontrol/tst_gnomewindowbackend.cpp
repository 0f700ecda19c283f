// Window control on GNOME Shell through our Shell extension: a headless gnome-shell of
// this test's own (scripts/lib/wayland.sh start_gnome_shell, about 8 s) with the
// extension enabled, Qt Wayland windows of a program of our own on it; and the
// extension's absence, reported.
#include "windowtests.h"
#include "platform/windowcontrol/focuswatcher.h"
#include "platform/windowcontrol/gnome/gnomewindowbackend.h"
#include "platform/windowcontrol/windowcontrol.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using WindowTests::near;
using WindowTests::task;

namespace {

const char kHelper[] = WAYLAND_WINDOW;
const char kExtension[] = GNOME_EXTENSION;
const char kScripts[] = SCRIPTS_DIR;
const char kObject[] = "/com/corvane/VantaWindows";
const char kInterface[] = "com.corvane.VantaWindows";

} // namespace

class tst_GnomeWindowBackend : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("gnome-shell").isEmpty())
            QSKIP("needs gnome-shell (scripts/setup installs it)");
        QVERIFY2(m_shell.start(kScripts, QString("start_gnome_shell '%1'").arg(kExtension), "stop_gnome_shell", "GNOME"),
                 "gnome-shell did not start");
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_shell.bus, "gnome"));
        QVERIFY(m_bus->isConnected());
        // The shell answers on the bus before it has loaded its extensions.
        QVERIFY(QTest::qWaitFor([&] { return GnomeWindowBackend::open(*m_bus, nullptr) != nullptr; }, 30000));
        // It starts in the overview, where no window has the focus; closing it ends with
        // the focus given to a window of its choice, so it is closed before any test.
        // Asked again until it stays closed: a shell still starting up opens it once more.
        QTRY_VERIFY_WITH_TIMEOUT(closeOverview(), 20000);
    }

    void cleanup() { m_windows.clear(); }

    void cleanupTestCase()
    {
        // Named connections live until closed, and with them what they cached.
        m_bus.reset();
        QDBusConnection::disconnectFromBus("gnome");
        m_shell.stop();
    }

    // Listed with its title, the name of its process, its app id and its frame.
    void listed()
    {
        QProcess* target = open("Target");
        QVERIFY(target);
        WindowControl control(backend());
        QCOMPARE(control.backendName(), QString("gnome"));
        control.getTargetWindowInformation("Target");
        QCOMPARE(control.targetProcessName, QFileInfo(kHelper).fileName().left(15));
        QVERIFY(!control.targetAppId.isEmpty());
        QCOMPARE(QRect(control.targetWindowPosition, control.targetWindowSize), frameOf(target));
    }

    void moveAndResize()
    {
        const QRect frame(100, 80, 500, 300);
        QProcess* target = open("Target");
        QVERIFY(target);
        WindowControl control(backend());
        const std::optional<QRect> reached = control.apply(task("Target", WindowTask::Resize, frame));
        QVERIFY(reached);
        QTRY_VERIFY(near(frameOf(target), frame));
    }

    void operations_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("state");  // what the extension's list then says

        QTest::newRow("minimise") << int(WindowTask::Minimise) << "minimized";
        QTest::newRow("maximise") << int(WindowTask::Maximise) << "maximized";
        QTest::newRow("close") << int(WindowTask::Close) << QString();
    }

    void operations()
    {
        QFETCH(int, operation);
        QFETCH(QString, state);

        QProcess* target = open("Target");
        QProcess* bystander = open("Bystander");
        QVERIFY(target && bystander);
        WindowControl control(backend());
        QVERIFY(control.apply(task("Target", WindowTask::Operation(operation))));
        if (state.isEmpty())
            QTRY_COMPARE(target->state(), QProcess::NotRunning);
        else
            QTRY_VERIFY(windowOf(target).value(state).toBool());
        const QJsonObject other = windowOf(bystander);
        QVERIFY(!other.value("minimized").toBool() && !other.value("maximized").toBool());
    }

    // The focus moved between two windows (as a click would), and the focused window's
    // new title: each signalled once.
    void focusedWindow()
    {
        QProcess* left = open("Left");
        QProcess* right = open("Right");
        QVERIFY(left && right);
        QVERIFY(activate(right));
        FocusWatcher watcher(backend());
        QVERIFY(watcher.isWatching());
        QTRY_COMPARE(watcher.current().title, QString("Right"));
        QSignalSpy spy(&watcher, &FocusWatcher::activeWindowChanged);
        QVERIFY(activate(left));
        QTRY_VERIFY(!spy.isEmpty());
        QCOMPARE(spy.last().at(0).toString(), QString("Left"));
        QCOMPARE(spy.last().at(1).toString(), QFileInfo(kHelper).fileName().left(15));
        // The shell may still hand the focus back to Right, whose activation it can carry
        // out late; whichever window has it, its new title is signalled.
        left->write("title Left renamed\n");
        right->write("title Right renamed\n");
        QTRY_VERIFY(spy.last().at(0).toString().endsWith(" renamed"));
        QCOMPARE(spy.last().at(0).toString(), watcher.current().title);
    }

    // Without the extension: no backend, and why. (Without the shell, and what the
    // inspector then says, is tst_windowscontrolmatch's.)
    void extensionMissing()
    {
        const QDBusReply<bool> disabled = call("/org/gnome/Shell", "org.gnome.Shell.Extensions", "DisableExtension",
                                               {QString(GnomeWindowBackend::kExtensionUuid)});
        QVERIFY2(disabled.isValid(), qPrintable(disabled.error().message()));
        QString problem;
        QTRY_VERIFY_WITH_TIMEOUT(!GnomeWindowBackend::open(*m_bus, &problem), 15000);
        QVERIFY2(problem.contains("not installed or not enabled"), qPrintable(problem));
    }

private:
    // Plain calls on the shell: an interface object would have the shell describe itself.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall("org.gnome.Shell", path, interface, method);
        message.setArguments(arguments);
        return m_bus->call(message);
    }

    bool closeOverview()
    {
        call("/org/gnome/Shell", "org.freedesktop.DBus.Properties", "Set",
             {"org.gnome.Shell", "OverviewActive", QVariant::fromValue(QDBusVariant(false))});
        return QTest::qWaitFor([this] { return !overviewActive(); }, 1000) && !QTest::qWaitFor([this] { return overviewActive(); }, 300);
    }

    bool overviewActive()
    {
        const QDBusReply<QDBusVariant> active =
            call("/org/gnome/Shell", "org.freedesktop.DBus.Properties", "Get", {"org.gnome.Shell", "OverviewActive"});
        return !active.isValid() || active.value().variant().toBool();
    }

    std::unique_ptr<WindowBackend> backend()
    {
        QString problem;
        auto gnome = GnomeWindowBackend::open(*m_bus, &problem);
        if (!gnome)
            qWarning() << "no GNOME backend:" << problem;
        return gnome;
    }

    // The extension's own record of the window of this process.
    QJsonObject windowOf(QProcess* window)
    {
        const QDBusReply<QString> list = call(kObject, kInterface, "List");
        for (const QJsonValue& w : QJsonDocument::fromJson(list.value().toUtf8()).array()) {
            if (w.toObject().value("pid").toInteger() == window->processId())
                return w.toObject();
        }
        return {};
    }

    bool activate(QProcess* window)
    {
        const QDBusReply<bool> done =
            call(kObject, kInterface, "Activate", {QVariant::fromValue(quint64(windowOf(window).value("id").toInteger()))});
        return done.isValid() && done.value();
    }

    QRect frameOf(QProcess* window)
    {
        const QJsonObject w = windowOf(window);
        return QRect(w.value("x").toInt(), w.value("y").toInt(), w.value("width").toInt(), w.value("height").toInt());
    }

    QProcess* open(const QString& title)
    {
        QProcess* window = m_windows.start(m_shell.display, {title});
        if (!window)
            return nullptr;
        // Listed, placed and shown (the window prints its size once the shell has taken a
        // frame of it): until then the shell places it anew, overruling a frame asked for.
        // The first window of a fresh shell can take a while.
        bool drawn = false;
        const bool shown = QTest::qWaitFor(
            [&] {
                while (window->canReadLine())
                    drawn = drawn || window->readLine().startsWith("size ");
                const QJsonObject listed = windowOf(window);
                return drawn && listed.value("title").toString() == title && listed.value("width").toInt() > 0;
            },
            30000);
        return shown ? window : nullptr;
    }

    WindowTests::OwnCompositor m_shell;
    std::unique_ptr<QDBusConnection> m_bus;
    WindowTests::Windows m_windows;
};

QTEST_MAIN(tst_GnomeWindowBackend)
#include "tst_gnomewindowbackend.moc"
