#include "hostserver.h"

#include "hostlog.h"

#include <QWebSocket>

HostServer::HostServer(QObject* parent)
    : QObject(parent)
    , m_server(QStringLiteral("vanta-host"), QWebSocketServer::NonSecureMode)
{
    connect(&m_server, &QWebSocketServer::newConnection, this, [this] {
        while (QWebSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
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
