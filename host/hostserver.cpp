#include "hostserver.h"

#include "hostlog.h"

#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>

namespace {

bool ipv4Name(int fd, bool peer, sockaddr_in* address)
{
    socklen_t length = sizeof(*address);
    const int result = peer ? getpeername(fd, reinterpret_cast<sockaddr*>(address), &length)
                            : getsockname(fd, reinterpret_cast<sockaddr*>(address), &length);
    return result == 0 && length == sizeof(*address) && address->sin_family == AF_INET;
}

} // namespace

HostServer::HostServer(QObject* parent)
    : QObject(parent)
    , m_server(QStringLiteral("vanta-host"), QWebSocketServer::NonSecureMode)
{
    connect(&m_tcp, &QTcpServer::newConnection, this, &HostServer::accept);
    // Direct: the answer is read as soon as the signal returns.
    connect(&m_server, &QWebSocketServer::originAuthenticationRequired, this, [](QWebSocketCorsAuthenticator* check) {
        check->setAllowed(check->origin().isEmpty());
    }, Qt::DirectConnection);
    connect(&m_server, &QWebSocketServer::newConnection, this, [this] {
        while (QWebSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            socket->setMaxAllowedIncomingMessageSize(quint64(kMaxIncomingBytes));
            socket->setMaxAllowedIncomingFrameSize(quint64(kMaxIncomingBytes));
            const quint16 client = socket->peerPort();
            const auto whole = [this, client] {
                const auto it = m_pending.find(client);
                if (it != m_pending.end()) {
                    m_pendingTotal -= *it;
                    *it = 0;
                }
            };
            connect(socket, &QWebSocket::textMessageReceived, this, [this, whole](const QString& frame) {
                whole();
                qCDebug(lcHost) << "frame:" << frame;
                emit frameReceived(frame);
            });
            connect(socket, &QWebSocket::binaryMessageReceived, this, whole);
            connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

HostServer::~HostServer()
{
    // The connections first, while what their last signals reach is still there.
    qDeleteAll(findChildren<QWebSocket*>(Qt::FindDirectChildrenOnly));
}

bool HostServer::listen()
{
    return m_tcp.listen(QHostAddress::LocalHost, 0);
}

void HostServer::accept()
{
    while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
        if (!fromThisProcess(*socket)) {
            ++m_refused;
            const QString why = QStringLiteral("refused a connection from %1:%2: it does not come from this process")
                                    .arg(socket->peerAddress().toString())
                                    .arg(socket->peerPort());
            qCWarning(lcHost).noquote() << why;
            socket->abort();
            socket->deleteLater();
            emit refused(why);
            continue;
        }
        const quint16 client = socket->peerPort();
        m_ownEnds.remove(client);
        m_pending.insert(client, 0);
        // Connected before the WebSocket's own reading: sees each arrival first.
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { countIncoming(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, client] {
            m_pendingTotal -= m_pending.take(client);
        });
        m_server.handleConnection(socket);
    }
}

// The WebSocket reads what has arrived into its message at once, so what is waiting
// now is new. A whole message sets its connection back to zero.
void HostServer::countIncoming(QTcpSocket* socket)
{
    const quint16 client = socket->peerPort();
    const auto it = m_pending.find(client);
    if (it == m_pending.end())
        return;
    const qint64 arrived = socket->bytesAvailable();
    *it += arrived;
    m_pendingTotal += arrived;
    if (m_pendingTotal <= kMaxPendingBytes)
        return;
    qCWarning(lcHost) << "closing a connection: unfinished messages hold more than" << kMaxPendingBytes << "bytes";
    socket->abort();
}

bool HostServer::fromThisProcess(const QTcpSocket& socket)
{
    if (socket.peerAddress() != QHostAddress(QHostAddress::LocalHost))
        return false;
    if (!m_ownEnds.contains(socket.peerPort()))
        collectOwnEnds();  // once per batch of keys, not once per key
    return m_ownEnds.contains(socket.peerPort());
}

// The local ports of this process's sockets whose other end is this server.
void HostServer::collectOwnEnds()
{
    m_ownEnds.clear();
    DIR* folder = opendir("/proc/self/fd");
    if (!folder)
        return;
    const int own = dirfd(folder);
    while (const dirent* entry = readdir(folder)) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (*end != '\0' || end == entry->d_name || fd == own)
            continue;
        sockaddr_in local{};
        sockaddr_in remote{};
        if (!ipv4Name(int(fd), false, &local) || !ipv4Name(int(fd), true, &remote))
            continue;
        if (remote.sin_addr.s_addr == htonl(INADDR_LOOPBACK) && ntohs(remote.sin_port) == port()
            && local.sin_addr.s_addr == htonl(INADDR_LOOPBACK))
            m_ownEnds.insert(ntohs(local.sin_port));
    }
    closedir(folder);
}
