// Window control on the suite's display, with its window manager, against top-level
// windows of this test's own; on a bare X server, where no window manager runs; and
// without a display.
#include "platform/windowcontrol/focuswatcher.h"
#include "platform/windowcontrol/windowcontrol.h"
#include "platform/windowcontrol/windowrecordfilter.h"
#include "platform/windowcontrol/x11/x11windowbackend.h"
#include "xcbprobe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <limits>
#include <optional>
#include <unistd.h>

using TovWindowControl::WindowsInfo;
using Property = XcbProbe::Property;

namespace {

const QRect kClient(100, 50, 200, 100);

QString ownProcessName()  // as /proc has it: cut to 15 bytes
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15);
}

Property title(const QByteArray& text)
{
    return {"_NET_WM_NAME", "UTF8_STRING", text, {}};
}

Property ownPid()
{
    return {"_NET_WM_PID", "CARDINAL", {}, {quint32(getpid())}};
}

Property windowClass(const QByteArray& name)
{
    return {"WM_CLASS", "STRING", QByteArray("instance", 9) + name + '\0', {}};
}

} // namespace

class tst_X11WindowBackend : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_control = control({});
        QVERIFY2(m_control, "needs an X display");
        // Xvfb picks a free display itself and reports its number.
        m_bare.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"});
        QVERIFY2(m_bare.waitForStarted(10000) && QTest::qWaitFor([&] { return m_bare.canReadLine(); }, 10000),
                 "needs Xvfb");
        m_bareDisplay = ":" + m_bare.readLine().trimmed();
    }

    void cleanup()
    {
        qDeleteAll(m_windows);
        m_windows.clear();
    }

    void cleanupTestCase()
    {
        m_bare.terminate();
        m_bare.waitForFinished(5000);
    }

    void moveAndResize_data()
    {
        QTest::addColumn<bool>("frameless");
        QTest::addColumn<bool>("maximisedFirst");
        QTest::addColumn<QRect>("frame");

        QTest::newRow("decorated") << false << false << QRect(100, 120, 640, 400);
        QTest::newRow("frameless") << true << false << QRect(50, 60, 300, 200);
        QTest::newRow("maximised first") << false << true << QRect(200, 150, 500, 300);
    }

    // Listed with the title trimmed, the process name from /proc and the window manager's
    // frame. Then asked for a frame as a Windows Control key does: size, position,
    // the hook, a new listing at once, up to five times; the clock stands still, so only the
    // hook can make that listing a fresh one.
    void moveAndResize()
    {
        QFETCH(bool, frameless);
        QFETCH(bool, maximisedFirst);
        QFETCH(QRect, frame);

        const QString title = QStringLiteral("Fenêtre ✓ 窓 %1").arg(QTest::currentDataTag());
        QWidget* window = open(" " + title + '\t', frameless ? Qt::FramelessWindowHint : Qt::WindowFlags());
        QVERIFY(window);
        WindowControl& c = *m_control;
        c.getTargetWindowInformation(title);
        QCOMPARE(c.targetProcessName, ownProcessName());
        QCOMPARE(QRect(c.targetWindowPosition, c.targetWindowSize), window->frameGeometry());
        if (maximisedFirst) {
            c.maximunTargetWindow(title);
            QTRY_VERIFY(window->isMaximized());
        }
        for (int attempt = 0; attempt < 5 && QRect(c.targetWindowPosition, c.targetWindowSize) != frame; ++attempt) {
            c.setTargetWindowSize(title, frame.size());
            c.setTargetWindowLeftTopPosition(title, frame.topLeft());
            c.resizeTargetWindow(title);
            c.getAllWindowInfos();
            c.getTargetWindowInformation(title);
        }
        QCOMPARE(QRect(c.targetWindowPosition, c.targetWindowSize), frame);
        QTRY_COMPARE(window->frameGeometry(), frame);
        QVERIFY(!window->isMaximized());
    }

    void apply_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("process");
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("found");

        QTest::newRow("resize by title") << "Target" << QString() << int(WindowTask::Resize) << true;
        QTest::newRow("title and process of no window: nothing closed")
            << "Nobody" << "nobody" << int(WindowTask::Close) << false;
    }

    // A key's task with Target and Bystander open: it answers the frame the window
    // reached; a task that finds no window answers nothing and touches none.
    void apply()
    {
        QFETCH(QString, title);
        QFETCH(QString, process);
        QFETCH(int, operation);
        QFETCH(bool, found);

        QPointer<QWidget> target = open("Target"), bystander = open("Bystander");
        QVERIFY(target && bystander);
        const QRect before = bystander->frameGeometry(), targetBefore = target->frameGeometry();
        const QRect requested(120, 100, 420, 260);
        m_now = m_now.addSecs(2);
        if (!found)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("title: \"" + title + "\" not found!$"));
        const std::optional<QRect> reached =
            m_control->apply({title, process, WindowTask::Operation(operation), requested, WindowTask::Match::Title, {}});
        QCOMPARE(reached.has_value(), found);
        QTest::qWait(200);  // whatever the window manager would do, it has done
        QVERIFY(target && bystander);
        QCOMPARE(bystander->frameGeometry(), before);
        if (found) {
            QCOMPARE(*reached, requested);
            QTRY_COMPARE(target->frameGeometry(), requested);
        } else {
            QCOMPARE(target->frameGeometry(), targetBefore);
            QVERIFY(!target->isMinimized() && !bystander->isMinimized());
        }
    }

    void focusedWindow_data()
    {
        QTest::addColumn<QStringList>("steps");  // "activate NAME" or "retitle NAME NEW"
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("one window, then the other")
            << QStringList{"activate Left", "activate Right"} << QStringList{"Left", "Right"};
        QTest::newRow("back and forth")
            << QStringList{"activate Left", "activate Right", "activate Left"} << QStringList{"Left", "Right", "Left"};
        QTest::newRow("the focused window gets a new title")
            << QStringList{"activate Left", "retitle Left Left renamed"} << QStringList{"Left", "Left renamed"};
        QTest::newRow("a window without the focus gets a new title: nothing")
            << QStringList{"activate Left", "retitle Right Right renamed", "activate Right"}
            << QStringList{"Left", "Right renamed"};
    }

    // The window manager moves the focus (xdotool windowactivate, as a user's click would):
    // the signal names each focused window once, with its process and class name; the
    // listing knows a new title without waiting out the snapshot.
    void focusedWindow()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);

        QHash<QString, QPointer<QWidget>> windows;
        windows["Left"] = open("Left");
        windows["Right"] = open("Right");
        QVERIFY(windows["Left"] && windows["Right"]);
        // Right has the focus to begin with.
        QCOMPARE(QProcess::execute("xdotool", {"windowactivate", "--sync", QString::number(windows["Right"]->winId())}), 0);
        auto backend = X11WindowBackend::open();
        QVERIFY(backend);
        FocusWatcher watcher(std::move(backend));
        QVERIFY(watcher.isWatching());
        QSignalSpy spy(&watcher, &FocusWatcher::activeWindowChanged);
        QStringList seen;
        for (const QString& step : std::as_const(steps)) {
            const QStringList words = step.split(' ');
            QWidget* window = windows.value(words.at(1));
            const int before = int(spy.size());
            if (words.at(0) == "activate") {
                QCOMPARE(QProcess::execute("xdotool", {"windowactivate", "--sync", QString::number(window->winId())}), 0);
            } else {
                window->setWindowTitle(words.mid(2).join(' '));
            }
            const bool signalled = QTest::qWaitFor([&] { return spy.size() > before; }, 3000);
            if (signalled)
                seen << spy.last().at(0).toString();
            if (words.at(0) == "retitle" && !signalled) {
                m_now = m_now.addSecs(2);
                QVERIFY(countListed(words.mid(2).join(' ')) == 1);
            }
        }
        QCOMPARE(seen, expected);
        for (const QList<QVariant>& arguments : std::as_const(spy)) {
            QCOMPARE(arguments.at(1).toString(), ownProcessName());
            QVERIFY(!arguments.at(2).toString().isEmpty());
        }
        QCOMPARE(watcher.current().title, expected.last());
    }

    // A bare X server: without a client list nothing is listed, which is said once. With one:
    // old-style title and class name where the EWMH ones are missing, the class name for a
    // process of another machine, frame extents; no docks, desktops, or windows without a
    // title or a process name. An action reaches the window it names, though skipped windows
    // shift the listing; a title of another case or with a blank is none. Of the actions
    // only closing is fully announced, so only a close request reaches the root.
    void withoutWindowManager()
    {
        XcbProbe x(m_bareDisplay);
        QVERIFY(x.isOpen());
        const auto type = [&](const char* name) { return Property{"_NET_WM_WINDOW_TYPE", "ATOM", {}, {x.atom(name)}}; };
        const Property remote{"WM_CLIENT_MACHINE", "STRING", "elsewhere.invalid", {}};
        const Property extents{"_NET_FRAME_EXTENTS", "CARDINAL", {}, {2, 3, 20, 4}};  // left, right, top, bottom
        const QVector<quint32> clients = {
            x.createWindow(kClient, {{"WM_NAME", "STRING", "Caf\xe9", {}}, ownPid()}),
            x.createWindow(kClient, {title("Classy"), windowClass("Legacy")}),
            x.createWindow(kClient, {title("Remote"), ownPid(), remote, windowClass("RemoteApp")}),
            x.createWindow(kClient, {title("Anonymous")}),
            x.createWindow(kClient, {title(" \t"), ownPid()}),
            x.createWindow(kClient, {title("Panel"), ownPid(), type("_NET_WM_WINDOW_TYPE_DOCK")}),
            x.createWindow(kClient, {title("Wallpaper"), ownPid(), type("_NET_WM_WINDOW_TYPE_DESKTOP")}),
            x.createWindow(kClient, {title("\xc2\xa0" "Framed\t"), ownPid(), extents})};
        auto c = control(m_bareDisplay);
        QVERIFY(c);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no window manager lists its windows"));
        QVERIFY(c->getAllWindowInfos().isEmpty());
        QTest::failOnWarning(QRegularExpression("no window manager lists its windows"));
        m_now = m_now.addSecs(2);
        QVERIFY(c->getAllWindowInfos().isEmpty());

        const QVector<quint32> supported = {x.atom("_NET_CLOSE_WINDOW"), x.atom("_NET_WM_STATE"),
                                            x.atom("_NET_WM_STATE_MAXIMIZED_VERT")};
        x.set(x.root(), {"_NET_SUPPORTED", "ATOM", {}, supported});
        x.set(x.root(), {"_NET_CLIENT_LIST", "WINDOW", {}, clients});
        m_now = m_now.addSecs(2);
        const QList<WindowsInfo> expected = {{"Café", ownProcessName(), kClient, {}},
                                             {"Classy", "Legacy", kClient, "Legacy"},
                                             {"Remote", "RemoteApp", kClient, "RemoteApp"},
                                             {"Framed", ownProcessName(), QRect(98, 30, 205, 124), {}}};
        QCOMPARE(c->getAllWindowInfos(), expected);

        x.watchRoot();
        c->getTargetWindowInformation("Framed");
        for (const char* miss : {"framed", "Framed "}) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not found"));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not found"));
            c->closeTargetWindow(miss);
            c->getTargetWindowInformation(miss);
        }
        QVERIFY(c->targetWindowTitle.isEmpty() && c->targetProcessName.isEmpty() && !c->targetWindowSize.isValid());
        c->closeTargetWindow("Framed");
        // Resizing is not announced, maximising only half: each said once, whatever the number
        // of attempts, and never asked.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("does not support .* \\(EWMH\\): windows cannot be moved"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("does not support .*: windows cannot be maximised"));
        QTest::failOnWarning(QRegularExpression("does not support"));
        for (int attempt = 0; attempt < 3; ++attempt) {
            c->setTargetWindowSize("Framed", QSize(300, 200));
            c->maximunTargetWindow("Framed");
        }
        QCOMPARE(x.clientMessages(), (QList<XcbProbe::Message>{{x.atom("_NET_CLOSE_WINDOW"), clients.last()}}));
    }

    void snapshot_data()
    {
        QTest::addColumn<QTime>("listedAt");
        QTest::addColumn<QTime>("askedAt");
        QTest::addColumn<bool>("listedAgain");

        const QTime noon(12, 0);
        QTest::newRow("1000 ms later") << noon << noon.addMSecs(1000) << false;
        QTest::newRow("1001 ms later") << noon << noon.addMSecs(1001) << true;
        QTest::newRow("across midnight, 600 ms") << QTime(23, 59, 59, 700) << QTime(0, 0, 0, 300) << false;
        QTest::newRow("clock set back 5 s") << noon << noon.addSecs(-5) << true;
    }

    // A listing is kept for a second: a window that opens meanwhile shows in a new one only.
    void snapshot()
    {
        QFETCH(QTime, listedAt);
        QFETCH(QTime, askedAt);
        QFETCH(bool, listedAgain);

        XcbProbe x(m_bareDisplay);
        const QVector<quint32> clients = {x.createWindow(kClient, {title("First"), ownPid()}),
                                          x.createWindow(kClient, {title("Opened Meanwhile"), ownPid()})};
        x.set(x.root(), {"_NET_CLIENT_LIST", "WINDOW", {}, clients.mid(0, 1)});
        auto c = control(m_bareDisplay);
        m_now = listedAt;
        QCOMPARE(c->getAllWindowInfos().size(), 1);
        x.set(x.root(), {"_NET_CLIENT_LIST", "WINDOW", {}, clients});
        m_now = askedAt;
        QCOMPARE(c->getAllWindowInfos().size(), listedAgain ? 2 : 1);
    }

    // No display: a backend that lists nothing, with a warning.
    void withoutDisplay()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no X display reachable"));
        const QByteArray saved = qgetenv("DISPLAY");
        qputenv("DISPLAY", ":9999");
        WindowControl control(WindowBackend::create(QString()));
        qputenv("DISPLAY", saved);
        QCOMPARE(control.backendName(), QString("none"));
        QVERIFY(control.getAllWindowInfos().isEmpty());
    }

