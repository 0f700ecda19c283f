// Listing 50 windows through our X11 backend against `wmctrl -lpG` as a process; the
// cost of a lookup followed by an action, which the snapshot keeps to one listing; and
// a Windows Control key, from the app-triggered event until the window shows its new
// frame, against `wmctrl -r TITLE -e 0,X,Y,W,H` doing the same. On the headless sway of
// scripts/bench (SYSTEMDLL_TEST_SWAYSOCK), the same key against `swaymsg` processes, on
// a window of the tests' window program. On X11 the target is a second process of this
// program (--x11-window TITLE).
#include "actions/windowscontrol/pluginwindowscontrol.h"
#include "platform/windowcontrol/sway/swayipc.h"
#include "platform/windowcontrol/sway/swaywindowbackend.h"
#include "platform/windowcontrol/windowcontrol.h"
#include "platform/windowcontrol/x11/x11windowbackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QThread>
#include <QWindow>

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kWindows = 50;
constexpr int kRuns = 50;
constexpr int kRound = 10;
constexpr int kSetupTimeoutMs = 60000;
constexpr int kTriggerRuns = 100;
constexpr int kArrivalTimeoutMs = 2000;
const char kTargetTitle[] = "Resize Target";
const char kKeyIcon[] = ":/SystemDll/images/mainpage_btn_window_control.svg";

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
    bool settle(int i, QRectF* frame) override { return m_inner->settle(i, frame); }

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
// before, if given, runs ahead of each run, untimed.
std::vector<std::vector<double>> samplesMs(int runs, const std::vector<std::function<void()>>& work,
                                           const std::function<void()>& before = {})
{
    std::vector<std::vector<double>> ms(work.size());
    QElapsedTimer timer;
    for (int done = 0; done < runs; done += kRound) {
        for (size_t w = 0; w < work.size(); ++w) {
            for (int i = -1; i < kRound; ++i) {
                if (before)
                    before();
                timer.start();
                work[w]();
                if (i >= 0)
                    ms[w].push_back(timer.nsecsElapsed() / 1e6);
            }
        }
    }
    return ms;
}

std::vector<double> medianMs(int runs, const std::vector<std::function<void()>>& work)
{
    std::vector<double> medians;
    for (const auto& m : samplesMs(runs, work))
        medians.push_back(median(m));
    return medians;
}

double percentile(std::vector<double> ms, double p)
{
    std::sort(ms.begin(), ms.end());
    const size_t rank = size_t(std::ceil(p * double(ms.size())));
    return ms[std::clamp<size_t>(rank, 1, ms.size()) - 1];
}

// What each side adds to the compositor's own time (medians less the median of the same
// request sent alone): the part a trigger or a tool can make faster.
void printBeyond(const char* where, const char* tool, double ours, double theirs, double alone)
{
    std::printf("windowcontrol.%s beyond the compositor's own %.3f ms: trigger %.3f ms, %s %.3f ms, ratio %.0fx\n",
                where, alone, ours - alone, tool, theirs - alone, (theirs - alone) / std::max(ours - alone, 0.001));
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
// (moving the window to where it is, as a key does: the move sent when it settles).
// Each pair starts with a stale snapshot.
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
        control.resizeTargetWindow(target);
    };
    const double ms = medianMs(kRuns, {pair}).at(0);
    const int pairs = kRuns + kRuns / kRound;  // warm-up runs included
    std::printf("windowcontrol.lookup then move: median %.3f ms, %.2f listings per pair (%d pairs)\n", ms,
                double(backend.enumerations - before) / pairs, kRuns);
}

// The bench's own view of one window's client geometry, on a connection of its own.
class GeometryProbe
{
public:
    GeometryProbe() : m_c(xcb_connect(nullptr, nullptr)) {}
    ~GeometryProbe() { xcb_disconnect(m_c); }

