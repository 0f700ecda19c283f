#include "platform/windowcontrol/windowcontrol.h"
#include "platform/windowcontrol/x11/x11windowbackend.h"
#include "xcbprobe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <unistd.h>

using TovWindowControl::WindowsInfo;
using Setup = std::function<void(XcbProbe&, xcb_window_t)>;
using Operation = std::function<void(WindowControl&)>;

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Operation)

namespace {

const QRect kClient(100, 50, 200, 100);

// The name /proc gives this process: the file name, cut to 15 bytes by the kernel.
QString ownProcessName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15);
}

void title(XcbProbe& x, xcb_window_t w, const QByteArray& text)
{
    x.setText(w, "_NET_WM_NAME", "UTF8_STRING", text);
}

void ownPid(XcbProbe& x, xcb_window_t w)
{
    x.setNumbers(w, "_NET_WM_PID", "CARDINAL", {quint32(getpid())});
}

void windowClass(XcbProbe& x, xcb_window_t w, const QByteArray& name)
{
    x.setText(w, "WM_CLASS", "STRING", "instance" + QByteArray(1, '\0') + name + QByteArray(1, '\0'));
}

} // namespace

// The X11 backend on a bare X server of the test's own, where no window manager runs.
// Where a test needs a managed window it publishes the client list itself.
class tst_X11BareScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void withoutWindowManager();
    void listing_data();
    void listing();
    void vanishedWindow_data();
    void vanishedWindow();

private:
    std::unique_ptr<WindowControl> control();
    void publish(const QVector<quint32>& windows);

    QProcess m_server;
    QByteArray m_display;
    std::unique_ptr<XcbProbe> m_x;
    QTime m_now{9, 0};
};

// Xvfb picks a free display itself and reports its number.
void tst_X11BareScreen::initTestCase()
{
    m_server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    if (!m_server.waitForStarted(10000))
        QSKIP("Xvfb is not installed");
    while (!m_server.canReadLine() && m_server.waitForReadyRead(10000)) {
    }
    const QByteArray number = m_server.readLine().trimmed();
    QVERIFY2(!number.isEmpty(), "Xvfb reported no display number");
    m_display = ":" + number;
    m_x = std::make_unique<XcbProbe>(m_display);
    QVERIFY(m_x->isOpen());
}

void tst_X11BareScreen::cleanupTestCase()
{
    m_x.reset();
    m_server.terminate();
    m_server.waitForFinished(5000);
}

// Each listing is a fresh one: the clock moves on by two seconds per call.
std::unique_ptr<WindowControl> tst_X11BareScreen::control()
{
    auto backend = X11WindowBackend::open(m_display);
    if (!backend)
        return nullptr;
    auto c = std::make_unique<WindowControl>(std::move(backend));
    c->setClock([this] { return m_now = m_now.addSecs(2); });
    return c;
}

void tst_X11BareScreen::publish(const QVector<quint32>& windows)
{
    m_x->setNumbers(m_x->root(), "_NET_CLIENT_LIST", "WINDOW", windows);
}

void tst_X11BareScreen::withoutWindowManager()
{
    const xcb_window_t w = m_x->createWindow(kClient);
    title(*m_x, w, "Lonely Window");
    ownPid(*m_x, w);

    auto c = control();
    QVERIFY(c);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no window manager lists its windows"));
    QVERIFY(c->getAllWindowInfos().isEmpty());
    QTest::failOnWarning(QRegularExpression("no window manager lists its windows"));  // said once only
    QVERIFY(c->getAllWindowInfos().isEmpty());

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\"Lonely Window\" not found!"));
    c->setTargetWindowSize("Lonely Window", QSize(300, 300));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\"Lonely Window\" not found!"));
    c->getTargetWindowInformation("Lonely Window");
    QVERIFY(!c->targetWindowSize.isValid());
    QCOMPARE(m_x->outerFrame(w), kClient);
    m_x->destroy(w);
}

