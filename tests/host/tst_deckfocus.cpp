// Pressing keys from the host leaves the focus where the user works: on the real X
// server, an Input Text key pressed from the editor, from the deck window and through
// `vanta-host --press` types into the line edit of another program, once, and that
// program keeps the focus; the host never receives the package's Enter.
#include "deck.h"
#include "hostsession.h"
#include "hostsessions.h"
#include "keycell.h"
#include "mainwindow.h"
#include "pastetarget.h"
#include "pressgate.h"
#include "testfiles.h"

#include <QAbstractButton>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kText = QStringLiteral("hello");

QByteArray textKeyProfile()
{
    const QJsonObject payload{{"version", 1}, {"titlelist", QJsonArray{"T"}}, {"SendText", kText}, {"PressEnterStatus", "true"}};
    const QJsonObject key{{"slot", 0}, {"category", "com.corvane.system.text"}, {"target", "t0"}, {"payload", payload}};
    return profileBytes({key}, 3, 2);
}

// A multi-action key: "one", a pause, "two", each pasted without Enter.
QByteArray multiActionProfile(int delayMs)
{
    const auto text = [](const char* target, const char* sent) {
        return QJsonObject{{"category", "com.corvane.system.text"}, {"target", target},
                           {"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"T"}}, {"SendText", sent}}}};
    };
    const QJsonObject key{{"slot", 0}, {"category", "com.corvane.vantahost.multiaction"}, {"target", "m0"},
                          {"title", "M"}, {"steps", QJsonArray{text("s1", "one"), delayMs, text("s2", "two")}}};
    return profileBytes({key}, 3, 2);
}

QString activeWindowName()
{
    return outputOf(QStringLiteral("xdotool"), {"getactivewindow", "getwindowname"});
}

// Waits until the pastetarget's line edit holds `text` after `returns` Enter presses.
bool shows(PasteTarget& target, const QString& text, int returns, int ms = 10000)
{
    const bool seen = target.waitFor([&](const QJsonObject& s) { return s["text"].toString() == text && s["returns"].toInt() == returns; }, ms);
    if (!seen)
        qWarning() << "pastetarget:" << target.state();
    return seen;
}

bool activeAgain(PasteTarget& target)
{
    target.send("focus");
    return QTest::qWaitFor([] { return activeWindowName() == QLatin1String("pastetarget"); }, 10000);
}

// Counts the Enter keys (or all keys) that reach the host's own widgets.
class EnterCounter : public QObject
{
public:
    int count = 0;
    int keys = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            count += key == Qt::Key_Enter || key == Qt::Key_Return;
            ++keys;
        }
        return false;
    }
};
} // namespace

