#include "platform/windowcontrol/windowbackend.h"
#include "platform/windowcontrol/windowcontrol.h"
#include "scriptedwindowbackend.h"

#include <QRegularExpression>
#include <QTest>

#include <limits>

using TovWindowControl::WindowsInfo;
using Window = WindowBackend::Window;

Q_DECLARE_METATYPE(Window)
Q_DECLARE_METATYPE(WindowsInfo)

namespace {

// A control over a scripted backend, with a clock the test sets by hand.
struct Fixture
{
    explicit Fixture(const QList<Window>& windows)
    {
        auto owned = std::make_unique<ScriptedWindowBackend>();
        backend = owned.get();
        backend->windows = windows;
        control = std::make_unique<WindowControl>(std::move(owned));
        control->setClock([this] { return now; });
    }
    ScriptedWindowBackend* backend = nullptr;
    std::unique_ptr<WindowControl> control;
    QTime now{12, 0};
};

Window window(const QString& title, const QString& process, const QRectF& frame = QRectF(0, 0, 100, 50))
{
    return {title, process, frame};
}

// Listed trimmed as "Notes"; the duplicate "Editor" comes second.
const QList<Window> kDesk = {window("Editor", "alpha", QRectF(10, 20, 300, 200)), window("editor", "beta"),
                            window("Terminal", "gamma", QRectF(-40.8, 5, 640, 480)), window("Editor", "delta"),
                            window(" Notes\t", "epsilon")};

void expectNotFound(const QString& title)
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("windows title: \"" + QRegularExpression::escape(title) + "\" not found!"));
}

} // namespace

class tst_WindowControl : public QObject
{
    Q_OBJECT
private slots:
    void listing_data();
    void listing();
    void lookup_data();
    void lookup();
    void snapshot_data();
    void snapshot();
    void resizeLoopReread_data();
    void resizeLoopReread();
    void withoutWindowSystem();
};

void tst_WindowControl::listing_data()
{
    QTest::addColumn<Window>("raw");
    QTest::addColumn<WindowsInfo>("expected");  // empty: not listed

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QRect plain(0, 0, 100, 50);
    QTest::newRow("fractional frame truncates")
        << window("Mail", "mail", QRectF(10.7, 20.2, 300.9, 200.5)) << WindowsInfo{"Mail", "mail", QRect(10, 20, 300, 200)};
    QTest::newRow("negative origin toward zero")
        << window("Mail", "mail", QRectF(-3.5, -7.9, 80, 60)) << WindowsInfo{"Mail", "mail", QRect(-3, -7, 80, 60)};
    QTest::newRow("NaN reads as zero")
        << window("Mail", "mail", QRectF(nan, 4, 80, 60)) << WindowsInfo{"Mail", "mail", QRect(0, 4, 80, 60)};
    QTest::newRow("spaces around title") << window("  Mail  ", "mail") << WindowsInfo{"Mail", "mail", plain};
    QTest::newRow("tabs around process") << window("Mail", "\tmail\t") << WindowsInfo{"Mail", "mail", plain};
    QTest::newRow("other space separators") << window(u"\u00a0Mail\u2003"_qs, "mail") << WindowsInfo{"Mail", "mail", plain};
    QTest::newRow("line break stays") << window("Mail\n", "mail") << WindowsInfo{"Mail\n", "mail", plain};
    QTest::newRow("title of spaces only") << window("   ", "mail") << WindowsInfo();
    QTest::newRow("process of tabs only") << window("Mail", "\t\t") << WindowsInfo();
}

// Beside a normal window, which actions must still reach when the other is skipped.
void tst_WindowControl::listing()
{
    QFETCH(Window, raw);
    QFETCH(WindowsInfo, expected);

    Fixture f({raw, window("Anchor", "anchor")});
    const QList<WindowsInfo> infos = f.control->getAllWindowInfos();
    QCOMPARE(infos.size(), expected.title.isEmpty() ? 1 : 2);
    if (!expected.title.isEmpty())
        QCOMPARE(infos.first(), expected);
    f.control->closeTargetWindow("Anchor");
    QCOMPARE(f.backend->journal, QStringList{"close Anchor@anchor"});
}

// One table for the index, the target fields, and the window each action reaches.
void tst_WindowControl::lookup_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("process");
    QTest::addColumn<QRect>("frame");

    QTest::newRow("exact") << "Terminal" << 2 << "gamma" << QRect(-40, 5, 640, 480);
    QTest::newRow("duplicate: the first") << "Editor" << 0 << "alpha" << QRect(10, 20, 300, 200);
    QTest::newRow("other case, other window") << "editor" << 1 << "beta" << QRect(0, 0, 100, 50);
    QTest::newRow("listed title was trimmed") << "Notes" << 4 << "epsilon" << QRect(0, 0, 100, 50);
    QTest::newRow("case differs") << "EDITOR" << -1 << "" << QRect();
    QTest::newRow("trailing space in argument") << "Terminal " << -1 << "" << QRect();
    QTest::newRow("leading space in argument") << " Notes" << -1 << "" << QRect();
}