    QRect client(xcb_window_t window) const
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        auto* g = xcb_get_geometry_reply(m_c, xcb_get_geometry(m_c, window), nullptr);
        auto* t = xcb_translate_coordinates_reply(m_c, xcb_translate_coordinates(m_c, window, root, 0, 0), nullptr);
        const QRect rect = g && t ? QRect(t->dst_x, t->dst_y, g->width, g->height) : QRect();
        std::free(g);
        std::free(t);
        return rect;
    }
    // The request a key makes, with nothing of ours around it: what the window manager
    // itself takes (_NET_MOVERESIZE_WINDOW, north-west gravity, the outer corner and the
    // client's size).
    void askFor(xcb_window_t window, const QPoint& corner, const QSize& client) const
    {
        static const xcb_atom_t moveResize = [this] {
            const char name[] = "_NET_MOVERESIZE_WINDOW";
            auto* reply = xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, sizeof name - 1, name), nullptr);
            const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            std::free(reply);
            return atom;
        }();
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = moveResize;
        // Gravity, then which of x, y, width, height are given, then "from a pager" (2).
        message.data.data32[0] = XCB_GRAVITY_NORTH_WEST | (0xFu << 8) | (2u << 12);
        message.data.data32[1] = uint32_t(corner.x());
        message.data.data32[2] = uint32_t(corner.y());
        message.data.data32[3] = uint32_t(client.width());
        message.data.data32[4] = uint32_t(client.height());
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        xcb_send_event(m_c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_c);
    }
    // Follows a window through events on this connection: its own configure events (real
    // for a size, sent by the window manager for a move) and its frame's, seen on the root.
    void watch(xcb_window_t window) const
    {
        const uint32_t own = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        const uint32_t children = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, window, XCB_CW_EVENT_MASK, &own);
        xcb_change_window_attributes(m_c, xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root,
                                     XCB_CW_EVENT_MASK, &children);
        xcb_flush(m_c);
    }
    // Looks again whenever a configure event arrives, until the window shows this client
    // geometry; false on time-out. Between looks the bench sleeps, leaving the processor
    // to the window manager and the server.
    bool waitFor(xcb_window_t window, const QRect& expected) const
    {
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_c))
                std::free(event);
            if (client(window) == expected)
                return true;
            if (xcb_generic_event_t* event = xcb_poll_for_queued_event(m_c)) {
                std::free(event);
                continue;
            }
            const qint64 left = kArrivalTimeoutMs - waited.elapsed();
            if (left <= 0)
                return false;
            pollfd fd{xcb_get_file_descriptor(m_c), POLLIN, 0};
            ::poll(&fd, 1, int(left));
        }
    }

private:
    xcb_connection_t* m_c;
};

struct TriggerTarget
{
    xcb_window_t window = XCB_WINDOW_NONE;           // in a process of its own
    std::unique_ptr<PluginWindowsControl> keys[2];  // one key per frame, taking turns
    QRect frames[2];                                 // outer frames the keys ask for
    QRect clients[2];                                // the client geometry each gives
};

std::unique_ptr<PluginWindowsControl> keyFor(const QRect& frame, const QString& title = kTargetTitle)
{
    auto key = std::make_unique<PluginWindowsControl>();
    key->init(QStringLiteral("bench"),
              QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"Bench"}},
                                                  {"iconlist", QJsonArray{kKeyIcon}},
                                                  {"windowTitleName", title},
                                                  {"windowAction", "0"}, {"leftTopPositionX", frame.x()},
                                                  {"leftTopPositionY", frame.y()}, {"windowSizeW", frame.width()},
                                                  {"windowSizeH", frame.height()}}}});
    return key;
}

// One trigger of a key, until the window shows its new geometry.
bool trigger(const TriggerTarget& t, int which, const GeometryProbe& probe)
{
    static const QJsonObject appTriggered{{"event", QJsonObject{{"type", "tov.ky.plugin.event.app.triggered"}}}};
    QJsonObject result;
    t.keys[which]->eventReceived(appTriggered, result);
    return probe.waitFor(t.window, t.clients[which]);
}

// The same move by the command line. wmctrl asks for a client geometry; with the static
// gravity that Qt gives its windows, the corner is the client's too.
bool moveByCommandLine(const QString& wmctrl, const TriggerTarget& t, int which, const GeometryProbe& probe)
{
    const QRect& client = t.clients[which];
    QProcess::execute(wmctrl, {"-r", kTargetTitle, "-e", QStringLiteral("0,%1,%2,%3,%4")
                                                              .arg(client.x()).arg(client.y())
                                                              .arg(client.width()).arg(client.height())});
    return probe.waitFor(t.window, client);
}

