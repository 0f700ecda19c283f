#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTcpServer>
#include <QWebSocketServer>

class QTcpSocket;

// The host's local WebSocket server on 127.0.0.1, for the package's actions, which run
// in this process: a connection from any other process is refused before its
// handshake, as is one that names an Origin (a web page). Each text frame is reported;
// nothing is sent back. What the connections hold unfinished is capped in total, so
// that many half-sent messages cannot take the host's memory.
class HostServer : public QObject
{
    Q_OBJECT
public:
    // Far above any message of the protocol; a larger one closes its connection.
    static constexpr qint64 kMaxIncomingBytes = 1024 * 1024;
    // All connections' unfinished messages together; the one that passes it is closed.
    static constexpr qint64 kMaxPendingBytes = 8 * 1024 * 1024;

    explicit HostServer(QObject* parent = nullptr);
    ~HostServer() override;

    bool listen();
    quint16 port() const { return m_tcp.serverPort(); }
    int refusedCount() const { return m_refused; }

signals:
    void frameReceived(const QString& frame);
    // A connection was refused at once (another process), with why.
    void refused(const QString& why);

private:
    void accept();
    bool fromThisProcess(const QTcpSocket& socket);
    void collectOwnEnds();
    void countIncoming(QTcpSocket* socket);

    // Before the servers: the sockets they delete report to these.
    QSet<quint16> m_ownEnds;          // local ports of this process's sockets connected to the server
    QHash<quint16, qint64> m_pending;  // bytes since the last whole message, by client port
    qint64 m_pendingTotal = 0;
    int m_refused = 0;
    QTcpServer m_tcp;
    QWebSocketServer m_server;
};
