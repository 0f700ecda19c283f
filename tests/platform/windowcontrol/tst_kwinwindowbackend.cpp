// Window control on KDE through KWin scripting: a headless KWin of this test's own
// (scripts/lib/wayland.sh start_kwin) on a private bus, Qt Wayland windows of a program
// of our own on it; and KWin's absence, reported.
#include "windowtests.h"
#include "platform/windowcontrol/focuswatcher.h"
#include "platform/windowcontrol/kwin/kwinscripting.h"
#include "platform/windowcontrol/kwin/kwinwindowbackend.h"
#include "platform/windowcontrol/windowcontrol.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using WindowTests::near;
using WindowTests::task;

namespace {

const char kHelper[] = WAYLAND_WINDOW;
const char kScripts[] = SCRIPTS_DIR;
const QRect kScreen(0, 0, 1280, 800);

// Every window as KWin has it, with its pid; the backend's own listing leaves the pid out.
const char kListScript[] = R"(
var all = windows(), out = [];
for (var i = 0; i < all.length; ++i) {
    var d = describe(all[i]);
    d.pid = all[i].pid;
    out.push(d);
}
answer(out);
)";

const char kActivateScript[] = R"(
var w = find(input.args.id);
if (w) {
    if (workspace.activeWindow !== undefined)
        workspace.activeWindow = w;
    else
        workspace.activeClient = w;
}
answer({ done: w !== null });
)";

const char kEchoScript[] = "answer(input.args);";

QRect frameOf(const QJsonObject& w)
{
    return QRect(w.value("x").toInt(), w.value("y").toInt(), w.value("width").toInt(), w.value("height").toInt());
}

} // namespace

class tst_KWinWindowBackend : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("kwin_wayland").isEmpty())
            QSKIP("needs kwin_wayland (scripts/setup installs it)");
        QVERIFY2(m_kwin.start(kScripts, "start_kwin", "stop_kwin", "KWIN"), "kwin did not start");
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_kwin.bus, "kwin"));
        QVERIFY(m_bus->isConnected());
        QString problem;
        m_scripting = KWinScripting::open(*m_bus, &problem);
        QVERIFY2(m_scripting, qPrintable(problem));
    }

    void cleanup() { m_windows.clear(); }

    void cleanupTestCase()
    {
        m_scripting.reset();
        m_bus.reset();
        QDBusConnection::disconnectFromBus("kwin");
        m_kwin.stop();
    }

    // Whatever a value holds reaches a script as that value: nothing of it is read as
    // script source.
    void valuesReachScripts_data()
    {
        QTest::addColumn<QString>("value");

        QTest::newRow("quotes, breaking out") << "'\"}); answer({ injected: true }); ({x: \"'";
        QTest::newRow("backslashes and newline") << "a\\b\\\\c\nd\r\te";
        QTest::newRow("line separators") << QString("a%1b%2c").arg(QChar(0x2028)).arg(QChar(0x2029));
        QTest::newRow("beyond the basic plane") << QString::fromUtf8("f\xF0\x9F\x98\x80 \xC3\xA9");
        QTest::newRow("empty") << QString();
    }

    void valuesReachScripts()
    {
        QFETCH(QString, value);

        QList<QJsonObject> answers;
        QVERIFY(m_scripting->run("echo", kEchoScript, {{"title", value}}, [&](const QJsonDocument& answer) {
            answers << answer.object();
            return false;  // every answer it sends, until the wait ends
        }, 300));
        QCOMPARE(answers.size(), 1);
        QCOMPARE(answers.first().value("title").toString(), value);
    }

    // A script that never answers is waited for a bounded time, with one warning, and
    // leaves nothing behind that would stop the next.
    void unanswered_data()
    {
        QTest::addColumn<QString>("body");

        QTest::newRow("silent") << "var quiet = 1;";
        QTest::newRow("syntax error") << "answer((";
        QTest::newRow("throws") << "throw new Error('no');";
    }

    void unanswered()
    {
        QFETCH(QString, body);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("KWin did not answer the script to stay silent within"));
        int answers = 0;
        QVERIFY(!m_scripting->run("stay silent", body, {}, [&](const QJsonDocument&) { return ++answers > 0; }));
        QCOMPARE(answers, 0);
        QVERIFY(m_scripting->run("echo", kEchoScript, {}, [&](const QJsonDocument&) { return ++answers > 0; }));
    }

    // A script run while another waits (from a listener called in that wait): both
    // get all their answers, including those the outer one sends meanwhile.
    void nestedRuns()
    {
        QList<int> outer;
        int inner = 0;
        const bool outerAnswered = m_scripting->run("answer twice", "answer([1]); answer([2]);", {}, [&](const QJsonDocument& answer) {
            outer << answer.array().first().toInt();
            if (outer.size() == 1)
                m_scripting->run("echo", kEchoScript, {}, [&](const QJsonDocument&) { return ++inner > 0; });
            return outer.size() == 2;
        });
        QVERIFY(outerAnswered);
        QCOMPARE(outer, QList<int>({1, 2}));
        QCOMPARE(inner, 1);
    }

    // Listed with its title, the name of its process, its app id and its frame.
    void listed()
    {
        QProcess* target = open("Target");
        QVERIFY(target);
        WindowControl control(backend());
        QCOMPARE(control.backendName(), QString("kwin"));
        control.getTargetWindowInformation("Target");
        QCOMPARE(control.targetProcessName, QFileInfo(kHelper).fileName().left(15));
        QVERIFY(!control.targetAppId.isEmpty());
        QCOMPARE(QRect(control.targetWindowPosition, control.targetWindowSize), frameOf(windowOf(target)));
    }

    // Larger, at the origin: a zero is a position like any other to the script.
    void moveAndResize()
    {
        const QRect frame(0, 0, 400, 300);
        QProcess* target = open("Target");
        QVERIFY(target);
        WindowControl control(backend());
        const std::optional<QRect> reached = control.apply(task("Target", WindowTask::Resize, frame));
        QVERIFY(reached);
        QVERIFY2(near(*reached, frame), qPrintable(QString("reported %1,%2 %3x%4").arg(reached->x()).arg(reached->y())
                                                       .arg(reached->width()).arg(reached->height())));
        QTRY_VERIFY(near(frameOf(windowOf(target)), frame));
    }

    void operations_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("outcome");

        QTest::newRow("minimise") << int(WindowTask::Minimise) << "minimized";
        QTest::newRow("maximise") << int(WindowTask::Maximise) << "fills the screen";
        QTest::newRow("close") << int(WindowTask::Close) << "gone";
    }

    void operations()
    {
        QFETCH(int, operation);
        QFETCH(QString, outcome);

        QProcess* target = open("Target");
        QProcess* bystander = open("Bystander");
        QVERIFY(target && bystander);
        const QRect bystanderFrame = frameOf(windowOf(bystander));
        WindowControl control(backend());
        QVERIFY(control.apply(task("Target", WindowTask::Operation(operation))));
        if (outcome == "gone")
            QTRY_COMPARE(target->state(), QProcess::NotRunning);
        else if (outcome == "minimized")
            QTRY_VERIFY(windowOf(target).value("minimized").toBool());
        else
            QTRY_COMPARE(frameOf(windowOf(target)), kScreen);
        const QJsonObject other = windowOf(bystander);
        QVERIFY(!other.value("minimized").toBool());
        QCOMPARE(frameOf(other), bystanderFrame);
    }

    // The focus moved between two windows (as a click would), and the focused window's
    // new title: each signalled.
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
        QCOMPARE(spy.last().at(2).toString(), QString("tst_waylandwindow"));
        left->write("title Left renamed\n");
        QTRY_COMPARE(spy.last().at(0).toString(), QString("Left renamed"));
        QCOMPARE(watcher.current().title, QString("Left renamed"));
    }

    // Without KWin on the suite's session bus: a forced "kwin" says why, and lists nothing.
    void kwinMissing()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("KWin window control requested but (KWin is not running|no "
                                                              "session bus): no windows"));
        WindowControl forced(WindowBackend::create("kwin"));
        QCOMPARE(forced.backendName(), QString("none"));
        QVERIFY(forced.getAllWindowInfos().isEmpty());
    }

