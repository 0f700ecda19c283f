// Listing 50 windows through our X11 backend against `wmctrl -lpG` as a process, and
// the cost of a lookup followed by an action, which the snapshot keeps to one listing.
#include "platform/windowcontrol/windowcontrol.h"
#include "platform/windowcontrol/x11/x11windowbackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kWindows = 50;
constexpr int kRuns = 50;
constexpr int kRound = 10;
constexpr int kSetupTimeoutMs = 60000;

// Forwards to the real backend and counts listings.
class CountingBackend final : public WindowBackend
{
public:
    explicit CountingBackend(std::unique_ptr<WindowBackend> inner) : m_inner(std::move(inner)) {}
    QString name() const override { return m_inner->name(); }
    QList<Window> enumerate() override
    {
        ++enumerations;
        return m_inner->enumerate();
    }
    bool setSize(int i, const QSize& s) override { return m_inner->setSize(i, s); }
    bool setPosition(int i, const QPoint& p) override { return m_inner->setPosition(i, p); }
    bool close(int i) override { return m_inner->close(i); }
    bool maximize(int i) override { return m_inner->maximize(i); }
    bool minimize(int i) override { return m_inner->minimize(i); }
    bool appliesLater() const override { return m_inner->appliesLater(); }
    bool settle(int i) override { return m_inner->settle(i); }

    int enumerations = 0;

private:
    std::unique_ptr<WindowBackend> m_inner;
};

double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// Milliseconds per run of each piece of work. The pieces take turns in rounds of ten
// runs, so that a machine busy with other work weighs on all of them alike; the first
// run of each turn warms up and is not counted.
std::vector<double> medianMs(int runs, const std::vector<std::function<void()>>& work)
{
    std::vector<std::vector<double>> ms(work.size());
    QElapsedTimer timer;
    for (int done = 0; done < runs; done += kRound) {
        for (size_t w = 0; w < work.size(); ++w) {
            for (int i = -1; i < kRound; ++i) {
                timer.start();
                work[w]();
                if (i >= 0)
                    ms[w].push_back(timer.nsecsElapsed() / 1e6);
            }
        }
    }
    std::vector<double> medians;
    for (auto& m : ms)
        medians.push_back(median(m));
    return medians;
}

QString benchTitle(int i)
{
    return QStringLiteral("Bench Window %1").arg(i, 2, 10, QLatin1Char('0'));
}

using Windows = std::vector<std::unique_ptr<QWidget>>;

Windows openWindows()
{
    Windows windows;
    for (int i = 0; i < kWindows; ++i) {
        windows.push_back(std::make_unique<QWidget>());
        windows.back()->setWindowTitle(benchTitle(i));
        windows.back()->setGeometry(20 + 15 * i, 20 + 10 * i, 300, 200);
        windows.back()->show();
    }
    return windows;
}

// Waits until the window manager has mapped every window and lists them all; returns
// how many of them are listed.
qsizetype waitUntilListed(WindowControl& control, const Windows& windows)
{
    QElapsedTimer waited;
    waited.start();
    auto allExposed = [&] {
        return std::all_of(windows.cbegin(), windows.cend(),
                           [](const auto& w) { return w->windowHandle() && w->windowHandle()->isExposed(); });
    };
    auto countListed = [&] {
        const auto infos = control.getAllWindowInfos();
        return std::count_if(infos.cbegin(), infos.cend(), [](const TovWindowControl::WindowsInfo& info) {
            return info.title.startsWith(QLatin1String("Bench Window"));
        });
    };
    while (!allExposed() && waited.elapsed() < kSetupTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    while (countListed() < kWindows && waited.elapsed() < kSetupTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return countListed();
}

void compareWithCommandLine(WindowControl& control)
{
    const qsizetype listed = control.getAllWindowInfos().size();
    auto listing = [&] { control.getAllWindowInfos(); };
    const QString wmctrl = QStandardPaths::findExecutable("wmctrl");
    if (wmctrl.isEmpty()) {
        const double ours = medianMs(kRuns, {listing}).at(0);
        std::printf("windowcontrol.x11 listing of %lld windows: median %.3f ms (%d runs)\n", qlonglong(listed),
                    ours, kRuns);
        std::printf("windowcontrol.wmctrl: skipped (not installed)\n");
        return;
    }
    qsizetype lines = 0;
    auto commandLine = [&] {
        QProcess process;
        process.start(wmctrl, {"-lpG"});
        process.waitForFinished();
        lines = process.readAllStandardOutput().count('\n');
    };
    const std::vector<double> m = medianMs(kRuns, {listing, commandLine});
    std::printf("windowcontrol.x11 listing of %lld windows: median %.3f ms (%d runs)\n", qlonglong(listed), m[0],
                kRuns);
    std::printf("windowcontrol.wmctrl -lpG (%lld lines): median %.3f ms (%d processes)\n", qlonglong(lines), m[1],
                kRuns);
    std::printf("windowcontrol.ratio wmctrl/ours (median): %.1fx\n", m[1] / m[0]);
}

// The inspector's pattern inside the snapshot interval: a lookup, then an action
// (moving the window to where it is). Each pair starts with a stale snapshot.
void lookupThenAction(WindowControl& control, const CountingBackend& backend)
{
    control.setClock({});
    const QString target = benchTitle(kWindows / 2);
    control.getTargetWindowInformation(target);
    const QPoint position = control.targetWindowPosition;
    const int before = backend.enumerations;
    auto pair = [&] {
        control.lastRefreshTime = QTime();
        control.getIndexOfWindowInfos(control.windowInfos, target);
        control.setTargetWindowLeftTopPosition(target, position);
    };
    const double ms = medianMs(kRuns, {pair}).at(0);
    const int pairs = kRuns + kRuns / kRound;  // warm-up runs included
    std::printf("windowcontrol.lookup then move: median %.3f ms, %.2f listings per pair (%d pairs)\n", ms,
                double(backend.enumerations - before) / pairs, kRuns);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("systemdll.platform.windowcontrol.debug=false"));
    auto x11 = X11WindowBackend::open();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !x11) {
        std::printf("windowcontrol: skipped (needs an X display)\n");
        return 0;
    }
    auto owned = std::make_unique<CountingBackend>(std::move(x11));
    const CountingBackend& backend = *owned;
    WindowControl control(std::move(owned));
    QTime now(9, 0);
    control.setClock([&] { return now = now.addSecs(2); });  // every call lists afresh

    const Windows windows = openWindows();
    const qsizetype listed = waitUntilListed(control, windows);
    if (listed != kWindows) {
        std::printf("windowcontrol: FAILED, %lld of %d windows listed\n", qlonglong(listed), kWindows);
        return 1;
    }
    compareWithCommandLine(control);
    lookupThenAction(control, backend);
    return 0;
}
