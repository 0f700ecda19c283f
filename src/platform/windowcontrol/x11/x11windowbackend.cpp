#include "x11windowbackend.h"

#include "x11windowtracker.h"

#include "platform/windowcontrol/windowcontrolconstants.h"
#include "platform/windowcontrol/windowcontrollog.h"
#include "platform/windowcontrol/windowrecordfilter.h"
#include "platform/x11/xcbconnection.h"
#include "platform/x11/xcbreply.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {

// ICCCM: the state WM_CHANGE_STATE asks for to iconify a window.
constexpr uint32_t kIconicState = 3;
// Requests come from a key the user pressed: EWMH's "direct user action" source.
constexpr auto kSource = XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER;

} // namespace

std::unique_ptr<X11WindowBackend> X11WindowBackend::open(const QByteArray& displayName)
{
    auto connection = XcbConnection::open(displayName);
    if (!connection)
        return nullptr;
    return std::unique_ptr<X11WindowBackend>(new X11WindowBackend(std::move(connection)));
}

X11WindowBackend::X11WindowBackend(std::shared_ptr<XcbConnection> connection)
    : m_x(std::move(connection))
    , m_tracker(X11WindowTracker::of(m_x))
{
}

X11WindowBackend::~X11WindowBackend()
{
    QObject::disconnect(m_focusConnection);
}

QString X11WindowBackend::name() const
{
    return QStringLiteral("x11");
}

QList<WindowBackend::Window> X11WindowBackend::enumerate()
{
    m_windows.clear();
    if (m_x->hasError()) {
        qCWarning(lcWindowControl) << "the connection to X display" << m_x->displayName() << "is broken";
        return {};
    }
    auto listed = m_tracker->windows();
    m_supported = m_tracker->supported();
    if (!listed) {
        if (!m_warnedNoManager)
            qCWarning(lcWindowControl) << "no window manager lists its windows (_NET_CLIENT_LIST) on X display"
                                       << m_x->displayName() << "- no windows can be listed or controlled";
        m_warnedNoManager = true;
        return {};
    }
    m_warnedNoManager = false;
    m_windows = *listed;

    QList<Window> windows;
    windows.reserve(m_windows.size());
    for (const X11Window& window : std::as_const(m_windows))
        windows.append(window.info);
    m_pending.keepListed(m_windows);
    return windows;
}

std::optional<X11Window> X11WindowBackend::liveWindow(int index, const char* operation)
{
    if (!isListed(index, m_windows.size(), operation))
        return std::nullopt;
    std::optional<X11Window> window = m_tracker->window(m_windows.at(index).id);
    if (!window)
        qCWarning(lcWindowControl) << operation << "ignored: window" << WindowRecordFilter::forLog(m_windows.at(index).info.title) << "has gone";
    return window;
}

// A maximised window keeps its maximised frame under most window managers; a size or
// position asked for takes it out of that state first.
void X11WindowBackend::restoreFromMaximized(const X11Window& window)
{
    xcb_ewmh_connection_t* ewmh = m_x->ewmh();
    if (!window.maximized || !m_supported.contains(ewmh->_NET_WM_STATE))
        return;
    xcb_ewmh_request_change_wm_state(ewmh, m_x->screen(), window.id, XCB_EWMH_WM_STATE_REMOVE,
                                     ewmh->_NET_WM_STATE_MAXIMIZED_VERT, ewmh->_NET_WM_STATE_MAXIMIZED_HORZ,
                                     kSource);
}

// The size asked for is the outer size; the window manager takes the client's. Size and
// position are gathered and sent as one request when the window settles: the window
// manager lays the window out once, and no half-way frame is ever shown.
bool X11WindowBackend::setSize(int index, const QSize& size)
{
    const std::optional<X11Window> window = liveWindow(index, "resize");
    if (!window || !supports({m_x->ewmh()->_NET_MOVERESIZE_WINDOW}, "_NET_MOVERESIZE_WINDOW",
                             "windows cannot be moved or resized"))
        return false;
    const QSize client = size.shrunkBy(window->extents);
    if (client.width() < 1 || client.height() < 1)
        qCWarning(lcWindowControl) << "size" << size << "leaves no room inside the decorations of"
                                   << WindowRecordFilter::forLog(window->info.title) << "- using the smallest window";
    return m_pending.setSize(m_windows, index, size);
}

// North-west gravity: x and y place the outer top-left corner of the frame.
bool X11WindowBackend::setPosition(int index, const QPoint& position)
{
    const std::optional<X11Window> window = liveWindow(index, "move");
    if (!window || !supports({m_x->ewmh()->_NET_MOVERESIZE_WINDOW}, "_NET_MOVERESIZE_WINDOW",
                             "windows cannot be moved or resized"))
        return false;
    return m_pending.setPosition(m_windows, index, position);
}

// The size asked for is the outer size; the window manager takes the client's, which the
// decorations the window has now leave.
void X11WindowBackend::send(const X11Window& window, const PendingFrame& request)
{
    if (!request.position && !request.size)
        return;
    restoreFromMaximized(window);
    uint32_t flags = 0;
    if (request.position)
        flags |= XCB_EWMH_MOVERESIZE_WINDOW_X | XCB_EWMH_MOVERESIZE_WINDOW_Y;
    if (request.size)
        flags |= XCB_EWMH_MOVERESIZE_WINDOW_WIDTH | XCB_EWMH_MOVERESIZE_WINDOW_HEIGHT;
    const QPoint position = request.position.value_or(QPoint());
    const QSize client = request.size.value_or(QSize()).shrunkBy(window.extents).expandedTo(QSize(1, 1));
    xcb_ewmh_request_moveresize_window(m_x->ewmh(), m_x->screen(), window.id, XCB_GRAVITY_NORTH_WEST, kSource,
                                       xcb_ewmh_moveresize_window_opt_flags_t(flags), uint32_t(position.x()),
                                       uint32_t(position.y()), uint32_t(client.width()), uint32_t(client.height()));
    xcb_flush(m_x->connection());
}

