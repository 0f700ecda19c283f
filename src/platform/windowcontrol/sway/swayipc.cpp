#include "swayipc.h"

#include "platform/windowcontrol/windowcontrolconstants.h"
#include "platform/windowcontrol/windowcontrollog.h"

#include <QElapsedTimer>
#include <QLocalSocket>

#include <cstring>

namespace {

constexpr char kMagic[] = "i3-ipc";
constexpr int kMagicLength = sizeof(kMagic) - 1;
constexpr int kHeaderLength = kMagicLength + 8;

quint32 readNative(const char* data)
{
    quint32 value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
}

} // namespace

std::unique_ptr<SwayIpc> SwayIpc::connect(const QString& socketPath)
{
    if (socketPath.isEmpty())
        return nullptr;
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(socketPath);
    if (!socket->waitForConnected(WindowControlConstants::kIpcTimeoutMs)) {
        qCDebug(lcWindowControl) << "no compositor answers on" << socketPath << socket->errorString();
        return nullptr;
    }
    return std::unique_ptr<SwayIpc>(new SwayIpc(std::move(socket), socketPath));
}

SwayIpc::SwayIpc(std::unique_ptr<QLocalSocket> socket, const QString& path)
    : m_socket(std::move(socket))
    , m_path(path)
{
}

SwayIpc::~SwayIpc() = default;

QByteArray SwayIpc::frame(quint32 type, const QByteArray& payload)
{
    QByteArray message(kMagic, kMagicLength);
    const quint32 length = quint32(payload.size());
    message.append(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(&type), sizeof type);
    message.append(payload);
    return message;
}

std::optional<SwayIpc::Message> SwayIpc::takeMessage(QByteArray& buffer, bool* broken)
{
    if (buffer.size() >= kMagicLength && !buffer.startsWith(QByteArray::fromRawData(kMagic, kMagicLength))) {
        *broken = true;
        return std::nullopt;
    }
    if (buffer.size() < kHeaderLength)
        return std::nullopt;
    const quint32 length = readNative(buffer.constData() + kMagicLength);
    const quint32 type = readNative(buffer.constData() + kMagicLength + 4);
    if (length > quint32(WindowControlConstants::kMaxIpcMessage)) {
        *broken = true;
        return std::nullopt;
    }
    if (buffer.size() < kHeaderLength + qsizetype(length))
        return std::nullopt;
    Message message;
    message.type = type;
    message.json = QJsonDocument::fromJson(buffer.mid(kHeaderLength, length));
    buffer.remove(0, kHeaderLength + length);
    return message;
}

std::optional<SwayIpc::Message> SwayIpc::readMessage(int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (m_broken)
            return std::nullopt;
        m_buffer.append(m_socket->readAll());
        if (auto message = takeMessage(m_buffer, &m_broken))
            return message;
        if (m_broken) {
            qCWarning(lcWindowControl) << "the compositor on" << m_path << "sent something that is no IPC message";
            return std::nullopt;
        }
        const int left = timeoutMs - int(waited.elapsed());
        if (left <= 0 || m_socket->state() != QLocalSocket::ConnectedState || !m_socket->waitForReadyRead(left))
            return std::nullopt;
    }
}

std::optional<QJsonDocument> SwayIpc::request(Type type, const QByteArray& payload)
{
    return send(type, payload) ? reply(type) : std::nullopt;
}

bool SwayIpc::send(Type type, const QByteArray& payload)
{
    if (m_socket->state() != QLocalSocket::ConnectedState) {
        qCWarning(lcWindowControl) << "the connection to the compositor on" << m_path << "is closed";
        return false;
    }
    m_socket->write(frame(type, payload));
    m_socket->flush();
    return true;
}

std::optional<QJsonDocument> SwayIpc::reply(Type type)
{
    // Events of a subscribed connection may come first; this one is used for requests only.
    for (;;) {
        const std::optional<Message> reply = readMessage(WindowControlConstants::kIpcTimeoutMs);
        if (!reply) {
            qCWarning(lcWindowControl) << "the compositor on" << m_path << "did not answer request" << type;
            return std::nullopt;
        }
        if (reply->type == type)
            return reply->json;
    }
}

std::optional<SwayIpc::Message> SwayIpc::takeEvent()
{
    if (m_broken)
        return std::nullopt;
    m_buffer.append(m_socket->readAll());
    if (auto message = takeMessage(m_buffer, &m_broken))
        return message;
    if (m_broken || !m_socket->waitForReadyRead(0))
        return std::nullopt;
    m_buffer.append(m_socket->readAll());
    return takeMessage(m_buffer, &m_broken);
}
