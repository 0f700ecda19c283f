#pragma once

#include "platform/windowcontrol/windowbackend.h"

#include <QHash>
#include <QList>
#include <QMargins>
#include <QRect>
#include <QVector>

#include <xcb/xcb.h>

#include <optional>

class XcbConnection;

// One managed window as listed: what the shared code sees, plus what acting on it
// needs later.
struct X11Window
{
    xcb_window_t id = XCB_WINDOW_NONE;
    WindowBackend::Window info;
    QMargins extents;        // the window manager's decorations (_NET_FRAME_EXTENTS)
    bool maximized = false;  // in either direction (_NET_WM_STATE)
};

// Reads the windows that the window manager manages. The properties of all windows are
// asked for in one go, so a listing costs two round trips to the server whatever the
// number of windows (a third only for clients that lack the EWMH names).
// Frames are outer frames (decorations included) in root coordinates.
class X11WindowLister
{
public:
    explicit X11WindowLister(XcbConnection& connection);

    // In the window manager's order, docks and desktops left out; nullopt when no
    // window manager publishes a client list.
    std::optional<QList<X11Window>> list();
    // The window manager's client list; nullopt when it publishes none.
    std::optional<QVector<xcb_window_t>> clientList();
    // These windows, read in one go: nullopt for one that has gone, a dock or a desktop.
    QVector<std::optional<X11Window>> read(const QVector<xcb_window_t>& ids);
    // The current outer frame of one window; nullopt once it has gone.
    std::optional<QRect> frameOf(xcb_window_t window);

private:
    struct Cookies;
    std::optional<X11Window> read(xcb_window_t id, const Cookies& cookies);
    void readFallbacks(QVector<std::optional<X11Window>>& windows);
    QString processName(quint32 pid, const QByteArray& machine);

    XcbConnection& m_x;
    QHash<quint32, QString> m_commands;  // process names read from /proc, per listing
};