// The window a key moves belongs to another program, which goes on handling its events
// while the key runs: a second process of this program (--x11-window TITLE), which
// prints its window's id.
xcb_window_t startX11Window(QProcess& process, const char* self)
{
    process.start(QString::fromLocal8Bit(self), {"--x11-window", kTargetTitle});
    QElapsedTimer waited;
    waited.start();
    while (!process.canReadLine() && waited.elapsed() < kSetupTimeoutMs && process.waitForReadyRead(1000)) {
    }
    const QList<QByteArray> words = process.readLine().trimmed().split(' ');
    return words.size() == 2 && words.at(0) == "window" ? xcb_window_t(words.at(1).toULong()) : xcb_window_t(XCB_WINDOW_NONE);
}

void compareTriggerWithCommandLine(WindowControl& control, const char* self)
{
    TriggerTarget t;
    QProcess program;
    t.window = startX11Window(program, self);
    if (t.window == XCB_WINDOW_NONE) {
        std::printf("windowcontrol.trigger: FAILED, the target window did not start\n");
        return;
    }
    control.setClock({});
    const GeometryProbe probe;
    probe.watch(t.window);
    QElapsedTimer waited;
    waited.start();
    const auto listed = [&] {
        const auto infos = control.getAllWindowInfos();
        return std::any_of(infos.cbegin(), infos.cend(), [](const auto& info) { return info.title == kTargetTitle; });
    };
    while (!listed() && waited.elapsed() < kSetupTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        control.lastRefreshTime = QTime();
    }
    control.getTargetWindowInformation(kTargetTitle);
    const QRect client = probe.client(t.window);
    const QRect outer(control.targetWindowPosition, control.targetWindowSize);
    const QMargins extents(client.x() - outer.x(), client.y() - outer.y(), outer.right() - client.right(),
                           outer.bottom() - client.bottom());
    t.frames[0] = QRect(100, 80, 640, 400);
    t.frames[1] = QRect(160, 120, 520, 360);
    for (int i = 0; i < 2; ++i) {
        t.clients[i] = t.frames[i].marginsRemoved(extents);
        t.keys[i] = keyFor(t.frames[i]);
    }
    int turn = 0, misses = 0;
    auto ours = [&] { misses += !trigger(t, turn ^= 1, probe); };
    const QString wmctrl = QStandardPaths::findExecutable("wmctrl");
    auto alone = [&] {
        turn ^= 1;
        probe.askFor(t.window, t.frames[turn].topLeft(), t.clients[turn].size());
        misses += !probe.waitFor(t.window, t.clients[turn]);
    };
    auto theirs = [&] { misses += !moveByCommandLine(wmctrl, t, turn ^= 1, probe); };
    // Between runs the event loop runs, as a host's does between two key presses.
    const auto idle = [] { QCoreApplication::processEvents(); };
    const auto ms = samplesMs(kTriggerRuns,
                              wmctrl.isEmpty() ? std::vector<std::function<void()>>{ours, alone}
                                               : std::vector<std::function<void()>>{ours, alone, theirs},
                              idle);
    std::printf("windowcontrol.trigger app triggered to new geometry: median %.3f ms, p99 %.3f ms (%d runs)\n",
                median(ms[0]), percentile(ms[0], 0.99), kTriggerRuns);
    std::printf("windowcontrol.x11 the window manager alone, one request to new geometry: median %.3f ms, "
                "p99 %.3f ms (%d requests)\n",
                median(ms[1]), percentile(ms[1], 0.99), kTriggerRuns);
    if (wmctrl.isEmpty()) {
        std::printf("windowcontrol.wmctrl -e: skipped (not installed)\n");
    } else {
        std::printf("windowcontrol.wmctrl -r TITLE -e 0,X,Y,W,H to new geometry: median %.3f ms, p99 %.3f ms "
                    "(%d processes)\n",
                    median(ms[2]), percentile(ms[2], 0.99), kTriggerRuns);
        std::printf("windowcontrol.ratio wmctrl/trigger (median): %.1fx; wmctrl/window manager alone: %.1fx\n",
                    median(ms[2]) / median(ms[0]), median(ms[2]) / median(ms[1]));
        printBeyond("x11", "wmctrl", median(ms[0]), median(ms[2]), median(ms[1]));
    }
    std::printf("windowcontrol.trigger: %d samples lost (the frame not reached within %d ms)\n", misses,
                kArrivalTimeoutMs);
    program.kill();
    program.waitForFinished(5000);
}

