#include "x11focussource.h"

#include "hostlog.h"
#include "xcbcalls.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <set>

namespace {
using XcbCalls::atom;
using XcbCalls::reply;

constexpr uint32_t kMaxTitleWords = 256;    // 1 KiB of title is plenty to match against
constexpr uint32_t kMaxClientWindows = 4096;
} // namespace

struct X11FocusSource::X11
{
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t active = XCB_ATOM_NONE;
    xcb_atom_t clients = XCB_ATOM_NONE;
    xcb_atom_t pid = XCB_ATOM_NONE;
    xcb_atom_t name = XCB_ATOM_NONE;
    xcb_atom_t utf8 = XCB_ATOM_NONE;
    std::unique_ptr<QSocketNotifier> notifier;

    ~X11()
    {
        notifier.reset();
        if (connection)
            xcb_disconnect(connection);
    }

    // The property's bytes (at most `words` 32-bit units), empty when it is missing or of another type.
    QByteArray property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, uint32_t words) const
    {
        const auto answer = reply(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, property, type, 0, words), nullptr));
        if (!answer || answer->type != type)
            return {};
        return QByteArray(static_cast<const char*>(xcb_get_property_value(answer.get())),
                          xcb_get_property_value_length(answer.get()));
    }

    quint32 cardinal(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const
    {
        const QByteArray bytes = this->property(window, property, type, 1);
        if (bytes.size() < 4)
            return 0;
        quint32 value = 0;
        std::memcpy(&value, bytes.constData(), sizeof value);
        return value;
    }

    FocusedWindow describe(xcb_window_t window) const
    {
        FocusedWindow described;
        const QList<QByteArray> wmClass = property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 64).split('\0');
        described.instance = QString::fromLocal8Bit(wmClass.value(0));
        described.appId = QString::fromLocal8Bit(wmClass.value(1));
        described.pid = cardinal(window, pid, XCB_ATOM_CARDINAL);
        described.program = programOf(described.pid);
        QByteArray title = property(window, name, utf8, kMaxTitleWords);
        described.title = title.isEmpty() ? QString::fromLatin1(property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, kMaxTitleWords))
                                          : QString::fromUtf8(title);
        return described;
    }
};

X11FocusSource::X11FocusSource(QObject* parent)
    : FocusSource(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(0);
    connect(&m_settle, &QTimer::timeout, this, &X11FocusSource::settle);
    auto x11 = std::make_unique<X11>();
    x11->connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x11->connection)) {
        qCWarning(lcHost) << "pages do not follow the focused application: no X connection";
        return;
    }
    x11->root = xcb_setup_roots_iterator(xcb_get_setup(x11->connection)).data->root;
    x11->active = atom(x11->connection, "_NET_ACTIVE_WINDOW");
    x11->clients = atom(x11->connection, "_NET_CLIENT_LIST");
    x11->pid = atom(x11->connection, "_NET_WM_PID");
    x11->name = atom(x11->connection, "_NET_WM_NAME");
    x11->utf8 = atom(x11->connection, "UTF8_STRING");
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(x11->connection, x11->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x11->connection);
    m_last = x11->cardinal(x11->root, x11->active, XCB_ATOM_WINDOW);
    x11->notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(x11->connection), QSocketNotifier::Read);
    connect(x11->notifier.get(), &QSocketNotifier::activated, this, &X11FocusSource::readEvents);
    m_x11 = std::move(x11);
    readEvents();  // any that came with the first replies
}

X11FocusSource::~X11FocusSource() = default;

void X11FocusSource::readEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_x11->connection)) {
        const auto owned = reply(event);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            continue;
        if (reinterpret_cast<const xcb_property_notify_event_t*>(event)->atom == m_x11->active)
            m_settle.start();
    }
    if (xcb_connection_has_error(m_x11->connection)) {
        qCWarning(lcHost) << "pages stop following the focused application: the X connection broke";
        m_x11->notifier->setEnabled(false);
    }
}

// Only the window active at the end of a flurry counts: it is read once, now. No
// window (between two) and the host's own are passed over: back from the host to the
// window before it (a key press hands the focus back) is no change.
void X11FocusSource::settle()
{
    const quint32 active = m_x11->cardinal(m_x11->root, m_x11->active, XCB_ATOM_WINDOW);
    if (active == XCB_WINDOW_NONE || active == m_last)
        return readEvents();
    const FocusedWindow window = m_x11->describe(active);
    // Events that came with the replies wait in xcb's queue, where the socket notifier
    // does not see them.
    readEvents();
    if (ours(window.pid))
        return;
    m_last = active;
    emit focusChanged(window);
}

void X11FocusSource::listPrograms()
{
    const QByteArray list = m_x11->property(m_x11->root, m_x11->clients, XCB_ATOM_WINDOW, kMaxClientWindows);
    std::set<QString> names;
    for (qsizetype at = 0; at + 4 <= list.size(); at += 4) {
        xcb_window_t window = 0;
        std::memcpy(&window, list.constData() + at, sizeof window);
        const FocusedWindow described = m_x11->describe(window);
        if (!ours(described.pid) && !described.name().isEmpty())
            names.insert(described.name());
    }
    readEvents();  // what came with the replies
    const QStringList programs(names.begin(), names.end());
    QMetaObject::invokeMethod(this, [this, programs] { emit programsListed(programs); }, Qt::QueuedConnection);
}
