#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>

#include <memory>
#include <optional>

class QLocalSocket;

// One connection to an i3-compatible compositor's IPC socket (sway: $SWAYSOCK). A
// message is "i3-ipc", the payload's length and the message type (both 32-bit, native
// order), then the JSON payload. Requests wait for their reply, boundedly; a connection
// that subscribed delivers events, taken with takeEvent() as they come.
class SwayIpc
{
public:
    enum Type : quint32 { RunCommand = 0, Subscribe = 2, GetTree = 4, GetVersion = 7 };
    static constexpr quint32 kEventBit = 0x80000000u;
    static constexpr quint32 kWindowEvent = kEventBit | 3;

    struct Message
    {
        quint32 type = 0;
        QJsonDocument json;
    };

    // Null when nothing answers on socketPath.
    static std::unique_ptr<SwayIpc> connect(const QString& socketPath);
    ~SwayIpc();

    // The reply's payload; nullopt when the compositor did not answer in time or the
    // connection broke (logged).
    std::optional<QJsonDocument> request(Type type, const QByteArray& payload = {});
    // request() in two halves, so that several requests share one round trip: the
    // compositor answers in order, each reply taken with reply() of its type.
    bool send(Type type, const QByteArray& payload = {});
    std::optional<QJsonDocument> reply(Type type);
    // Reads what has arrived without waiting; the next complete event, if any.
    std::optional<Message> takeEvent();
    QLocalSocket* socket() const { return m_socket.get(); }
    const QString& path() const { return m_path; }

    static QByteArray frame(quint32 type, const QByteArray& payload);
    // Takes one complete message off the front of buffer. A buffer that does not start
    // with the magic is unusable: *broken is set and nothing is taken.
    static std::optional<Message> takeMessage(QByteArray& buffer, bool* broken);

private:
    SwayIpc(std::unique_ptr<QLocalSocket> socket, const QString& path);
    std::optional<Message> readMessage(int timeoutMs);

    std::unique_ptr<QLocalSocket> m_socket;
    QString m_path;
    QByteArray m_buffer;
    bool m_broken = false;
};
