#include "focuskeeper.h"

#include "hostlog.h"
#include "xcbcalls.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {
using XcbCalls::atom;
using XcbCalls::reply;

constexpr uint32_t kSourcePager = 2;  // _NET_ACTIVE_WINDOW: asked for by a tool, not an application
} // namespace

struct FocusKeeper::X11
{
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t activeAtom = XCB_ATOM_NONE;
    xcb_atom_t pidAtom = XCB_ATOM_NONE;
    xcb_window_t lastOther = XCB_WINDOW_NONE;
    xcb_window_t target = XCB_WINDOW_NONE;  // handing back to this one
    std::unique_ptr<QSocketNotifier> notifier;

    ~X11()
    {
        notifier.reset();
        if (connection)
            xcb_disconnect(connection);
    }

    xcb_window_t active() const
    {
        const auto answer = reply(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, root, activeAtom, XCB_ATOM_WINDOW, 0, 1), nullptr));
        if (!answer || answer->type != XCB_ATOM_WINDOW || xcb_get_property_value_length(answer.get()) < 4)
            return XCB_WINDOW_NONE;
        return *static_cast<xcb_window_t*>(xcb_get_property_value(answer.get()));
    }

    bool ours(xcb_window_t window) const
    {
        const auto answer = reply(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (!answer || answer->type != XCB_ATOM_CARDINAL || xcb_get_property_value_length(answer.get()) < 4)
            return false;
        return *static_cast<uint32_t*>(xcb_get_property_value(answer.get())) == uint32_t(QCoreApplication::applicationPid());
    }

    bool exists(xcb_window_t window) const
    {
        return bool(reply(xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr)));
    }

    void note(xcb_window_t window)
    {
        if (window != XCB_WINDOW_NONE && !ours(window))
            lastOther = window;
    }

    void activate(xcb_window_t window) const
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = activeAtom;
        message.data.data32[0] = kSourcePager;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection);
    }

    // Keys typed now go nowhere, until the user picks a window again.
    void dropFocus() const
    {
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_WINDOW_NONE, XCB_CURRENT_TIME);
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
};

FocusKeeper::FocusKeeper(QObject* parent)
    : QObject(parent)
{
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(kHandBackMs);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        qCInfo(lcHost) << "the window manager did not activate the window the user was in; keys go nowhere";
        if (m_x11)
            m_x11->dropFocus();
        finishHandBack();
    });
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto x11 = std::make_unique<X11>();
    x11->connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x11->connection)) {
        qCWarning(lcHost) << "cannot follow the active window: no X connection";
        return;
    }
    x11->root = xcb_setup_roots_iterator(xcb_get_setup(x11->connection)).data->root;
    x11->activeAtom = atom(x11->connection, "_NET_ACTIVE_WINDOW");
    x11->pidAtom = atom(x11->connection, "_NET_WM_PID");
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(x11->connection, x11->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x11->connection);
    x11->note(x11->active());
    x11->notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(x11->connection), QSocketNotifier::Read);
    connect(x11->notifier.get(), &QSocketNotifier::activated, this, &FocusKeeper::readEvents);
    m_x11 = std::move(x11);
}

FocusKeeper::~FocusKeeper() = default;

bool FocusKeeper::available() const
{
    return m_x11 != nullptr;
}

quint32 FocusKeeper::lastOtherWindow() const
{
    return m_x11 ? m_x11->lastOther : 0;
}

void FocusKeeper::readEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_x11->connection)) {
        const auto owned = reply(event);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            continue;
        const auto* changed = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (changed->atom != m_x11->activeAtom)
            continue;
        const xcb_window_t active = m_x11->active();
        m_x11->note(active);
        if (m_x11->target != XCB_WINDOW_NONE && active == m_x11->target)
            finishHandBack();
    }
}

void FocusKeeper::handBack(std::function<void()> then)
{
    if (!m_x11) {
        then();
        return;
    }
    m_waiting << std::move(then);
    if (m_waiting.size() > 1)
        return;  // a hand-back is under way; this press follows it
    const xcb_window_t active = m_x11->active();
    if (active != XCB_WINDOW_NONE && !m_x11->ours(active))
        return finishHandBack();
    if (m_x11->lastOther == XCB_WINDOW_NONE || !m_x11->exists(m_x11->lastOther)) {
        m_x11->lastOther = XCB_WINDOW_NONE;
        m_x11->dropFocus();
        return finishHandBack();
    }
    m_x11->target = m_x11->lastOther;
    m_x11->activate(m_x11->target);
    m_timeout.start();
}

void FocusKeeper::finishHandBack()
{
    m_timeout.stop();
    if (m_x11)
        m_x11->target = XCB_WINDOW_NONE;
    const QList<std::function<void()>> waiting = std::exchange(m_waiting, {});
    for (const auto& then : waiting)
        then();
}
