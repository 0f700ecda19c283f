#pragma once

#include <QObject>
#include <QWebSocketServer>

// The host's local WebSocket server on 127.0.0.1: accepts every connection from the
// package and reports each text frame. Nothing is sent back.
class HostServer : public QObject
{
    Q_OBJECT
public:
    explicit HostServer(QObject* parent = nullptr);

    bool listen();
    quint16 port() const { return m_server.serverPort(); }

signals:
    void frameReceived(const QString& frame);

private:
    QWebSocketServer m_server;
};
