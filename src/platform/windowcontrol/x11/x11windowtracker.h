#pragma once

#include "platform/windowcontrol/focusedwindow.h"
#include "x11windowlister.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QVector>

#include <memory>
#include <optional>

class QSocketNotifier;
class XcbConnection;

// Keeps the managed windows of one X display current from the server's events, so that
// a lookup costs no round trip: the client list, the active window and the supported
// features from property changes on the root, each window's title and state from its own
// property changes and its frame from its configure events. One tracker per connection,
// shared by every backend on it: it alone takes the connection's events (never call
// XcbConnection::sync on it, which would drop them; wait with waitForEvent() here).
class X11WindowTracker final : public QObject
{
    Q_OBJECT
public:
    static std::shared_ptr<X11WindowTracker> of(const std::shared_ptr<XcbConnection>& connection);
    ~X11WindowTracker() override;

    // Handles every event that has come in and reads what they changed.
    void update();
    // The managed window as it is now, from the events in so far: a round trip only
    // when something about it (or the client list) changed since it was last read.
    // nullopt once it is no longer managed.
    std::optional<X11Window> window(xcb_window_t id);
    // Handles events as they come in, until one about this window has been handled
    // (true) or the time is up (false).
    bool waitForEvent(xcb_window_t id, int timeoutMs);
    // update() once the event loop runs again: round trips of others may have queued
    // events inside xcb, which the socket no longer announces.
    void updateSoon();

    // In the window manager's order; nullopt while no window manager lists its windows.
    std::optional<QList<X11Window>> windows();
    QSet<xcb_atom_t> supported();
    FocusedWindow focused();

signals:
    void focusChanged(const FocusedWindow& window);

private:
    explicit X11WindowTracker(std::shared_ptr<XcbConnection> connection);
    bool handleEvents();
    // Returns the window the event is about, if it concerns a managed one.
    xcb_window_t handle(const xcb_generic_event_t* event);
    void readSupported();
    void readClientList();
    void readWindows(const QVector<xcb_window_t>& ids);
    void readActive();
    void watch(xcb_window_t window, uint32_t mask);

    std::shared_ptr<XcbConnection> m_x;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::optional<QVector<xcb_window_t>> m_clients;       // the client list, as published
    QHash<xcb_window_t, std::optional<X11Window>> m_known; // read; nullopt: not listed
    QSet<xcb_window_t> m_stale;                            // read again before use
    QSet<xcb_atom_t> m_supported;
    bool m_clientsChanged = true;
    bool m_activeChanged = true;
    bool m_supportedChanged = true;
    bool m_updating = false;
    bool m_updateQueued = false;
    xcb_window_t m_active = XCB_WINDOW_NONE;
    FocusedWindow m_focused;
};
