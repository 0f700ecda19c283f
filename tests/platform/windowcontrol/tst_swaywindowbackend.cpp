// Window control on the suite's headless sway, through its IPC socket, on Qt Wayland
// windows of a program of our own; checked against swaymsg's view of the layout tree.
#include "windowtests.h"
#include "platform/windowcontrol/focuswatcher.h"
#include "platform/windowcontrol/sway/swayipc.h"
#include "platform/windowcontrol/sway/swaywindowbackend.h"
#include "platform/windowcontrol/windowcontrol.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using TovWindowControl::WindowsInfo;

using WindowTests::near;
using WindowTests::task;

namespace {

const char kHelper[] = WAYLAND_WINDOW;

// The container of the window of this process in swaymsg's tree, or an empty object; the
// workspace holding it goes to `workspace`.
QJsonObject findByPid(const QJsonObject& node, qint64 pid, QJsonObject* workspace = nullptr)
{
    if (node.value("pid").toInteger() == pid)
        return node;
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue& child : node.value(children).toArray()) {
            const QJsonObject found = findByPid(child.toObject(), pid, workspace);
            if (found.isEmpty())
                continue;
            if (workspace && workspace->isEmpty() && node.value("type") == "workspace")
                *workspace = node;  // the nearest
            return found;
        }
    }
    return {};
}

// The frame: the container's rectangle and its title bar above it.
QRect rectOf(const QJsonObject& container)
{
    const QJsonObject r = container.value("rect").toObject();
    const int titleBar = container.value("deco_rect").toObject().value("height").toInt();
    return QRect(r.value("x").toInt(), r.value("y").toInt() - titleBar, r.value("width").toInt(),
                 r.value("height").toInt() + titleBar);
}

} // namespace

