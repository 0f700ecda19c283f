#include "platform/windowcontrol/windowbackend.h"
#include "platform/windowcontrol/windowcontrol.h"
#include "scriptedwindowbackend.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <limits>

using TovWindowControl::WindowsInfo;
using Window = WindowBackend::Window;

Q_DECLARE_METATYPE(Window)
Q_DECLARE_METATYPE(WindowsInfo)

namespace {

// A control over a scripted backend and a clock the test sets by hand.
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
const QList<Window> kDesk = {window("Editor", "alpha", QRectF(10, 20, 300, 200)),
                            window("editor", "beta"),
                            window("Terminal", "gamma", QRectF(-40.8, 5, 640, 480)),
                            window("Editor", "delta"),
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
    void operations_data();
    void operations();
    void snapshot_data();
    void snapshot();
    void targetInformation_data();
    void targetInformation();
    void resizeLoopReread_data();
    void resizeLoopReread();
    void withoutWindowSystem();
};

// One raw window beside a normal one: what becomes of it, and whether actions still
// reach the right backend window after a skipped one.
void tst_WindowControl::listing_data()
{
    QTest::addColumn<Window>("raw");
    QTest::addColumn<bool>("listed");
    QTest::addColumn<WindowsInfo>("expected");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto row = [](const char* name, const Window& raw, const WindowsInfo& expected) {
        QTest::newRow(name) << raw << true << expected;
    };
    auto skipped = [](const char* name, const Window& raw) { QTest::newRow(name) << raw << false << WindowsInfo(); };

    row("plain", window("Mail", "mail", QRectF(10, 20, 300, 200)), {"Mail", "mail", QRect(10, 20, 300, 200)});
    row("fractional frame truncates", window("Mail", "mail", QRectF(10.7, 20.2, 300.9, 200.5)),
        {"Mail", "mail", QRect(10, 20, 300, 200)});
    row("negative origin truncates toward zero", window("Mail", "mail", QRectF(-3.5, -7.9, 80, 60)),
        {"Mail", "mail", QRect(-3, -7, 80, 60)});
    row("NaN coordinate reads as zero", window("Mail", "mail", QRectF(nan, 4, 80, 60)),
        {"Mail", "mail", QRect(0, 4, 80, 60)});
    row("spaces around title", window("  Mail  ", "mail"), {"Mail", "mail", QRect(0, 0, 100, 50)});
    row("tabs around process", window("Mail", "\tmail\t"), {"Mail", "mail", QRect(0, 0, 100, 50)});
    row("no-break spaces trimmed", window(u"\u00a0Mail\u2003"_qs, "mail"), {"Mail", "mail", QRect(0, 0, 100, 50)});
    row("line break stays", window("Mail\n", "mail"), {"Mail\n", "mail", QRect(0, 0, 100, 50)});
    row("inner spaces stay", window("My  Mail", "mail"), {"My  Mail", "mail", QRect(0, 0, 100, 50)});
    skipped("title of spaces only", window("   ", "mail"));
    skipped("empty title", window("", "mail"));
    skipped("process of tabs only", window("Mail", "\t\t"));
    skipped("no process name", window("Mail", ""));
}

void tst_WindowControl::listing()
{
    QFETCH(Window, raw);
    QFETCH(bool, listed);
    QFETCH(WindowsInfo, expected);

    Fixture f({raw, window("Anchor", "anchor")});
    const QList<WindowsInfo> infos = f.control->getAllWindowInfos();
    QCOMPARE(infos.size(), listed ? 2 : 1);
    if (listed)
        QCOMPARE(infos.first(), expected);

    // The anchor is backend window 1 whether or not window 0 was listed.
    f.control->closeTargetWindow("Anchor");
    QCOMPARE(f.backend->journal, QStringList{"close Anchor@anchor"});
}

void tst_WindowControl::lookup_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("index");

    QTest::newRow("exact") << "Terminal" << 2;
    QTest::newRow("duplicate title finds the first") << "Editor" << 0;
    QTest::newRow("other case is another window") << "editor" << 1;
    QTest::newRow("case differs") << "EDITOR" << -1;
    QTest::newRow("trailing space in argument") << "Terminal " << -1;
    QTest::newRow("listed title was trimmed") << "Notes" << 4;
    QTest::newRow("untrimmed form not found") << " Notes" << -1;
    QTest::newRow("prefix only") << "Term" << -1;
    QTest::newRow("empty") << "" << -1;
}

void tst_WindowControl::lookup()
{
    QFETCH(QString, title);
    QFETCH(int, index);

    Fixture f(kDesk);
    if (index < 0)
        expectNotFound(title);
    QCOMPARE(f.control->getIndexOfWindowInfos({}, title), index);
}

