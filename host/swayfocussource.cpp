#include "swayfocussource.h"

#include "hostlog.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstring>
#include <set>
#include <vector>

namespace {
constexpr char kMagic[] = "i3-ipc";
constexpr qsizetype kMagicSize = sizeof kMagic - 1;
constexpr qsizetype kHeaderSize = kMagicSize + 8;

FocusedWindow describe(const QJsonObject& container)
{
    FocusedWindow window;
    window.appId = container.value("app_id").toString();
    const QJsonObject x11 = container.value("window_properties").toObject();  // an XWayland window
    if (window.appId.isEmpty())
        window.appId = x11.value("class").toString();
    window.instance = x11.value("instance").toString();
    window.title = container.value("name").toString();
    window.pid = qint64(container.value("pid").toDouble());
    return window;
}

// Application windows of the tree: leaves that have a process.
void collect(const QJsonObject& node, std::vector<QJsonObject>* windows, int depth = 0)
{
    if (depth > 64)
        return;
    if (node.value("pid").toDouble() > 0)
        windows->push_back(node);
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue& child : node.value(QLatin1String(children)).toArray())
            collect(child.toObject(), windows, depth + 1);
    }
}
} // namespace

SwayFocusSource::SwayFocusSource(const QString& socketPath, QObject* parent)
    : FocusSource(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(0);
    connect(&m_settle, &QTimer::timeout, this, &SwayFocusSource::settle);
    connect(&m_socket, &QLocalSocket::readyRead, this, &SwayFocusSource::readMessages);
    connect(&m_socket, &QLocalSocket::errorOccurred, this, [this, socketPath] {
        qCWarning(lcHost).noquote() << "pages do not follow the focused application: sway IPC" << socketPath << ":"
                                    << m_socket.errorString();
    });
    m_socket.connectToServer(socketPath);
    m_socket.write(frame(kSubscribe, R"(["window"])"));
}

QByteArray SwayFocusSource::frame(quint32 type, const QByteArray& payload)
{
    QByteArray message(kMagic, kMagicSize);
    const quint32 length = quint32(payload.size());
    message.append(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(&type), sizeof type);
    return message + payload;
}

void SwayFocusSource::listPrograms()
{
    m_socket.write(frame(kGetTree, {}));
}

void SwayFocusSource::readMessages()
{
    if (m_broken)
        return;
    m_buffer += m_socket.readAll();
    while (m_buffer.size() >= kHeaderSize) {
        quint32 length = 0;
        quint32 type = 0;
        std::memcpy(&length, m_buffer.constData() + kMagicSize, sizeof length);
        std::memcpy(&type, m_buffer.constData() + kMagicSize + 4, sizeof type);
        if (!m_buffer.startsWith(kMagic) || length > kMaxMessageBytes) {
            qCWarning(lcHost) << "pages stop following the focused application: sway IPC sent no i3-ipc message";
            m_broken = true;
            m_buffer.clear();
            m_socket.abort();
            return;
        }
        if (m_buffer.size() < kHeaderSize + qsizetype(length))
            return;
        handle(type, m_buffer.mid(kHeaderSize, length));
        m_buffer.remove(0, kHeaderSize + length);
    }
}

void SwayFocusSource::handle(quint32 type, const QByteArray& payload)
{
    const QJsonObject message = QJsonDocument::fromJson(payload).object();
    if (type == kSubscribe) {
        m_subscribed = message.value("success").toBool();
        if (!m_subscribed)
            qCWarning(lcHost) << "pages do not follow the focused application: sway refused the window events";
    } else if (type == kWindowEvent && message.value("change").toString() == QLatin1String("focus")) {
        m_pending = message.value("container").toObject();
        m_settle.start();
    } else if (type == kGetTree) {
        std::vector<QJsonObject> windows;
        collect(message, &windows);
        std::set<QString> names;
        for (const QJsonObject& container : windows) {
            FocusedWindow window = describe(container);
            window.program = programOf(window.pid);
            if (!ours(window.pid) && !window.name().isEmpty())
                names.insert(window.name());
        }
        emit programsListed(QStringList(names.begin(), names.end()));
    }
}

// Only the container focused at the end of a flurry counts; the host's own are passed
// over (back from the host to the window before it is no change).
void SwayFocusSource::settle()
{
    const qint64 id = qint64(m_pending.value("id").toDouble(-1));
    FocusedWindow window = describe(m_pending);
    m_pending = {};
    if (id < 0 || id == m_last || ours(window.pid))
        return;
    m_last = id;
    window.program = programOf(window.pid);
    emit focusChanged(window);
}