private:
    std::unique_ptr<WindowBackend> backend()
    {
        QString problem;
        auto kwin = KWinWindowBackend::open(*m_bus, &problem);
        if (!kwin)
            qWarning() << "no KWin backend:" << problem;
        return kwin;
    }

    // KWin's own record of the window of this process.
    QJsonObject windowOf(QProcess* window)
    {
        QJsonObject found;
        m_scripting->run("list for the test", kListScript, {}, [&](const QJsonDocument& answer) {
            for (const QJsonValue& w : answer.array()) {
                if (w.toObject().value("pid").toInteger() == window->processId())
                    found = w.toObject();
            }
            return true;
        });
        return found;
    }

    bool activate(QProcess* window)
    {
        bool done = false;
        m_scripting->run("activate", kActivateScript, {{"id", windowOf(window).value("id")}}, [&](const QJsonDocument& answer) {
            done = answer.object().value("done").toBool();
            return true;
        });
        return done;
    }

    QProcess* open(const QString& title)
    {
        QProcess* window = m_windows.start(m_kwin.display, {title});
        if (!window)
            return nullptr;
        // Listed and placed: KWin places a window once, as it maps it.
        const bool shown = QTest::qWaitFor(
            [&] {
                const QJsonObject listed = windowOf(window);
                return listed.value("title").toString() == title && listed.value("width").toInt() > 0;
            },
            30000);
        return shown ? window : nullptr;
    }

    WindowTests::OwnCompositor m_kwin;
    std::unique_ptr<QDBusConnection> m_bus;
    std::unique_ptr<KWinScripting> m_scripting;
    WindowTests::Windows m_windows;
};

QTEST_MAIN(tst_KWinWindowBackend)
#include "tst_kwinwindowbackend.moc"
