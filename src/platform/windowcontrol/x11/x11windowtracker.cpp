#include "x11windowtracker.h"

#include "platform/windowcontrol/windowcontrollog.h"
#include "platform/windowcontrol/windowrecordfilter.h"
#include "platform/x11/xcbconnection.h"
#include "platform/x11/xcbreply.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QSocketNotifier>
#include <QTimer>

#include <poll.h>

namespace {

// Events of the root: its properties. Of each managed window: its properties, and
// configure, reparent and destroy events.
constexpr uint32_t kRootEvents = XCB_EVENT_MASK_PROPERTY_CHANGE;
constexpr uint32_t kClientEvents = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
// Events that a round trip of ours queues inside xcb are handled in further passes; a
// server that never stops sending cannot hold the GUI thread longer than this many.
constexpr int kMaxPasses = 16;

// GUI thread only, like everything of this layer.
QHash<const XcbConnection*, std::weak_ptr<X11WindowTracker>>& trackers()
{
    static QHash<const XcbConnection*, std::weak_ptr<X11WindowTracker>> all;
    return all;
}

} // namespace

std::shared_ptr<X11WindowTracker> X11WindowTracker::of(const std::shared_ptr<XcbConnection>& connection)
{
    if (auto existing = trackers().value(connection.get()).lock())
        return existing;
    std::shared_ptr<X11WindowTracker> tracker(new X11WindowTracker(connection));
    trackers().insert(connection.get(), tracker);
    return tracker;
}

X11WindowTracker::X11WindowTracker(std::shared_ptr<XcbConnection> connection)
    : m_x(std::move(connection))
{
    watch(m_x->root(), kRootEvents);
    xcb_flush(m_x->connection());
    // Without an event loop (a tool that only lists) the state is brought up to date
    // on each use instead.
    if (QCoreApplication::instance()) {
        m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_x->connection()),
                                                       QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11WindowTracker::update);
    }
}

X11WindowTracker::~X11WindowTracker()
{
    trackers().remove(m_x.get());
}

void X11WindowTracker::watch(xcb_window_t window, uint32_t mask)
{
    xcb_change_window_attributes(m_x->connection(), window, XCB_CW_EVENT_MASK, &mask);
}

void X11WindowTracker::updateSoon()
{
    if (m_updateQueued)
        return;
    m_updateQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_updateQueued = false;
        update();
    });
}

std::optional<X11Window> X11WindowTracker::window(xcb_window_t id)
{
    update();
    if (!m_clients || !m_clients->contains(id))
        return std::nullopt;
    return m_known.value(id);
}

bool X11WindowTracker::waitForEvent(xcb_window_t id, int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        bool about = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_x->connection())) {
            about = handle(event) == id || about;
            std::free(event);
        }
        const qint64 left = timeoutMs - waited.elapsed();
        if (about || left <= 0 || m_x->hasError())
            return about;
        pollfd readable{xcb_get_file_descriptor(m_x->connection()), POLLIN, 0};
        ::poll(&readable, 1, int(left));
    }
}

void X11WindowTracker::update()
{
    if (m_updating || m_x->hasError())
        return;
    m_updating = true;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        const bool hadEvents = handleEvents();
        const bool dirty = m_supportedChanged || m_clientsChanged || m_activeChanged || !m_stale.isEmpty();
        if (!hadEvents && !dirty)
            break;
        if (m_supportedChanged)
            readSupported();
        if (m_clientsChanged)
            readClientList();
        if (!m_stale.isEmpty())
            readWindows(QVector<xcb_window_t>(m_stale.cbegin(), m_stale.cend()));
        if (m_activeChanged)
            readActive();
    }
    m_updating = false;

    FocusedWindow now;
    if (const std::optional<X11Window> active = m_known.value(m_active))
        now = {WindowRecordFilter::trimmed(active->info.title), active->info.processName, active->info.appId};
    if (now != m_focused) {
        m_focused = now;
        qCDebug(lcWindowControl) << "focused window:" << WindowRecordFilter::forLog(now.title) << now.process
                                 << now.appId;
        emit focusChanged(now);
    }
}

bool X11WindowTracker::handleEvents()
{
    bool any = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_x->connection())) {
        any = true;
        handle(event);
        std::free(event);
    }
    return any;
}