private:
    // Shows a window, deleted when asked to close, and waits until one more of its
    // (trimmed) title is listed.
    QWidget* open(const QString& title, Qt::WindowFlags flags = {})
    {
        const int listed = countListed(title.trimmed());
        auto* window = new QWidget(nullptr, flags);
        m_windows << window;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(title);
        window->resize(320, 240);
        window->show();
        // A loaded machine can take seconds to map a first window.
        if (!QTest::qWaitForWindowExposed(window, 15000)) {
            qWarning("window %s was never shown", qPrintable(title));
            return nullptr;
        }
        if (!QTest::qWaitFor([&] { return countListed(title.trimmed()) > listed; }, 15000)) {
            qWarning("window %s was shown but never listed", qPrintable(title));
            return nullptr;
        }
        return window;
    }

    // In a fresh listing.
    int countListed(const QString& title)
    {
        m_now = m_now.addSecs(2);
        const QList<WindowsInfo> infos = m_control->getAllWindowInfos();
        return int(std::count_if(infos.cbegin(), infos.cend(), [&](const WindowsInfo& i) { return i.title == title; }));
    }

    // Controls keep a listing until m_now moves on.
    std::unique_ptr<WindowControl> control(const QByteArray& display)
    {
        auto backend = X11WindowBackend::open(display);
        if (!backend)
            return nullptr;
        auto c = std::make_unique<WindowControl>(std::move(backend));
        c->setClock([this] { return m_now; });
        return c;
    }

    QProcess m_bare;  // an X server without a window manager
    QByteArray m_bareDisplay;
    std::unique_ptr<WindowControl> m_control;
    QTime m_now{9, 0};
    QList<QPointer<QWidget>> m_windows;
};

QTEST_MAIN(tst_X11WindowBackend)
#include "tst_x11windowbackend.moc"