class tst_DeckFocus : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        TestFiles::write(m_dir->filePath("profile.json"), textKeyProfile());
    }

    // The editor window: Space on the selected key, or its Test key button.
    void editorHandsTheFocusBack_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::newRow("space") << "space";
        QTest::newRow("test key") << "button";
    }

    void editorHandsTheFocusBack()
    {
        QFETCH(QString, gesture);
        PasteTarget target;
        QVERIFY(activeAgain(target));
        QStringList problems;
        const auto started = startedSession(m_dir->path(), &problems);
        HostSession& session = *started;
        MainWindow window(session);
        EnterCounter enters;
        qApp->installEventFilter(&enters);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.select(0);
        if (gesture == QLatin1String("space")) {
            window.cell(0)->setFocus();
            QTest::keyClick(window.cell(0), Qt::Key_Space);
        } else {
            window.findChild<QAbstractButton*>("testKey")->click();
        }
        QVERIFY(shows(target, kText, 1));
        QTest::qWait(1000);  // a second paste would have come by now
        target.waitFor([](const QJsonObject&) { return false; }, 100);
        QCOMPARE(target.state()["text"].toString(), kText);
        QCOMPARE(target.state()["returns"].toInt(), 1);
        QCOMPARE(activeWindowName(), QStringLiteral("pastetarget"));
        QCOMPARE(enters.count, 0);
        qApp->removeEventFilter(&enters);
    }

    // A multi-action key types its later steps where the user works even when the user
    // came back to the host during the run: each step hands the focus back first.
    void multiActionStepsHandTheFocusBack()
    {
        constexpr int kDelayMs = 2500;  // time to bring the host forward in between
        TestFiles::write(m_dir->filePath("profile.json"), multiActionProfile(kDelayMs));
        PasteTarget target;
        QVERIFY(activeAgain(target));
        QStringList problems;
        const auto started = startedSession(m_dir->path(), &problems);
        HostSession& session = *started;
        MainWindow window(session);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(activeAgain(target));
        QSignalSpy steps(&session.deck(), &Deck::runStepFinished);
        QSignalSpy done(&session.deck(), &Deck::runFinished);
        window.pressGate().press(0);
        QVERIFY(shows(target, "one", 0));

        // The user goes back to the host while the run waits.
        EnterCounter keys;
        qApp->installEventFilter(&keys);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (steps.count() > 1)
            QSKIP("the host came forward only after the pause had ended");
        QVERIFY(QTest::qWaitFor([&] { return done.count() == 1; }, 20000));
        QVERIFY(shows(target, "onetwo", 0));
        QCOMPARE(activeWindowName(), QStringLiteral("pastetarget"));
        QCOMPARE(keys.keys, 0);
        qApp->removeEventFilter(&keys);
    }

    // The deck window alone: a click presses, the focus stays; then the running host
    // pressed from outside, on a session bus of the test's own.
    void deckWindowAndPressFromOutside()
    {
        QProcess bus;
        bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        QVERIFY(bus.waitForReadyRead(10000));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromUtf8(bus.readLine()).trimmed());

        PasteTarget target;
        QVERIFY(activeAgain(target));
        QProcess host;
        host.setProcessEnvironment(env);
        host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        host.start(QStringLiteral(VANTA_HOST), {"--deck", "--config-dir", m_dir->path(), "--profile", m_dir->filePath("profile.json")});
        QString deck;
        QVERIFY(QTest::qWaitFor([&] {
            deck = outputOf(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^vanta-host deck$"}).section('\n', 0, 0);
            return !deck.isEmpty();
        }, 20000));
        const QStringList geometry = outputOf(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", deck}).split('\n');
        const auto value = [&](const char* name) {
            return geometry.filter(QRegularExpression(QStringLiteral("^%1=").arg(QLatin1String(name)))).value(0).section('=', 1).toInt();
        };
        // The first key's centre: the window's margin, then half a key.
        const QString x = QString::number(value("X") + 6 + 75);
        const QString y = QString::number(value("Y") + 6 + 54);
        QTest::qWait(300);  // the faces are in place
        outputOf(QStringLiteral("xdotool"), {"mousemove", "--sync", x, y, "click", "1"});
        QVERIFY(shows(target, kText, 1));
        QCOMPARE(activeWindowName(), QStringLiteral("pastetarget"));

        const QString press = QStringLiteral(VANTA_HOST);
        QProcess client;
        client.setProcessEnvironment(env);
        client.start(press, {"--press", "0"});
        QVERIFY(client.waitForFinished(20000));
        QCOMPARE(client.exitCode(), 0);
        QVERIFY(shows(target, kText + kText, 2));
        QCOMPARE(activeWindowName(), QStringLiteral("pastetarget"));
        client.start(press, {"--press", "4"});
        QVERIFY(client.waitForFinished(20000));
        QCOMPARE(client.exitCode(), 1);  // an empty key
        QVERIFY(client.readAllStandardError().contains("slot 4 is empty"));

        host.terminate();  // quits as a closed window does
        QVERIFY(host.waitForFinished(10000));
        QCOMPARE(host.exitStatus(), QProcess::NormalExit);
        QCOMPARE(host.exitCode(), 0);
        bus.kill();
        bus.waitForFinished(2000);
    }

    // The user's text, given back after the paste, stays on the clipboard when the host
    // ends, at the end of its script or stopped by a logout's SIGTERM: the clipboard
    // manager takes it over.
    void clipboardOutlivesTheHost_data()
    {
        QTest::addColumn<int>("waitMs");
        QTest::addColumn<bool>("terminate");
        QTest::newRow("script ends") << 500 << false;
        QTest::newRow("SIGTERM") << 60000 << true;
    }

    void clipboardOutlivesTheHost()
    {
        QFETCH(int, waitMs);
        QFETCH(bool, terminate);
        QProcess keeper;
        keeper.start(QStringLiteral(CLIPBOARD_KEEPER), QStringList());
        QVERIFY(keeper.waitForReadyRead(10000));
        QCOMPARE(keeper.readLine().trimmed(), QByteArray("ready"));
        QProcess copy;
        copy.start(QStringLiteral("xclip"), {"-selection", "clipboard"});
        copy.write("user text");
        copy.closeWriteChannel();
        QVERIFY(copy.waitForFinished(10000));  // its child serves the text

        PasteTarget target;
        QVERIFY(activeAgain(target));
        const QJsonArray steps{QJsonObject{{"do", "press"}, {"slot", 0}}, QJsonObject{{"do", "wait"}, {"ms", waitMs}}};
        QVERIFY(TestFiles::write(m_dir->filePath("script.json"), QJsonDocument(steps).toJson()));
        QProcess host;
        host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        host.start(QStringLiteral(VANTA_HOST), {"--headless", "--config-dir", m_dir->path(), "--profile",
                                                m_dir->filePath("profile.json"), "--script", m_dir->filePath("script.json")});
        QVERIFY(shows(target, kText, 1));
        if (terminate)
            host.terminate();
        QVERIFY(host.waitForFinished(20000));
        QCOMPARE(host.exitStatus(), QProcess::NormalExit);
        QCOMPARE(host.exitCode(), terminate ? 1 : 0);
        if (terminate)
            QVERIFY(host.readAllStandardOutput().contains("stopped by SIGTERM"));
        QCOMPARE(outputOf(QStringLiteral("xclip"), {"-o", "-selection", "clipboard"}), QStringLiteral("user text"));
        keeper.kill();
        keeper.waitForFinished(2000);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(tst_DeckFocus)
#include "tst_deckfocus.moc"
