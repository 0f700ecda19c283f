#include "xcbconnection.h"

#include "x11log.h"
#include "xcbreply.h"

#include <QHash>

namespace {

const char kWmChangeState[] = "WM_CHANGE_STATE";

// GUI thread only, like everything of this layer.
QHash<QByteArray, std::weak_ptr<XcbConnection>>& openConnections()
{
    static QHash<QByteArray, std::weak_ptr<XcbConnection>> connections;
    return connections;
}

} // namespace

std::shared_ptr<XcbConnection> XcbConnection::open(const QByteArray& displayName)
{
    const QByteArray key = displayName.isEmpty() ? qgetenv("DISPLAY") : displayName;
    auto& connections = openConnections();
    if (auto existing = connections.value(key).lock(); existing && !existing->hasError())
        return existing;

    int screen = 0;
    xcb_connection_t* c = xcb_connect(key.isEmpty() ? nullptr : key.constData(), &screen);
    const QString name = QString::fromLocal8Bit(key);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        qCDebug(lcXcbConnection) << "cannot connect to X display" << name;
        return nullptr;
    }
    std::shared_ptr<XcbConnection> connection(new XcbConnection(c, screen, name));
    if (!connection->initAtoms()) {
        qCWarning(lcXcbConnection) << "X display" << name << "did not answer the atom requests";
        return nullptr;
    }
    connections.insert(key, connection);
    return connection;
}

XcbConnection::XcbConnection(xcb_connection_t* connection, int screen, const QString& displayName)
    : m_connection(connection)
    , m_screen(screen)
    , m_displayName(displayName)
{
}

XcbConnection::~XcbConnection()
{
    if (m_ewmhReady)
        xcb_ewmh_connection_wipe(&m_ewmh);
    xcb_disconnect(m_connection);
}

bool XcbConnection::initAtoms()
{
    const xcb_intern_atom_cookie_t changeState =
        xcb_intern_atom(m_connection, 0, sizeof(kWmChangeState) - 1, kWmChangeState);
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(m_connection, &m_ewmh);
    m_ewmhReady = cookies && xcb_ewmh_init_atoms_replies(&m_ewmh, cookies, nullptr);
    if (XcbReply<xcb_intern_atom_reply_t> reply{xcb_intern_atom_reply(m_connection, changeState, nullptr)})
        m_wmChangeState = reply->atom;
    return m_ewmhReady && m_wmChangeState != XCB_ATOM_NONE && m_screen < m_ewmh.nb_screens;
}

xcb_window_t XcbConnection::root() const
{
    return m_ewmh.screens[m_screen]->root;
}

bool XcbConnection::hasError() const
{
    return xcb_connection_has_error(m_connection) != 0;
}

void XcbConnection::sync()
{
    XcbReply<xcb_get_input_focus_reply_t> focus{
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)};
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        if (event->response_type == 0) {
            const auto* error = reinterpret_cast<const xcb_generic_error_t*>(event);
            qCDebug(lcXcbConnection) << "X error" << error->error_code << "for request" << error->major_code
                                     << "on resource" << Qt::hex << error->resource_id;
        }
        std::free(event);
    }
}
