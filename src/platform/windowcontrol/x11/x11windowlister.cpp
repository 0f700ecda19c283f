#include "x11windowlister.h"

#include "platform/windowcontrol/windowcontrolconstants.h"
#include "platform/windowcontrol/windowcontrollog.h"
#include "platform/x11/xcbconnection.h"
#include "platform/x11/xcbreply.h"

#include <QFile>
#include <QSysInfo>
#include <QVector>

namespace {

using PropertyReply = XcbReply<xcb_get_property_reply_t>;

// The client list may be long; everything else is a short string or a few numbers.
constexpr uint32_t kClientListLongLength = 1u << 16;

struct FrameCookies
{
    xcb_get_geometry_cookie_t geometry;
    xcb_translate_coordinates_cookie_t origin;
    xcb_get_property_cookie_t extents;
};

xcb_get_property_cookie_t requestProperty(XcbConnection& x, xcb_window_t window, xcb_atom_t property,
                                          uint32_t longLength = WindowControlConstants::kPropertyLongLength)
{
    return xcb_get_property(x.connection(), 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, longLength);
}

PropertyReply propertyReply(XcbConnection& x, xcb_get_property_cookie_t cookie)
{
    PropertyReply reply{xcb_get_property_reply(x.connection(), cookie, nullptr)};
    if (reply && reply->type == XCB_ATOM_NONE)
        reply.reset();
    return reply;
}

// Up to the first NUL: STRING properties may carry a terminator.
QByteArray bytes(const PropertyReply& reply)
{
    if (!reply)
        return {};
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const QByteArray all(data, xcb_get_property_value_length(reply.get()));
    const qsizetype nul = all.indexOf('\0');
    return nul < 0 ? all : all.left(nul);
}

QVector<quint32> numbers(const PropertyReply& reply)
{
    if (!reply || reply->format != 32)
        return {};
    const auto* data = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    return QVector<quint32>(data, data + reply->value_len);
}

FrameCookies requestFrame(XcbConnection& x, xcb_window_t window)
{
    return {xcb_get_geometry(x.connection(), window),
            xcb_translate_coordinates(x.connection(), window, x.root(), 0, 0),
            requestProperty(x, window, x.ewmh()->_NET_FRAME_EXTENTS)};
}

// Every reply is collected even when an earlier one failed, so none is left queued.
std::optional<QRect> readFrame(XcbConnection& x, const FrameCookies& cookies, QMargins* extentsOut)
{
    XcbReply<xcb_get_geometry_reply_t> geometry{xcb_get_geometry_reply(x.connection(), cookies.geometry, nullptr)};
    XcbReply<xcb_translate_coordinates_reply_t> origin{
        xcb_translate_coordinates_reply(x.connection(), cookies.origin, nullptr)};
    const QVector<quint32> e = numbers(propertyReply(x, cookies.extents));
    if (!geometry || !origin)
        return std::nullopt;
    const QMargins extents = e.size() == 4 ? QMargins(int(e[0]), int(e[2]), int(e[1]), int(e[3])) : QMargins();
    if (extentsOut)
        *extentsOut = extents;
    const QRect client(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    return client.marginsAdded(extents);
}

// WM_NAME is Latin-1 text unless the client says UTF-8; compound text is read as
// Latin-1 too, which is right for its ASCII part.
QString legacyTitleOf(XcbConnection& x, const PropertyReply& name)
{
    const QByteArray text = bytes(name);
    if (name && name->type == x.ewmh()->UTF8_STRING)
        return QString::fromUtf8(text);
    return QString::fromLatin1(text);
}

// WM_CLASS holds the instance name, a NUL, then the class name.
QByteArray classNameOf(const PropertyReply& reply)
{
    if (!reply)
        return {};
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return QByteArray(data, xcb_get_property_value_length(reply.get())).split('\0').value(1);
}


} // namespace

struct X11WindowLister::Cookies
{
    FrameCookies frame;
    xcb_get_property_cookie_t type, netName, pid, machine, windowClass, state;
};

X11WindowLister::X11WindowLister(XcbConnection& connection)
    : m_x(connection)
{
}

std::optional<QRect> X11WindowLister::frameOf(xcb_window_t window)
{
    return readFrame(m_x, requestFrame(m_x, window), nullptr);
}

// The owner's name from /proc when the window comes from this machine; empty otherwise.
QString X11WindowLister::processName(quint32 pid, const QByteArray& machine)
{
    static const QByteArray localHost = QSysInfo::machineHostName().toLocal8Bit();
    if (pid != 0 && (machine.isEmpty() || machine == localHost)) {
        auto known = m_commands.constFind(pid);
        if (known == m_commands.cend()) {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            QString command;
            if (comm.open(QIODevice::ReadOnly))
                command = QString::fromLocal8Bit(comm.readAll()).remove(QLatin1Char('\n'));
            known = m_commands.insert(pid, command);
        }
        return *known;
    }
    return {};
}

std::optional<QVector<xcb_window_t>> X11WindowLister::clientList()
{
    const PropertyReply clients = propertyReply(
        m_x, requestProperty(m_x, m_x.root(), m_x.ewmh()->_NET_CLIENT_LIST, kClientListLongLength));
    if (!clients)
        return std::nullopt;
    const QVector<quint32> ids = numbers(clients);
    return QVector<xcb_window_t>(ids.cbegin(), ids.cend());
}

std::optional<QList<X11Window>> X11WindowLister::list()
{
    const std::optional<QVector<xcb_window_t>> ids = clientList();
    if (!ids)
        return std::nullopt;
    QList<X11Window> windows;
    for (const std::optional<X11Window>& window : read(*ids)) {
        if (window)
            windows.append(*window);
    }
    return windows;
}

QVector<std::optional<X11Window>> X11WindowLister::read(const QVector<xcb_window_t>& ids)
{
    xcb_ewmh_connection_t* ewmh = m_x.ewmh();
    QVector<Cookies> cookies;
    cookies.reserve(ids.size());
    for (const xcb_window_t id : ids) {
        cookies.append({requestFrame(m_x, id),
                        requestProperty(m_x, id, ewmh->_NET_WM_WINDOW_TYPE),
                        requestProperty(m_x, id, ewmh->_NET_WM_NAME),
                        requestProperty(m_x, id, ewmh->_NET_WM_PID),
                        requestProperty(m_x, id, XCB_ATOM_WM_CLIENT_MACHINE),
                        requestProperty(m_x, id, XCB_ATOM_WM_CLASS),
                        requestProperty(m_x, id, ewmh->_NET_WM_STATE)});
    }

    m_commands.clear();
    QVector<std::optional<X11Window>> windows;
    windows.reserve(ids.size());
    for (int i = 0; i < ids.size(); ++i)
        windows.append(read(ids.at(i), cookies.at(i)));
    readFallbacks(windows);
    return windows;
}

// Old-style title (WM_NAME), asked for only where the EWMH one gave nothing: at most
// one more round trip, and usually none.
void X11WindowLister::readFallbacks(QVector<std::optional<X11Window>>& windows)
{
    QVector<QPair<X11Window*, xcb_get_property_cookie_t>> fallbacks;
    for (std::optional<X11Window>& window : windows) {
        if (window && window->info.title.isEmpty())
            fallbacks.append({&*window, requestProperty(m_x, window->id, XCB_ATOM_WM_NAME)});
    }
    for (const auto& [window, cookie] : std::as_const(fallbacks))
        window->info.title = legacyTitleOf(m_x, propertyReply(m_x, cookie));
}

std::optional<X11Window> X11WindowLister::read(xcb_window_t id, const Cookies& c)
{
    xcb_ewmh_connection_t* ewmh = m_x.ewmh();
    X11Window window;
    window.id = id;
    const std::optional<QRect> frame = readFrame(m_x, c.frame, &window.extents);
    const QVector<quint32> types = numbers(propertyReply(m_x, c.type));
    const QByteArray netName = bytes(propertyReply(m_x, c.netName));
    const QVector<quint32> pid = numbers(propertyReply(m_x, c.pid));
    const QByteArray machine = bytes(propertyReply(m_x, c.machine));
    const QString className = QString::fromLocal8Bit(classNameOf(propertyReply(m_x, c.windowClass)));
    const QVector<quint32> state = numbers(propertyReply(m_x, c.state));

    if (!frame) {
        qCDebug(lcWindowControl) << "window" << Qt::hex << id << "went away while being listed";
        return std::nullopt;
    }
    if (types.contains(ewmh->_NET_WM_WINDOW_TYPE_DOCK) || types.contains(ewmh->_NET_WM_WINDOW_TYPE_DESKTOP))
        return std::nullopt;
    window.info.title = QString::fromUtf8(netName);
    window.info.processName = processName(pid.value(0), machine);
    // Without a process of this machine, the class name stands for the program.
    if (window.info.processName.isEmpty())
        window.info.processName = className;
    window.info.appId = className;
    window.info.frame = QRectF(*frame);
    window.maximized = state.contains(ewmh->_NET_WM_STATE_MAXIMIZED_VERT)
        || state.contains(ewmh->_NET_WM_STATE_MAXIMIZED_HORZ);
    return window;
}
