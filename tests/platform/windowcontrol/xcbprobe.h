#pragma once

#include <QByteArray>
#include <QHash>
#include <QRect>
#include <QVector>

#include <xcb/xcb.h>

// The tests' own view of an X server, apart from the code under test: makes bare
// windows with chosen properties and reads back what the server holds.
class XcbProbe
{
public:
    explicit XcbProbe(const QByteArray& display = {});
    ~XcbProbe();

    bool isOpen() const { return m_connection && !xcb_connection_has_error(m_connection); }
    xcb_window_t root() const { return m_root; }
    xcb_atom_t atom(const char* name);

    // An unmapped top-level window with this client geometry.
    xcb_window_t createWindow(const QRect& geometry);
    void destroy(xcb_window_t window);
    void setText(xcb_window_t window, const char* property, const char* type, const QByteArray& text);
    void setNumbers(xcb_window_t window, const char* property, const char* type, const QVector<quint32>& values);

    QVector<quint32> numbers(xcb_window_t window, const char* property);
    // Geometry of the window's top-level ancestor: the window manager's frame, if any.
    QRect outerFrame(xcb_window_t window);
    void sync();

private:
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    QHash<QByteArray, xcb_atom_t> m_atoms;
};
