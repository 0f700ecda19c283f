#pragma once

#include <QByteArray>
#include <QString>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <memory>

// An own connection to an X display with the EWMH atoms interned. Shared by all
// window-control backends of one display and closed when the last one goes.
class XcbConnection
{
public:
    // Empty displayName: the one in $DISPLAY. Null when no display is reachable.
    static std::shared_ptr<XcbConnection> open(const QByteArray& displayName = {});
    ~XcbConnection();

    xcb_connection_t* connection() const { return m_connection; }
    xcb_ewmh_connection_t* ewmh() { return &m_ewmh; }
    int screen() const { return m_screen; }
    xcb_window_t root() const;
    xcb_atom_t wmChangeState() const { return m_wmChangeState; }
    const QString& displayName() const { return m_displayName; }
    bool hasError() const;

    // Waits until the server has handled everything sent so far, and drops the errors
    // of requests without reply (a window that went away meanwhile).
    void sync();

private:
    XcbConnection(xcb_connection_t* connection, int screen, const QString& displayName);
    bool initAtoms();

    xcb_connection_t* m_connection = nullptr;
    xcb_ewmh_connection_t m_ewmh{};
    bool m_ewmhReady = false;
    int m_screen = 0;
    xcb_atom_t m_wmChangeState = XCB_ATOM_NONE;
    QString m_displayName;
    Q_DISABLE_COPY(XcbConnection)
};