const char kSwayTitle[] = "Sway Target";

// Runs a program to its end, its output dropped (swaymsg prints every reply).
void quiet(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished();
}

// The bench's own view of sway's layout, on a connection of its own.
class SwayProbe
{
public:
    explicit SwayProbe(const QString& socket) : m_ipc(SwayIpc::connect(socket)) {}
    bool isOpen() const { return bool(m_ipc); }
    void run(const QString& command) { m_ipc->request(SwayIpc::RunCommand, command.toUtf8()); }

    std::optional<QRect> frame(const QString& title)
    {
        const std::optional<QJsonDocument> tree = m_ipc->request(SwayIpc::GetTree);
        return tree ? find(tree->object(), title) : std::nullopt;
    }
    // The size the layout gives the window's content.
    QSize content(const QString& title)
    {
        const std::optional<QJsonDocument> tree = m_ipc->request(SwayIpc::GetTree);
        const QJsonObject node = tree ? findNode(tree->object(), title) : QJsonObject();
        const QJsonObject rect = node.value(QLatin1String("window_rect")).toObject();
        return QSize(rect.value(QLatin1String("width")).toInt(), rect.value(QLatin1String("height")).toInt());
    }
    bool waitFor(const QString& title, const QRect& expected)
    {
        QElapsedTimer waited;
        waited.start();
        while (frame(title) != expected) {
            if (waited.elapsed() > kArrivalTimeoutMs)
                return false;
        }
        return true;
    }

private:
    static std::optional<QRect> find(const QJsonObject& node, const QString& title)
    {
        if (const auto window = SwayWindowBackend::windowOf(node, false); window && window->title == title)
            return window->frame.toRect();
        for (const char* children : {"nodes", "floating_nodes"}) {
            for (const QJsonValue& child : node.value(QLatin1String(children)).toArray()) {
                if (const auto found = find(child.toObject(), title))
                    return found;
            }
        }
        return std::nullopt;
    }
    static QJsonObject findNode(const QJsonObject& node, const QString& title)
    {
        if (node.contains(QLatin1String("pid")) && node.value(QLatin1String("name")).toString() == title)
            return node;
        for (const char* children : {"nodes", "floating_nodes"}) {
            for (const QJsonValue& child : node.value(QLatin1String(children)).toArray()) {
                const QJsonObject found = findNode(child.toObject(), title);
                if (!found.isEmpty())
                    return found;
            }
        }
        return {};
    }

    std::unique_ptr<SwayIpc> m_ipc;
};