bool X11WindowBackend::close(int index)
{
    const std::optional<X11Window> window = liveWindow(index, "close");
    if (!window || !supports({m_x->ewmh()->_NET_CLOSE_WINDOW}, "_NET_CLOSE_WINDOW", "windows cannot be closed"))
        return false;
    xcb_ewmh_request_close_window(m_x->ewmh(), m_x->screen(), window->id, XCB_CURRENT_TIME, kSource);
    xcb_flush(m_x->connection());
    return true;
}

bool X11WindowBackend::maximize(int index)
{
    const std::optional<X11Window> window = liveWindow(index, "maximise");
    xcb_ewmh_connection_t* ewmh = m_x->ewmh();
    if (!window
        || !supports({ewmh->_NET_WM_STATE, ewmh->_NET_WM_STATE_MAXIMIZED_VERT, ewmh->_NET_WM_STATE_MAXIMIZED_HORZ},
                     "_NET_WM_STATE_MAXIMIZED_VERT/HORZ", "windows cannot be maximised"))
        return false;
    xcb_ewmh_request_change_wm_state(ewmh, m_x->screen(), window->id, XCB_EWMH_WM_STATE_ADD,
                                     ewmh->_NET_WM_STATE_MAXIMIZED_VERT, ewmh->_NET_WM_STATE_MAXIMIZED_HORZ,
                                     kSource);
    xcb_flush(m_x->connection());
    return true;
}

// ICCCM 4.1.4: a WM_CHANGE_STATE client message to the root asks for iconic state.
bool X11WindowBackend::minimize(int index)
{
    const std::optional<X11Window> window = liveWindow(index, "minimise");
    if (!window)
        return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window->id;
    message.type = m_x->wmChangeState();
    message.data.data32[0] = kIconicState;
    xcb_send_event(m_x->connection(), 0, m_x->root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(m_x->connection());
    return true;
}

bool X11WindowBackend::supports(std::initializer_list<xcb_atom_t> atoms, const char* feature,
                                const char* consequence)
{
    if (std::all_of(atoms.begin(), atoms.end(), [&](xcb_atom_t atom) { return m_supported.contains(atom); }))
        return true;
    if (!m_warnedUnsupported.contains(feature)) {
        m_warnedUnsupported.insert(feature);
        qCWarning(lcWindowControl).noquote()
            << QStringLiteral("the window manager on X display %1 does not support %2 (EWMH): %3")
                   .arg(m_x->displayName(), QLatin1String(feature), QLatin1String(consequence));
    }
    return false;
}

bool X11WindowBackend::appliesLater() const
{
    return true;
}

// Sends what the key asked for; the window manager applies it when it gets to it. Wait,
// boundedly, until the window shows the frame asked for, and report the frame it has then.
bool X11WindowBackend::settle(int index, QRectF* frame)
{
    if (index < 0 || index >= m_windows.size())
        return false;
    const xcb_window_t id = m_windows.at(index).id;
    const PendingFrame request = m_pending.take(id).value_or(PendingFrame());
    const std::optional<X11Window> window = m_tracker->window(id);
    if (!window) {
        qCDebug(lcWindowControl) << "window" << WindowRecordFilter::forLog(m_windows.at(index).info.title) << "went away before it was resized";
        return true;
    }
    send(*window, request);
    if (const std::optional<QRect> now = waitFor(*window, request))
        *frame = QRectF(*now);
    m_tracker->updateSoon();
    return true;
}

bool X11WindowBackend::watchFocus(FocusListener listener)
{
    QObject::disconnect(m_focusConnection);
    m_focusConnection = QObject::connect(m_tracker.get(), &X11WindowTracker::focusChanged, std::move(listener));
    m_tracker->update();
    return true;
}

FocusedWindow X11WindowBackend::focusedWindow()
{
    return m_tracker->focused();
}

// Looks again whenever the server reports a change to the window, and at least every
// few milliseconds, for a window manager that moves a frame without telling its client.
std::optional<QRect> X11WindowBackend::waitFor(const X11Window& window, const PendingFrame& request)
{
    QElapsedTimer timer;
    timer.start();
    X11WindowLister lister(*m_x);
    for (;;) {
        const std::optional<QRect> frame = lister.frameOf(window.id);
        if (!frame) {
            qCDebug(lcWindowControl) << "window" << WindowRecordFilter::forLog(window.info.title) << "went away while being resized";
            return std::nullopt;
        }
        if (request.isMetBy(*frame)) {
            qCDebug(lcWindowControl) << "window" << WindowRecordFilter::forLog(window.info.title) << "has frame" << *frame << "after"
                                     << timer.elapsed() << "ms";
            return frame;
        }
        const qint64 left = WindowControlConstants::kSettleTimeoutMs - timer.elapsed();
        if (left <= 0) {
            qCDebug(lcWindowControl) << "window" << WindowRecordFilter::forLog(window.info.title) << "still has frame" << *frame << "after"
                                     << timer.elapsed() << "ms";
            return frame;
        }
        m_tracker->waitForEvent(window.id, int(qMin<qint64>(left, WindowControlConstants::kSettleLookMs)));
    }
}
