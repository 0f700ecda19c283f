// The shared window-control logic over a scripted window system and a hand-set clock.
#include "platform/windowcontrol/windowcontrol.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTest>

#include <limits>

using TovWindowControl::WindowsInfo;
using Window = WindowBackend::Window;

namespace {

// Lists `windows` and journals each action with the index it was given.
class ScriptedBackend final : public WindowBackend
{
public:
    QString name() const override { return QStringLiteral("scripted"); }
    QList<Window> enumerate() override
    {
        ++enumerations;
        return windows;
    }
    bool setSize(int i, const QSize& s) override { return note(u"size %1x%2"_qs.arg(s.width()).arg(s.height()), i); }
    bool setPosition(int i, const QPoint& p) override { return note(u"move %1,%2"_qs.arg(p.x()).arg(p.y()), i); }
    bool close(int i) override { return note("close", i); }
    bool maximize(int i) override { return note("maximize", i); }
    bool minimize(int i) override { return note("minimize", i); }

    QList<Window> windows;
    QStringList journal;
    int enumerations = 0;

private:
    bool note(const QString& operation, int i)
    {
        journal << operation + ' ' + QString::number(i);
        return true;
    }
};

struct Fixture
{
    Fixture()
        : backend(new ScriptedBackend)
        , control(std::unique_ptr<WindowBackend>(backend))
    {
        // As a window system might report them.
        backend->windows = {{"Editor", "alpha", QRectF(10.7, 20.2, 300.9, 200.5)},
                            {"   ", "blank title", QRectF()},
                            {"editor", "\tbeta\t", QRectF(0, 0, 100, 50)},
                            {"Terminal", "gamma", QRectF(-40.8, -5.5, 640, 480)},
                            {"Mail", "\t\t", QRectF()},
                            {"Editor", "delta", QRectF(0, 0, 100, 50)},
                            {u"\u00a0 Notes\t"_qs, "epsilon", QRectF(0, 0, 100, 50)},
                            {"Memo\n", "zeta", QRectF(std::numeric_limits<double>::quiet_NaN(), 4, 80, 60)}};
        control.setClock([this] { return now; });
    }
    ScriptedBackend* backend;  // owned by control
    WindowControl control;
    QTime now{12, 0};
};

void expectNotFound(const QString& title)
{
    QTest::ignoreMessage(QtWarningMsg, qPrintable("virtual int MacOS2WindowControl::getIndexOfWindowInfos("
                                                  "QList<TovWindowControl::WindowsInfo>, QString) windows title: \""
                                                  + title + "\" not found!"));
}

} // namespace

class tst_WindowControl : public QObject
{
    Q_OBJECT
private slots:
    void listing();
    void lookup_data();
    void lookup();
    void snapshot_data();
    void snapshot();
    void withoutWindowSystem();
};

// Blanks trimmed at both ends, a line break kept; records with a blank title or process
// name skipped; frames truncated toward zero, NaN read as 0.
void tst_WindowControl::listing()
{
    Fixture f;
    const QRect plain(0, 0, 100, 50);
    const QList<WindowsInfo> expected = {{"Editor", "alpha", QRect(10, 20, 300, 200)}, {"editor", "beta", plain},
                                         {"Terminal", "gamma", QRect(-40, -5, 640, 480)}, {"Editor", "delta", plain},
                                         {"Notes", "epsilon", plain}, {"Memo\n", "zeta", QRect(0, 4, 80, 60)}};
    QCOMPARE(f.control.getAllWindowInfos(), expected);
}

// One table for the index, the target fields, and the window each action reaches.
void tst_WindowControl::lookup_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("backendIndex");  // skipped records shift the two apart
    QTest::addColumn<QString>("process");
    QTest::addColumn<QRect>("frame");

    QTest::newRow("exact") << "Terminal" << 2 << 3 << "gamma" << QRect(-40, -5, 640, 480);
    QTest::newRow("duplicate: the first") << "Editor" << 0 << 0 << "alpha" << QRect(10, 20, 300, 200);
    QTest::newRow("other case, other window") << "editor" << 1 << 2 << "beta" << QRect(0, 0, 100, 50);
    QTest::newRow("listed title was trimmed") << "Notes" << 4 << 6 << "epsilon" << QRect(0, 0, 100, 50);
    QTest::newRow("case differs") << "EDITOR" << -1 << -1 << "" << QRect();
    QTest::newRow("trailing space in argument") << "Terminal " << -1 << -1 << "" << QRect();
    QTest::newRow("leading space in argument") << " Notes" << -1 << -1 << "" << QRect();
}

void tst_WindowControl::lookup()
{
    QFETCH(QString, title);
    QFETCH(int, index);
    QFETCH(int, backendIndex);
    QFETCH(QString, process);
    QFETCH(QRect, frame);

    Fixture f;
    WindowControl& c = f.control;
    for (int i = 0; i < (index < 0 ? 7 : 0); ++i)
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
    QStringList journal{"size 800x600", "move -5,7", "close", "maximize", "minimize"};
    for (QString& entry : journal)
        entry += ' ' + QString::number(backendIndex);
    QCOMPARE(f.backend->journal, index < 0 ? QStringList() : journal);
    QCOMPARE(f.backend->enumerations, 1);  // all within one snapshot interval
}

void tst_WindowControl::snapshot_data()
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

// A window opens between the two calls; only a new listing shows it.
void tst_WindowControl::snapshot()
{
    QFETCH(QTime, listedAt);
    QFETCH(QTime, askedAt);
    QFETCH(bool, listedAgain);

    Fixture f;
    f.now = listedAt;
    const int listed = f.control.getAllWindowInfos().size();
    f.backend->windows.append({"Opened Meanwhile", "eta", QRectF()});
    f.now = askedAt;
    QLoggingCategory::setFilterRules(QStringLiteral("systemdll.platform.windowcontrol.debug=true"));  // the trace
    if (!listedAgain)
        QTest::ignoreMessage(QtDebugMsg, "virtual QList<TovWindowControl::WindowsInfo> "
                                         "MacOS2WindowControl::getAllWindowInfos() workaround for response time too long.");
    QCOMPARE(f.control.getAllWindowInfos().size(), listed + (listedAgain ? 1 : 0));
    QCOMPARE(f.backend->enumerations, listedAgain ? 2 : 1);
}

// No display: a backend that lists nothing, with a warning.
void tst_WindowControl::withoutWindowSystem()
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("unknown window control backend \"carrier pigeon\""));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no X display reachable"));
    qputenv("DISPLAY", ":9999");
    WindowControl control(WindowBackend::create("carrier pigeon"));
    qunsetenv("DISPLAY");
    QCOMPARE(control.backendName(), QString("none"));
    QVERIFY(control.getAllWindowInfos().isEmpty());
}

QTEST_GUILESS_MAIN(tst_WindowControl)
#include "tst_windowcontrol.moc"
