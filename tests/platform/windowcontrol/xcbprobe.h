#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QVector>

#include <xcb/xcb.h>

// The tests' own client of an X server, apart from the code under test: makes bare
// windows with chosen properties and takes the requests sent to the root.
class XcbProbe
{
public:
    // 8-bit text, or 32-bit numbers when there are any.
    struct Property
    {
        const char* name;
        const char* type;
        QByteArray text;
        QVector<quint32> numbers;
    };

    explicit XcbProbe(const QByteArray& display = {});
    ~XcbProbe() { xcb_disconnect(m_connection); }

    bool isOpen() const { return !xcb_connection_has_error(m_connection); }
    xcb_window_t root() const { return m_root; }
    xcb_atom_t atom(const char* name);

    // An unmapped top-level window with this client geometry.
    xcb_window_t createWindow(const QRect& geometry, const QList<Property>& properties);
    void set(xcb_window_t window, const Property& property);

    // Takes the requests that clients send to the root window, as a window manager does.
    void watchRoot();
    // The client messages the root got since the last call.
    using Message = QPair<quint32, quint32>;  // type, window
    QList<Message> clientMessages();

private:
    void sync();  // a round trip: the server has done all asked of it

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    QList<Message> m_messages;
};