void tst_X11BareScreen::listing_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<WindowsInfo>("expected");  // empty: not listed

    const QString self = ownProcessName();
    QTest::newRow("UTF-8 title and PID")
        << Setup([](XcbProbe& x, xcb_window_t w) { title(x, w, "Fenêtre ✓"); ownPid(x, w); })
        << WindowsInfo{"Fenêtre ✓", self, kClient};
    QTest::newRow("Latin-1 WM_NAME only")
        << Setup([](XcbProbe& x, xcb_window_t w) { x.setText(w, "WM_NAME", "STRING", "Caf\xe9"); ownPid(x, w); })
        << WindowsInfo{"Café", self, kClient};
    QTest::newRow("no PID: class name")
        << Setup([](XcbProbe& x, xcb_window_t w) { title(x, w, "Classy"); windowClass(x, w, "Legacy"); })
        << WindowsInfo{"Classy", "Legacy", kClient};
    QTest::newRow("PID of another machine: class name") << Setup([](XcbProbe& x, xcb_window_t w) {
        title(x, w, "Remote");
        ownPid(x, w);
        x.setText(w, "WM_CLIENT_MACHINE", "STRING", "elsewhere.invalid");
        windowClass(x, w, "RemoteApp");
    }) << WindowsInfo{"Remote", "RemoteApp", kClient};
    QTest::newRow("frame extents widen the frame") << Setup([](XcbProbe& x, xcb_window_t w) {
        title(x, w, "Framed");
        ownPid(x, w);
        x.setNumbers(w, "_NET_FRAME_EXTENTS", "CARDINAL", {2, 3, 20, 4});  // left, right, top, bottom
    }) << WindowsInfo{"Framed", self, QRect(98, 30, 205, 124)};
    QTest::newRow("no PID, no class") << Setup([](XcbProbe& x, xcb_window_t w) { title(x, w, "Anonymous"); })
                                      << WindowsInfo();
    QTest::newRow("no title") << Setup([](XcbProbe& x, xcb_window_t w) { ownPid(x, w); }) << WindowsInfo();
    QTest::newRow("dock") << Setup([](XcbProbe& x, xcb_window_t w) {
        title(x, w, "Panel");
        ownPid(x, w);
        x.setNumbers(w, "_NET_WM_WINDOW_TYPE", "ATOM", {x.atom("_NET_WM_WINDOW_TYPE_DOCK")});
    }) << WindowsInfo();
}

// The row's window is listed between two plain ones, so order and skipping show too.
void tst_X11BareScreen::listing()
{
    QFETCH(Setup, setup);
    QFETCH(WindowsInfo, expected);

    const xcb_window_t before = m_x->createWindow(QRect(0, 0, 50, 50));
    const xcb_window_t w = m_x->createWindow(kClient);
    const xcb_window_t after = m_x->createWindow(QRect(0, 0, 60, 60));
    for (xcb_window_t plain : {before, after}) {
        title(*m_x, plain, plain == before ? "Before" : "After");
        ownPid(*m_x, plain);
    }
    setup(*m_x, w);
    publish({before, w, after});

    auto c = control();
    QVERIFY(c);
    QList<WindowsInfo> infos = c->getAllWindowInfos();
    QCOMPARE(infos.size(), expected.title.isEmpty() ? 2 : 3);
    QCOMPARE(infos.first().title, QString("Before"));
    QCOMPARE(infos.last().title, QString("After"));
    if (!expected.title.isEmpty())
        QCOMPARE(infos.at(1), expected);

    publish({});
    for (xcb_window_t window : {before, w, after})
        m_x->destroy(window);
}

void tst_X11BareScreen::vanishedWindow_data()
{
    QTest::addColumn<Operation>("operation");

    using Op = Operation;
    QTest::newRow("resize") << Op([](WindowControl& c) { c.setTargetWindowSize("Ghost", QSize(10, 10)); });
    QTest::newRow("move") << Op([](WindowControl& c) { c.setTargetWindowLeftTopPosition("Ghost", {}); });
    QTest::newRow("close") << Op([](WindowControl& c) { c.closeTargetWindow("Ghost"); });
    QTest::newRow("maximise") << Op([](WindowControl& c) { c.maximunTargetWindow("Ghost"); });
    QTest::newRow("minimise") << Op([](WindowControl& c) { c.minimunTargetWindow("Ghost"); });
}

// Listed, then destroyed before the action: a log line, nothing else.
void tst_X11BareScreen::vanishedWindow()
{
    QFETCH(Operation, operation);

    const xcb_window_t w = m_x->createWindow(kClient);
    title(*m_x, w, "Ghost");
    ownPid(*m_x, w);
    publish({w});
    auto c = control();
    QVERIFY(c);
    QCOMPARE(c->getAllWindowInfos().size(), 1);

    m_x->destroy(w);
    c->setClock([] { return QTime(9, 0); });  // keep the listing that still has the window
    c->lastRefreshTime = QTime(9, 0);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QTest::currentDataTag() + QString(" ignored: window \"Ghost\" has gone")));
    operation(*c);
    c->resizeTargetWindow("Ghost");  // nothing to wait for
    publish({});
}

QTEST_GUILESS_MAIN(tst_X11BareScreen)
#include "tst_x11barescreen.moc"
