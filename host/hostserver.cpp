#include "hostserver.h"

#include "hostlog.h"

#include <QWebSocket>

namespace {
// Far above any frame of the protocol; a larger message closes its connection.
constexpr quint64 kMaxIncomingBytes = 1024 * 1024;
}

HostServer::HostServer(QObject* parent)
    : QObject(parent)
    , m_server(QStringLiteral("vanta-host"), QWebSocketServer::NonSecureMode)
{
    connect(&m_server, &QWebSocketServer::newConnection, this, [this] {
        while (QWebSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            socket->setMaxAllowedIncomingMessageSize(kMaxIncomingBytes);
            socket->setMaxAllowedIncomingFrameSize(kMaxIncomingBytes);
            connect(socket, &QWebSocket::textMessageReceived, this, [this](const QString& frame) {
                qCDebug(lcHost) << "frame:" << frame;
                emit frameReceived(frame);
            });
            connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool HostServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}