void tst_WindowControl::operations_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("journal");

    QTest::newRow("size") << "size" << "Terminal" << QStringList{"size 800x600 Terminal@gamma"};
    QTest::newRow("move") << "move" << "Terminal" << QStringList{"move -5,7 Terminal@gamma"};
    QTest::newRow("close duplicate: first") << "close" << "Editor" << QStringList{"close Editor@alpha"};
    QTest::newRow("maximise") << "maximize" << "editor" << QStringList{"maximize editor@beta"};
    QTest::newRow("minimise trimmed title") << "minimize" << "Notes" << QStringList{"minimize  Notes\t@epsilon"};
    QTest::newRow("unknown title: nothing") << "close" << "Calendar" << QStringList();
    QTest::newRow("wrong case: nothing") << "size" << "TERMINAL" << QStringList();
}

void tst_WindowControl::operations()
{
    QFETCH(QString, operation);
    QFETCH(QString, title);
    QFETCH(QStringList, journal);

    Fixture f(kDesk);
    if (journal.isEmpty())
        expectNotFound(title);
    WindowControl& c = *f.control;
    if (operation == "size")
        c.setTargetWindowSize(title, QSize(800, 600));
    else if (operation == "move")
        c.setTargetWindowLeftTopPosition(title, QPoint(-5, 7));
    else if (operation == "close")
        c.closeTargetWindow(title);
    else if (operation == "maximize")
        c.maximunTargetWindow(title);
    else
        c.minimunTargetWindow(title);
    QCOMPARE(f.backend->journal, journal);

    // The inspector's pattern, a lookup then an action, lists once within the interval.
    c.getIndexOfWindowInfos(c.windowInfos, "Terminal");
    c.closeTargetWindow("Terminal");
    QCOMPARE(f.backend->enumerations, 1);
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
    QTest::newRow("a minute later") << noon << noon.addSecs(60) << true;
    QTest::newRow("across midnight, 600 ms") << QTime(23, 59, 59, 700) << QTime(0, 0, 0, 300) << false;
    QTest::newRow("late evening, 300 ms") << QTime(23, 59, 59, 500) << QTime(23, 59, 59, 800) << false;
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
    QCOMPARE(f.control->lastRefreshTime, listedAgain ? askedAt : listedAt);
}

void tst_WindowControl::targetInformation_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("process");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QSize>("size");

    QTest::newRow("listed") << "Editor" << "alpha" << QPoint(10, 20) << QSize(300, 200);
    QTest::newRow("negative fractional origin") << "Terminal" << "gamma" << QPoint(-40, 5) << QSize(640, 480);
    QTest::newRow("unknown: emptied, size invalid") << "Calendar" << "" << QPoint(0, 0) << QSize();
}

void tst_WindowControl::targetInformation()
{
    QFETCH(QString, title);
    QFETCH(QString, process);
    QFETCH(QPoint, position);
    QFETCH(QSize, size);

    Fixture f(kDesk);
    f.control->getTargetWindowInformation("Notes");  // a previous target to be replaced
    if (process.isEmpty())
        expectNotFound(title);
    f.control->getTargetWindowInformation(title);

    QCOMPARE(f.control->targetWindowTitle, process.isEmpty() ? QString() : title);
    QCOMPARE(f.control->targetProcessName, process);
    QCOMPARE(f.control->targetWindowPosition, position);
    QCOMPARE(f.control->targetWindowSize, size);
    QCOMPARE(f.control->targetWindowSize.isValid(), !process.isEmpty());
}

// The inspector's resize loop: request, hook, read the frame again at once. Where the
// window system applies requests later, the hook waits and the re-read must show the
// new frame; elsewhere the hook does nothing and the snapshot stands.
void tst_WindowControl::resizeLoopReread_data()
{
    QTest::addColumn<bool>("delayed");
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<QRect>("reread");

    QTest::newRow("applies later: hook settles, re-read is new")
        << true << QStringList{"size 800x600 Terminal@gamma", "move 30,40 Terminal@gamma", "settle Terminal@gamma"}
        << QRect(30, 40, 800, 600);
    QTest::newRow("applies at once: hook idle, snapshot kept")
        << false << QStringList{"size 800x600 Terminal@gamma", "move 30,40 Terminal@gamma"}
        << QRect(-40, 5, 640, 480);
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
    qputenv("DISPLAY", ":9999");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no X display reachable"));
    WindowControl control(WindowBackend::create("carrier pigeon"));
    qunsetenv("DISPLAY");
    QCOMPARE(control.backendName(), QString("none"));
    QVERIFY(control.getAllWindowInfos().isEmpty());

    expectNotFound("Editor");
    control.maximunTargetWindow("Editor");
    expectNotFound("Editor");
    control.getTargetWindowInformation("Editor");
    QVERIFY(!control.targetWindowSize.isValid());
}

QTEST_GUILESS_MAIN(tst_WindowControl)
#include "tst_windowcontrol.moc"