class tst_SwayWindowBackend : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_display = qEnvironmentVariable("SYSTEMDLL_TEST_SWAY_DISPLAY");
        m_socket = qEnvironmentVariable("SYSTEMDLL_TEST_SWAYSOCK");
        if (m_display.isEmpty() || m_socket.isEmpty())
            QSKIP("needs headless sway: SYSTEMDLL_TEST_SWAY_DISPLAY and SYSTEMDLL_TEST_SWAYSOCK (scripts/test starts it)");
        qputenv("SWAYSOCK", m_socket.toLocal8Bit());
    }

    void cleanup()
    {
        m_windows.clear();
        m_drawn.clear();
    }

    // A window is listed with its title, the name of its process and its app id, at the
    // frame swaymsg sees.
    void listed()
    {
        QProcess* target = open("Target");
        QVERIFY(target);
        WindowControl control(SwayWindowBackend::open(m_socket));
        QCOMPARE(control.backendName(), QString("sway"));
        control.getTargetWindowInformation("Target");
        QCOMPARE(control.targetProcessName, QFileInfo(kHelper).fileName().left(15));
        const QJsonObject container = findByPid(swayTree(), target->processId());
        QCOMPARE(QRect(control.targetWindowPosition, control.targetWindowSize), rectOf(container));
        const QList<WindowsInfo> infos = control.getAllWindowInfos();
        const auto info = std::find_if(infos.cbegin(), infos.cend(), [](const WindowsInfo& i) { return i.title == "Target"; });
        QVERIFY(info != infos.cend());
        QCOMPARE(info->appId, container.value("app_id").toString());
        QVERIFY(!info->appId.isEmpty());
    }

    void moveAndResize_data()
    {
        QTest::addColumn<QList<QRect>>("frames");

        QTest::newRow("tiled window to a floating frame, then smaller and elsewhere")
            << QList<QRect>{{100, 80, 500, 300}, {300, 200, 400, 250}};
        QTest::newRow("larger, at the origin") << QList<QRect>{{0, 0, 900, 600}};
    }

    // A key's resize, through the shared control: the frame lands within 2 px.
    void moveAndResize()
    {
        QFETCH(QList<QRect>, frames);

        QProcess* target = open("Target");
        QVERIFY(target);
        WindowControl control(SwayWindowBackend::open(m_socket));
        for (const QRect& frame : frames) {
            control.lastRefreshTime = QTime();
            const std::optional<QRect> reached = control.apply(task("Target", WindowTask::Resize, frame));
            QVERIFY(reached);
            QVERIFY2(near(*reached, frame), qPrintable(QString("reached %1,%2 %3x%4").arg(reached->x()).arg(reached->y())
                                                          .arg(reached->width()).arg(reached->height())));
            // Drawn at that size before the next: sway takes a floating window's size from
            // what its client draws, and a frame still on its way would undo the next size.
            QVERIFY(drawnAsLaidOut(target, "Target"));
            QVERIFY2(near(rectOf(findByPid(swayTree(), target->processId())), frame),
                     qPrintable(QJsonDocument(findByPid(swayTree(), target->processId())).toJson()));
        }
    }

    void operations_data()
    {
        QTest::addColumn<int>("operation");

        QTest::newRow("maximise: fullscreen") << int(WindowTask::Maximise);
        QTest::newRow("minimise: to the scratchpad") << int(WindowTask::Minimise);
        QTest::newRow("close: killed") << int(WindowTask::Close);
    }

    // Each with a bystander open, which nothing touches.
    void operations()
    {
        QFETCH(int, operation);

        QProcess* target = open("Target");
        QProcess* bystander = open("Bystander");
        QVERIFY(target && bystander);
        const QJsonObject before = findByPid(swayTree(), bystander->processId());
        WindowControl control(SwayWindowBackend::open(m_socket));
        if (operation == WindowTask::Maximise)
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression("sway has no maximised state"));
        QVERIFY(control.apply(task("Target", WindowTask::Operation(operation))));
        switch (operation) {
        case WindowTask::Maximise:
            QTRY_COMPARE(findByPid(swayTree(), target->processId()).value("fullscreen_mode").toInt(), 1);
            break;
        case WindowTask::Minimise:
            QTRY_COMPARE(workspaceOf(target).value("name").toString(), QString("__i3_scratch"));
            break;
        case WindowTask::Close:
            QTRY_COMPARE(target->state(), QProcess::NotRunning);
            break;
        }
        const QJsonObject after = findByPid(swayTree(), bystander->processId());
        QCOMPARE(after.value("fullscreen_mode"), before.value("fullscreen_mode"));
        QCOMPARE(workspaceOf(bystander).value("name"), QJsonValue("1"));
        QCOMPARE(bystander->state(), QProcess::Running);
    }

    void anyWindowOfProgram_data()
    {
        QTest::addColumn<QString>("appId");
        QTest::addColumn<bool>("found");

        QTest::newRow("by app id") << "org.example.Target" << true;
        QTest::newRow("app id of no window: none") << "org.example.Nothing" << false;
    }

    // A key whose stored title is long out of date finds its program's window by app id;
    // a bystander of the same program file but another app id stays tiled.
    void anyWindowOfProgram()
    {
        QFETCH(QString, appId);
        QFETCH(bool, found);

        QProcess* bystander = open("Bystander");
        QProcess* target = open("Page 2 - Browser", "org.example.Target");
        QVERIFY(target && bystander);
        WindowControl control(SwayWindowBackend::open(m_socket));
        WindowTask task = WindowTests::task("Target", WindowTask::Resize, QRect(200, 150, 400, 300));
        task.title = "Page 1 - Browser";
        task.match = WindowTask::Match::Program;
        task.appId = appId;
        if (!found)
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression("no window of program"));
        QCOMPARE(control.apply(task).has_value(), found);
        if (found)
            QTRY_VERIFY(near(rectOf(findByPid(swayTree(), target->processId())), task.rect));
        QCOMPARE(findByPid(swayTree(), bystander->processId()).value("type").toString(), QString("con"));  // still tiled
    }

    // Focus moved by another client (swaymsg, as a user's click would): the signal names
    // each newly focused window once, and the focused window's new title.
    void focusedWindow()
    {
        QProcess* left = open("Left");
        QProcess* right = open("Right");
        QVERIFY(left && right);
        FocusWatcher watcher(SwayWindowBackend::open(m_socket));
        QVERIFY(watcher.isWatching());
        QCOMPARE(watcher.current().title, QString("Right"));  // opened last
        QSignalSpy spy(&watcher, &FocusWatcher::activeWindowChanged);
        focus(left);
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0), (QList<QVariant>{"Left", QFileInfo(kHelper).fileName().left(15),
                                             findByPid(swayTree(), left->processId()).value("app_id").toString()}));
        focus(right);
        QTRY_COMPARE(spy.size(), 2);
        QCOMPARE(spy.at(1).at(0).toString(), QString("Right"));
        right->write("title Right renamed\n");
        QTRY_COMPARE(spy.size(), 3);
        QCOMPARE(spy.at(2).at(0).toString(), QString("Right renamed"));
        left->write("title Left renamed\n");  // not focused: nothing
        QTest::qWait(300);
        QCOMPARE(spy.size(), 3);
        QCOMPARE(watcher.current().title, QString("Right renamed"));
    }

    void selection_data()
    {
        QTest::addColumn<QString>("forced");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("swaySocket");
        QTest::addColumn<QString>("expected");

        QTest::newRow("Wayland session with sway: sway") << QString() << "wayland-1" << "sway" << "sway";
        QTest::newRow("forced sway") << "sway" << QString() << "sway" << "sway";
        QTest::newRow("forced sway, nothing answers: none") << "sway" << QString() << "/nonexistent.sock" << "none";
        QTest::newRow("forced none") << "none" << "wayland-1" << "sway" << "none";
    }

    // SYSTEMDLL_WINDOWCONTROL_BACKEND forces a backend; a Wayland session gets the
    // compositor's own.
    void selection()
    {
        QFETCH(QString, forced);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, swaySocket);
        QFETCH(QString, expected);

        const QByteArray savedDisplay = qgetenv("WAYLAND_DISPLAY");
        qputenv("WAYLAND_DISPLAY", waylandDisplay.toLocal8Bit());
        qputenv("SWAYSOCK", (swaySocket == "sway" ? m_socket : swaySocket).toLocal8Bit());
        if (expected == "none" && forced == "sway")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no compositor answers"));
        const QString name = WindowControl(WindowBackend::create(forced)).backendName();
        qputenv("WAYLAND_DISPLAY", savedDisplay);
        qputenv("SWAYSOCK", m_socket.toLocal8Bit());
        QCOMPARE(name, expected);
    }

    void messages_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<int>("complete");
        QTest::addColumn<bool>("broken");

        const QByteArray one = SwayIpc::frame(SwayIpc::kWindowEvent, R"({"change":"focus"})");
        QTest::newRow("one message") << one << 1 << false;
        QTest::newRow("two at once") << one + one << 2 << false;
        QTest::newRow("half a header") << one.left(8) << 0 << false;
        QTest::newRow("one and a half") << one + one.left(20) << 1 << false;
        QTest::newRow("no magic") << QByteArray("garbage-and-more") << 0 << true;
        QByteArray huge = SwayIpc::frame(SwayIpc::GetTree, {});
        const quint32 length = 0xffffffffu;
        huge.replace(6, 4, reinterpret_cast<const char*>(&length), 4);
        QTest::newRow("a length beyond any tree") << huge << 0 << true;
    }

    // The framing of what the compositor sends: partial messages wait for the rest, and a
    // stream that is no IPC is given up rather than read on.
    void messages()
    {
        QFETCH(QByteArray, stream);
        QFETCH(int, complete);
        QFETCH(bool, broken);

        bool isBroken = false;
        int taken = 0;
        while (const std::optional<SwayIpc::Message> message = SwayIpc::takeMessage(stream, &isBroken)) {
            QCOMPARE(message->type, SwayIpc::kWindowEvent);
            QCOMPARE(message->json.object().value("change").toString(), QString("focus"));
            ++taken;
        }
        QCOMPARE(taken, complete);
        QCOMPARE(isBroken, broken);
    }

