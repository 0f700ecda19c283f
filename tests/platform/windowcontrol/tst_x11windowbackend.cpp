#include "platform/windowcontrol/windowcontrol.h"
#include "platform/windowcontrol/x11/x11windowbackend.h"
#include "xcbprobe.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

using TovWindowControl::WindowsInfo;

namespace {

// A top-level window of this process that counts the close requests it gets.
class TargetWindow : public QWidget
{
public:
    explicit TargetWindow(const QString& title, Qt::WindowFlags flags = {})
        : QWidget(nullptr, flags)
    {
        setWindowTitle(title);
        resize(320, 240);
    }
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closeRequests;
        QWidget::closeEvent(event);
    }
};

} // namespace

// The X11 backend against a real window manager (the suite's openbox), on windows of
// this test's own. Everything is read back from the X server through a probe.
class tst_X11WindowBackend : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void listing_data();
    void listing();
    void moveAndResize_data();
    void moveAndResize();
    void windowState_data();
    void windowState();
    void close();

private:
    TargetWindow* open(const QString& title, Qt::WindowFlags flags = {});
    // Windows of this title in a fresh listing (the clock moves two seconds per call).
    int countListed(const QString& title);
    bool isListed(const QString& title) { return countListed(title) > 0; }
    bool hasState(xcb_window_t window, const char* state);
    // Requests the frame the way the Windows Control inspector does, up to five times.
    void resizeLikeInspector(const QString& title, const QRect& frame);

    XcbProbe m_x;
    std::unique_ptr<WindowControl> m_control;
    QTime m_now{9, 0};
    std::vector<std::unique_ptr<TargetWindow>> m_windows;
};

void tst_X11WindowBackend::initTestCase()
{
    QVERIFY2(m_x.isOpen(), "needs an X display");
    QTRY_VERIFY2(!m_x.numbers(m_x.root(), "_NET_SUPPORTING_WM_CHECK").isEmpty(), "needs a window manager");
}

void tst_X11WindowBackend::init()
{
    auto backend = X11WindowBackend::open();
    QVERIFY(backend);
    m_control = std::make_unique<WindowControl>(std::move(backend));
    m_control->setClock([this] { return m_now = m_now.addSecs(2); });
}

void tst_X11WindowBackend::cleanup()
{
    m_windows.clear();
    m_control.reset();
}

TargetWindow* tst_X11WindowBackend::open(const QString& title, Qt::WindowFlags flags)
{
    m_windows.push_back(std::make_unique<TargetWindow>(title, flags));
    TargetWindow* window = m_windows.back().get();
    window->show();
    return QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

int tst_X11WindowBackend::countListed(const QString& title)
{
    const QList<WindowsInfo> infos = m_control->getAllWindowInfos();
    return int(std::count_if(infos.cbegin(), infos.cend(), [&](const WindowsInfo& i) { return i.title == title; }));
}

bool tst_X11WindowBackend::hasState(xcb_window_t window, const char* state)
{
    return m_x.numbers(window, "_NET_WM_STATE").contains(m_x.atom(state));
}

void tst_X11WindowBackend::resizeLikeInspector(const QString& title, const QRect& frame)
{
    WindowControl& c = *m_control;
    for (int attempt = 0; attempt < 5; ++attempt) {
        c.setTargetWindowSize(title, frame.size());
        c.setTargetWindowLeftTopPosition(title, frame.topLeft());
        c.resizeTargetWindow(title);
        c.getAllWindowInfos();
        c.getTargetWindowInformation(title);
        if (QRect(c.targetWindowPosition, c.targetWindowSize) == frame)
            return;
    }
}

void tst_X11WindowBackend::listing_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("listedAs");

    QTest::newRow("spaces and tab around") << "  Spaced Window\t" << "Spaced Window";
    QTest::newRow("non-ASCII") << "Fenêtre ✓ 窓" << "Fenêtre ✓ 窓";
}