void tst_WindowControl::lookup()
{
    QFETCH(QString, title);
    QFETCH(int, index);
    QFETCH(QString, process);
    QFETCH(QRect, frame);

    Fixture f(kDesk);
    WindowControl& c = *f.control;
    const int lookups = index < 0 ? 7 : 0;
    for (int i = 0; i < lookups; ++i)
        expectNotFound(title);
    QCOMPARE(c.getIndexOfWindowInfos({}, title), index);

    c.getTargetWindowInformation("Editor");  // a previous target, to be replaced
    c.getTargetWindowInformation(title);
    QCOMPARE(c.targetWindowTitle, index < 0 ? QString() : title);
    QCOMPARE(c.targetProcessName, process);
    QCOMPARE(c.targetWindowPosition, frame.topLeft());
    QCOMPARE(c.targetWindowSize, index < 0 ? QSize(-1, -1) : frame.size());

    c.setTargetWindowSize(title, QSize(800, 600));
    c.setTargetWindowLeftTopPosition(title, QPoint(-5, 7));
    c.closeTargetWindow(title);
    c.maximunTargetWindow(title);
    c.minimunTargetWindow(title);
    QCOMPARE(f.backend->journal.size(), index < 0 ? 0 : 5);
    for (const QString& entry : std::as_const(f.backend->journal))
        QVERIFY2(entry.endsWith('@' + process), qPrintable(entry));
    QCOMPARE(f.backend->enumerations, 1);  // all within one snapshot interval
}

void tst_WindowControl::snapshot_data()
{
    QTest::addColumn<QTime>("listedAt");
    QTest::addColumn<QTime>("askedAt");
    QTest::addColumn<bool>("listedAgain");

    const QTime noon(12, 0);
    QTest::newRow("same instant") << noon << noon << false;
    QTest::newRow("500 ms later") << noon << noon.addMSecs(500) << false;
    QTest::newRow("1000 ms later") << noon << noon.addMSecs(1000) << false;
    QTest::newRow("1001 ms later") << noon << noon.addMSecs(1001) << true;
    QTest::newRow("across midnight, 600 ms") << QTime(23, 59, 59, 700) << QTime(0, 0, 0, 300) << false;
    QTest::newRow("before midnight, 300 ms") << QTime(23, 59, 59, 500) << QTime(23, 59, 59, 800) << false;
    QTest::newRow("clock set back 5 s") << noon << noon.addSecs(-5) << true;
}

// A window opens between the two calls; only a new listing shows it.
void tst_WindowControl::snapshot()
{
    QFETCH(QTime, listedAt);
    QFETCH(QTime, askedAt);
    QFETCH(bool, listedAgain);

    Fixture f(kDesk);
    f.now = listedAt;
    const QList<WindowsInfo> first = f.control->getAllWindowInfos();
    f.backend->windows.append(window("Opened Meanwhile", "zeta"));
    f.now = askedAt;
    if (!listedAgain)
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("workaround for response time too long\\.$"));
    const QList<WindowsInfo> second = f.control->getAllWindowInfos();

    QCOMPARE(f.backend->enumerations, listedAgain ? 2 : 1);
    QCOMPARE(second.size(), first.size() + (listedAgain ? 1 : 0));
}

// The inspector's resize loop: request, hook, read the frame again at once. Where the
// window system applies requests later, the hook waits and the re-read shows the new
// frame; elsewhere the hook does nothing and the snapshot stands.
void tst_WindowControl::resizeLoopReread_data()
{
    QTest::addColumn<bool>("delayed");
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<QRect>("reread");

    const QStringList requests{"size 800x600 Terminal@gamma", "move 30,40 Terminal@gamma"};
    QTest::newRow("applies later") << true << requests + QStringList{"settle Terminal@gamma"}
                                   << QRect(30, 40, 800, 600);
    QTest::newRow("applies at once") << false << requests << QRect(-40, 5, 640, 480);
}

void tst_WindowControl::resizeLoopReread()
{
    QFETCH(bool, delayed);
    QFETCH(QStringList, journal);
    QFETCH(QRect, reread);

    Fixture f(kDesk);
    f.backend->delayed = delayed;
    WindowControl& c = *f.control;
    c.setTargetWindowSize("Terminal", QSize(800, 600));
    c.setTargetWindowLeftTopPosition("Terminal", QPoint(30, 40));
    c.resizeTargetWindow("Terminal");
    c.getAllWindowInfos();
    c.getTargetWindowInformation("Terminal");

    QCOMPARE(f.backend->journal, journal);
    QCOMPARE(QRect(c.targetWindowPosition, c.targetWindowSize), reread);
}

// No window system: nothing listed, every lookup fails cleanly, nothing crashes.
void tst_WindowControl::withoutWindowSystem()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("unknown window control backend \"carrier pigeon\""));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no X display reachable"));
    qputenv("DISPLAY", ":9999");
    WindowControl control(WindowBackend::create("carrier pigeon"));
    qunsetenv("DISPLAY");
    QCOMPARE(control.backendName(), QString("none"));
    QVERIFY(control.getAllWindowInfos().isEmpty());
    expectNotFound("Editor");
    control.maximunTargetWindow("Editor");
}

QTEST_GUILESS_MAIN(tst_WindowControl)
#include "tst_windowcontrol.moc"