private:
    // Starts a window of its own process and waits until sway lists it.
    QProcess* open(const QString& title, const QString& appId = {})
    {
        const QStringList arguments = appId.isEmpty() ? QStringList{title} : QStringList{title, appId};
        QProcess* window = m_windows.start(m_display, arguments);
        if (!window)
            return nullptr;
        // Drawn at the size the layout gives it, and so are the windows it made smaller:
        // until every client has drawn its new size, sway holds back later changes, and a
        // window still taking its first size would overrule a size asked for meanwhile.
        if (!drawnAsLaidOut(window, title))
            return nullptr;
        for (QProcess* other : m_windows.all()) {
            if (other != window && other->state() == QProcess::Running && !drawnAsLaidOut(other))
                return nullptr;
        }
        return window;
    }

    // Waits until sway lists the window (under title, if given) and the window has drawn,
    // and sway taken, a frame of the size the layout gives it.
    bool drawnAsLaidOut(QProcess* window, const QString& title = {})
    {
        QSize& drawn = m_drawn[window];
        QSize laidOut;
        QString name;
        const bool agreed = QTest::qWaitFor(
            [&] {
                while (window->canReadLine()) {
                    const QList<QByteArray> words = window->readLine().trimmed().split(' ');
                    if (words.size() == 3 && words.at(0) == "size")
                        drawn = QSize(words.at(1).toInt(), words.at(2).toInt());
                }
                const QJsonObject container = findByPid(swayTree(), window->processId());
                const QJsonObject content = container.value("window_rect").toObject();
                name = container.value("name").toString();
                laidOut = QSize(content.value("width").toInt(), content.value("height").toInt());
                return (title.isEmpty() || name == title) && laidOut == drawn;
            },
            20000);
        if (!agreed)
            qWarning() << "window" << title << "listed as" << name << "laid out at" << laidOut << "drawn at" << drawn;
        return agreed;
    }

    QJsonObject workspaceOf(QProcess* window) const
    {
        QJsonObject workspace;
        findByPid(swayTree(), window->processId(), &workspace);
        return workspace;
    }

    QJsonObject swayTree() const
    {
        QProcess swaymsg;
        swaymsg.start("swaymsg", {"-s", m_socket, "-t", "get_tree", "-r"});
        swaymsg.waitForFinished(5000);
        return QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object();
    }

    void focus(QProcess* window)
    {
        const qint64 id = findByPid(swayTree(), window->processId()).value("id").toInteger();
        QProcess swaymsg;
        swaymsg.start("swaymsg", {"-s", m_socket, QString("[con_id=%1] focus").arg(id)});
        QVERIFY(swaymsg.waitForFinished(5000));
        QCOMPARE(swaymsg.exitCode(), 0);
    }

    QString m_display;
    QString m_socket;
    WindowTests::Windows m_windows;
    QHash<QProcess*, QSize> m_drawn;  // the last size each window reported drawn
};

QTEST_MAIN(tst_SwayWindowBackend)
#include "tst_swaywindowbackend.moc"
