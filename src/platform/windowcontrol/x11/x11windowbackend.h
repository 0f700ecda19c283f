#pragma once

#include "platform/windowcontrol/pendingframes.h"
#include "platform/windowcontrol/windowbackend.h"
#include "x11windowlister.h"

#include <QByteArray>
#include <QHash>
#include <QMetaObject>
#include <QSet>

#include <initializer_list>
#include <optional>

class XcbConnection;
class X11WindowTracker;

// Window control through the window manager, by EWMH requests on an own connection.
// The windows are known from the server's events (X11WindowTracker), so a listing
// costs no round trip unless windows changed.
// Frames are outer frames (decorations included) in root coordinates, for the list and
// for the requests alike: moving a window to the position listed leaves it in place,
// and giving it the size listed keeps its size. Sizes and positions go to the window
// manager together in settle(), which waits a little for it to apply them. Acting costs
// no round trip before the request leaves: what a window is like now comes from events.
class X11WindowBackend final : public WindowBackend
{
public:
    // Null when the display cannot be reached. Empty displayName: $DISPLAY.
    static std::unique_ptr<X11WindowBackend> open(const QByteArray& displayName = {});
    ~X11WindowBackend() override;

    QString name() const override;
    QList<Window> enumerate() override;
    bool setSize(int index, const QSize& size) override;
    bool setPosition(int index, const QPoint& position) override;
    bool close(int index) override;
    bool maximize(int index) override;
    bool minimize(int index) override;
    bool appliesLater() const override;
    bool settle(int index, QRectF* frame) override;
    bool watchFocus(FocusListener listener) override;
    FocusedWindow focusedWindow() override;

private:
    explicit X11WindowBackend(std::shared_ptr<XcbConnection> connection);
    // The listed window at index as it is now, if it is still managed; logs and
    // returns nullopt otherwise.
    std::optional<X11Window> liveWindow(int index, const char* operation);
    void restoreFromMaximized(const X11Window& window);
    // One move-and-resize request for everything asked of the window since it settled.
    void send(const X11Window& window, const PendingFrame& request);
    // The window's frame once it meets the request or the wait is over; nullopt once
    // the window has gone.
    std::optional<QRect> waitFor(const X11Window& window, const PendingFrame& request);
    // Whether the window manager announces every atom of a feature (_NET_SUPPORTED, as
    // read with the last listing). When it does not, says so once per feature.
    bool supports(std::initializer_list<xcb_atom_t> atoms, const char* feature, const char* consequence);

    std::shared_ptr<XcbConnection> m_x;
    std::shared_ptr<X11WindowTracker> m_tracker;
    QMetaObject::Connection m_focusConnection;
    QList<X11Window> m_windows;               // the last listing
    PendingFrames<X11Window> m_pending;       // per window, until settled
    bool m_warnedNoManager = false;
    QSet<xcb_atom_t> m_supported;             // what the window manager announces
    QSet<QByteArray> m_warnedUnsupported;     // features already reported missing
};