xcb_window_t X11WindowTracker::handle(const xcb_generic_event_t* event)
{
    xcb_ewmh_connection_t* ewmh = m_x->ewmh();
    switch (event->response_type & ~0x80) {
    case 0: {
        // A window that went away between an event and our request about it.
        const auto* error = reinterpret_cast<const xcb_generic_error_t*>(event);
        qCDebug(lcWindowControl) << "X error" << error->error_code << "for request" << error->major_code
                                 << "on resource" << Qt::hex << error->resource_id;
        return XCB_WINDOW_NONE;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (e->window == m_x->root()) {
            if (e->atom == ewmh->_NET_CLIENT_LIST)
                m_clientsChanged = true;
            else if (e->atom == ewmh->_NET_ACTIVE_WINDOW)
                m_activeChanged = true;
            else if (e->atom == ewmh->_NET_SUPPORTED)
                m_supportedChanged = true;
            return XCB_WINDOW_NONE;
        }
        const bool describes = e->atom == ewmh->_NET_WM_NAME || e->atom == XCB_ATOM_WM_NAME
            || e->atom == ewmh->_NET_FRAME_EXTENTS || e->atom == ewmh->_NET_WM_WINDOW_TYPE
            || e->atom == XCB_ATOM_WM_CLASS || e->atom == ewmh->_NET_WM_PID || e->atom == ewmh->_NET_WM_STATE;
        if (!describes || !m_known.contains(e->window))
            return XCB_WINDOW_NONE;
        m_stale.insert(e->window);
        return e->window;
    }
    case XCB_CONFIGURE_NOTIFY: {
        // Real ones on a resize, synthetic ones from the window manager on a move (ICCCM 4.1.5).
        const auto* e = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (!m_known.contains(e->window))
            return XCB_WINDOW_NONE;
        m_stale.insert(e->window);
        return e->window;
    }
    case XCB_REPARENT_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_reparent_notify_event_t*>(event);
        if (!m_known.contains(e->window))
            return XCB_WINDOW_NONE;
        m_stale.insert(e->window);
        return e->window;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        m_stale.remove(e->window);
        return m_known.remove(e->window) ? e->window : xcb_window_t(XCB_WINDOW_NONE);
    }
    default:
        return XCB_WINDOW_NONE;
    }
}

void X11WindowTracker::readSupported()
{
    m_supportedChanged = false;
    m_supported.clear();
    xcb_ewmh_get_atoms_reply_t supported;
    if (!xcb_ewmh_get_supported_reply(m_x->ewmh(), xcb_ewmh_get_supported(m_x->ewmh(), m_x->screen()), &supported,
                                      nullptr))
        return;
    for (uint32_t i = 0; i < supported.atoms_len; ++i)
        m_supported.insert(supported.atoms[i]);
    xcb_ewmh_get_atoms_reply_wipe(&supported);
}

// New windows are watched before they are read, so that no change between the two is lost.
void X11WindowTracker::readClientList()
{
    m_clientsChanged = false;
    m_clients = X11WindowLister(*m_x).clientList();
    if (!m_clients) {
        m_known.clear();
        m_stale.clear();
        return;
    }
    const QSet<xcb_window_t> listed(m_clients->cbegin(), m_clients->cend());
    m_known.removeIf([&](const auto& it) { return !listed.contains(it.key()); });
    QVector<xcb_window_t> added;
    for (const xcb_window_t id : std::as_const(*m_clients)) {
        if (!m_known.contains(id)) {
            watch(id, kClientEvents);
            added.append(id);
        }
    }
    if (!added.isEmpty())
        readWindows(added);
}

void X11WindowTracker::readWindows(const QVector<xcb_window_t>& ids)
{
    const QVector<std::optional<X11Window>> read = X11WindowLister(*m_x).read(ids);
    for (int i = 0; i < ids.size(); ++i) {
        m_stale.remove(ids.at(i));
        m_known.insert(ids.at(i), read.at(i));
    }
}

void X11WindowTracker::readActive()
{
    m_activeChanged = false;
    xcb_window_t active = XCB_WINDOW_NONE;
    if (!xcb_ewmh_get_active_window_reply(m_x->ewmh(), xcb_ewmh_get_active_window(m_x->ewmh(), m_x->screen()),
                                          &active, nullptr))
        active = XCB_WINDOW_NONE;
    m_active = active;
}

std::optional<QList<X11Window>> X11WindowTracker::windows()
{
    update();
    if (!m_clients)
        return std::nullopt;
    QList<X11Window> windows;
    windows.reserve(m_clients->size());
    for (const xcb_window_t id : std::as_const(*m_clients)) {
        if (const std::optional<X11Window> window = m_known.value(id))
            windows.append(*window);
    }
    return windows;
}

QSet<xcb_atom_t> X11WindowTracker::supported()
{
    update();
    return m_supported;
}

FocusedWindow X11WindowTracker::focused()
{
    update();
    return m_focused;
}