void tst_X11WindowBackend::listing()
{
    QFETCH(QString, title);
    QFETCH(QString, listedAs);

    TargetWindow* window = open(title);
    QVERIFY(window);
    QTRY_VERIFY(isListed(listedAs));
    m_control->getTargetWindowInformation(listedAs);
    QCOMPARE(m_control->targetProcessName, QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15));
    QCOMPARE(QRect(m_control->targetWindowPosition, m_control->targetWindowSize), m_x.outerFrame(window->winId()));
}

void tst_X11WindowBackend::moveAndResize_data()
{
    QTest::addColumn<bool>("frameless");
    QTest::addColumn<bool>("maximizedFirst");
    QTest::addColumn<QRect>("frame");  // null: where the listing says the window is

    QTest::newRow("decorated") << false << false << QRect(100, 120, 640, 400);
    QTest::newRow("frameless") << true << false << QRect(50, 60, 300, 200);
    QTest::newRow("maximised first") << false << true << QRect(200, 150, 500, 300);
    QTest::newRow("listed frame keeps it in place") << false << false << QRect();
    QTest::newRow("listed frame, frameless") << true << false << QRect();
}

void tst_X11WindowBackend::moveAndResize()
{
    QFETCH(bool, frameless);
    QFETCH(bool, maximizedFirst);
    QFETCH(QRect, frame);

    const QString title = QStringLiteral("Resize %1").arg(QTest::currentDataTag());
    TargetWindow* window = open(title, frameless ? Qt::FramelessWindowHint : Qt::WindowFlags());
    QVERIFY(window);
    QTRY_VERIFY(isListed(title));
    if (maximizedFirst) {
        m_control->maximunTargetWindow(title);
        QTRY_VERIFY(hasState(window->winId(), "_NET_WM_STATE_MAXIMIZED_VERT"));
    }
    m_control->getTargetWindowInformation(title);
    const QRect before(m_control->targetWindowPosition, m_control->targetWindowSize);
    if (frame.isNull())
        frame = before;

    resizeLikeInspector(title, frame);
    QCOMPARE(QRect(m_control->targetWindowPosition, m_control->targetWindowSize), frame);
    QCOMPARE(m_x.outerFrame(window->winId()), frame);
    QVERIFY(!hasState(window->winId(), "_NET_WM_STATE_MAXIMIZED_VERT"));
}

void tst_X11WindowBackend::windowState_data()
{
    QTest::addColumn<bool>("minimise");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVector<quint32>>("expected");

    const quint32 iconicState = 3;
    QTest::newRow("minimise: WM_STATE iconic") << true << QByteArray("WM_STATE") << QVector<quint32>{iconicState};
    QTest::newRow("maximise: both directions")
        << false << QByteArray("_NET_WM_STATE")
        << QVector<quint32>{m_x.atom("_NET_WM_STATE_MAXIMIZED_VERT"), m_x.atom("_NET_WM_STATE_MAXIMIZED_HORZ")};
}

void tst_X11WindowBackend::windowState()
{
    QFETCH(bool, minimise);
    QFETCH(QByteArray, property);
    QFETCH(QVector<quint32>, expected);

    const QString title = QTest::currentDataTag();
    TargetWindow* window = open(title);
    QVERIFY(window);
    QTRY_VERIFY(isListed(title));
    if (minimise)
        m_control->minimunTargetWindow(title);
    else
        m_control->maximunTargetWindow(title);
    auto holdsAll = [&] {
        const QVector<quint32> values = m_x.numbers(window->winId(), property.constData());
        return std::all_of(expected.cbegin(), expected.cend(), [&](quint32 v) { return values.contains(v); });
    };
    QTRY_VERIFY(holdsAll());
}

void tst_X11WindowBackend::close()
{
    TargetWindow* window = open("Close Me");
    TargetWindow* twin = open("Close Me");  // listed second: must stay
    QVERIFY(window && twin);
    QTRY_COMPARE(countListed("Close Me"), 2);
    m_control->closeTargetWindow("Close Me");
    QTRY_COMPARE(window->closeRequests, 1);
    QTRY_VERIFY(!window->isVisible());
    QTRY_COMPARE(countListed("Close Me"), 1);
    QCOMPARE(twin->closeRequests, 0);
}

QTEST_MAIN(tst_X11WindowBackend)
#include "tst_x11windowbackend.moc"