void compareSwayTriggerWithCommandLine()
{
    const QString socket = qEnvironmentVariable("SYSTEMDLL_TEST_SWAYSOCK");
    const QString display = qEnvironmentVariable("SYSTEMDLL_TEST_SWAY_DISPLAY");
    const QString swaymsg = QStandardPaths::findExecutable("swaymsg");
    if (socket.isEmpty() || display.isEmpty() || swaymsg.isEmpty()) {
        std::printf("windowcontrol.sway: skipped (no headless sway, or no swaymsg)\n");
        return;
    }
    QTemporaryDir runtime;
    QProcess window;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "wayland");
    env.insert("WAYLAND_DISPLAY", display);
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.remove("DISPLAY");
    window.setProcessEnvironment(env);
    window.start(QStringLiteral(BENCH_WINDOW), {kSwayTitle});
    SwayProbe probe(socket);
    QElapsedTimer waited;
    waited.start();
    while (probe.isOpen() && !probe.frame(kSwayTitle) && waited.elapsed() < kSetupTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!probe.isOpen() || !probe.frame(kSwayTitle)) {
        std::printf("windowcontrol.sway: FAILED, the window did not show on sway\n");
        return;
    }
    // Both sides move a floating window; making it floating is not measured.
    const QString criteria = QStringLiteral("[title=\"^%1$\"] ").arg(kSwayTitle);
    quiet(swaymsg, {"-s", socket, criteria + "floating enable"});
    QThread::msleep(200);

    qputenv("SYSTEMDLL_WINDOWCONTROL_BACKEND", "sway");
    qputenv("SWAYSOCK", socket.toLocal8Bit());
    const QRect frames[2] = {QRect(100, 80, 640, 400), QRect(160, 120, 520, 360)};
    std::unique_ptr<PluginWindowsControl> keys[2] = {keyFor(frames[0], kSwayTitle), keyFor(frames[1], kSwayTitle)};
    static const QJsonObject appTriggered{{"event", QJsonObject{{"type", "tov.ky.plugin.event.app.triggered"}}}};
    int turn = 0, misses = 0;
    auto ours = [&] {
        turn ^= 1;
        QJsonObject result;
        keys[turn]->eventReceived(appTriggered, result);
        misses += !probe.waitFor(kSwayTitle, frames[turn]);
    };
    const auto command = [&](const QRect& f) {
        return criteria
            + QStringLiteral("resize set width %1 px height %2 px, move absolute position %3 px %4 px")
                  .arg(f.width()).arg(f.height()).arg(f.x()).arg(f.y());
    };
    auto theirs = [&] {
        turn ^= 1;
        quiet(swaymsg, {"-s", socket, command(frames[turn])});
        misses += !probe.waitFor(kSwayTitle, frames[turn]);
    };
    // The same command on the bench's own connection: what sway itself takes.
    auto alone = [&] {
        turn ^= 1;
        probe.run(command(frames[turn]));
        misses += !probe.waitFor(kSwayTitle, frames[turn]);
    };
    // What both sides spend on the bench's own look at the tree, for scale.
    auto look = [&] { probe.frame(kSwayTitle); };
    // Before each run the window has drawn the size it was last given: sway takes a
    // floating window's size from what its client draws, so a frame still on its way
    // would undo the next one (a key pressed faster than the window can draw).
    QSize drawn;
    auto caughtUp = [&] {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < kArrivalTimeoutMs) {
            while (window.canReadLine()) {
                const QList<QByteArray> words = window.readLine().trimmed().split(' ');
                if (words.size() == 3 && words.at(0) == "size")
                    drawn = QSize(words.at(1).toInt(), words.at(2).toInt());
            }
            if (drawn == probe.content(kSwayTitle))
                return;
            window.waitForReadyRead(5);
        }
    };
    const auto ms = samplesMs(kTriggerRuns, {ours, theirs, look, alone}, caughtUp);
    std::printf("windowcontrol.sway trigger app triggered to new frame: median %.3f ms, p99 %.3f ms (%d runs)\n",
                median(ms[0]), percentile(ms[0], 0.99), kTriggerRuns);
    std::printf("windowcontrol.swaymsg resize, move to new frame: median %.3f ms, p99 %.3f ms (%d processes)\n",
                median(ms[1]), percentile(ms[1], 0.99), kTriggerRuns);
    std::printf("windowcontrol.sway alone, one IPC command to new frame: median %.3f ms, p99 %.3f ms (%d commands)\n",
                median(ms[3]), percentile(ms[3], 0.99), kTriggerRuns);
    std::printf("windowcontrol.ratio swaymsg/trigger on sway (median): %.1fx; swaymsg/sway alone: %.1fx\n",
                median(ms[1]) / median(ms[0]), median(ms[1]) / median(ms[3]));
    printBeyond("sway", "swaymsg", median(ms[0]), median(ms[1]), median(ms[3]));
    std::printf("windowcontrol.sway the bench's own tree read, in both figures: median %.3f ms\n", median(ms[2]));
    std::printf("windowcontrol.sway: %d samples lost (the frame not reached within %d ms)\n", misses,
                kArrivalTimeoutMs);
    window.kill();
    window.waitForFinished(5000);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--x11-window") == 0) {
        QApplication app(argc, argv);
        QWidget window;
        window.setWindowTitle(QString::fromLocal8Bit(argv[2]));
        window.setGeometry(400, 300, 320, 240);
        window.show();
        std::printf("window %llu\n", qulonglong(window.winId()));
        std::fflush(stdout);
        return app.exec();
    }
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("systemdll.*.debug=false"));
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
    compareTriggerWithCommandLine(control, argv[0]);
    compareSwayTriggerWithCommandLine();
    return 0;
}
