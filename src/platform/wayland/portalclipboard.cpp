#include "portalclipboard.h"

#include "waylandlog.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kClipboard = QStringLiteral("org.freedesktop.portal.Clipboard");

QDBusMessage clipboardCall(const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, kClipboard, method);
    message.setArguments(arguments);
    return message;
}

// A string list inside a variant map arrives decoded or as a QDBusArgument.
QStringList stringList(const QVariant& value)
{
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QStringList>(value.value<QDBusArgument>());
    return value.toStringList();
}

// The descriptor of a reply, duplicated for us; -1 for an error or none.
int replyFd(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return -1;
    const auto fd = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
    return fd.isValid() ? fcntl(fd.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
}
} // namespace

PortalClipboard::PortalClipboard(const QDBusConnection& bus, const QString& session, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
    , m_session(session)
{
    m_bus.connect(kService, kObject, kClipboard, QStringLiteral("SelectionTransfer"), this,
                  SLOT(onTransfer(QDBusObjectPath, QString, uint)));
    m_bus.connect(kService, kObject, kClipboard, QStringLiteral("SelectionOwnerChanged"), this,
                  SLOT(onOwnerChanged(QDBusObjectPath, QVariantMap)));
}

void PortalClipboard::setSelection(const QStringList& types)
{
    m_sessionOwns = true;
    m_awaitingOwn = true;
    m_ownerTypes = types;
    m_bus.send(clipboardCall(QStringLiteral("SetSelection"),
                             {QVariant::fromValue(QDBusObjectPath(m_session)),
                              QVariantMap{{QStringLiteral("mime_types"), types}}}));
}

bool PortalClipboard::read(const QString& type, QByteArray& out, int deadlineMs)
{
    const QDeadlineTimer deadline(deadlineMs);
    const QDBusMessage reply = m_bus.call(
        clipboardCall(QStringLiteral("SelectionRead"), {QVariant::fromValue(QDBusObjectPath(m_session)), type}),
        QDBus::Block, int(qMax<qint64>(1, deadline.remainingTime())));
    const int fd = replyFd(reply);
    if (fd < 0) {
        qCDebug(lcPortal) << "the clipboard's" << type << "cannot be read:" << reply.errorMessage();
        return false;
    }
    char buffer[65536];
    bool complete = false;
    while (out.size() <= kMaxFormatBytes) {
        pollfd in{fd, POLLIN, 0};
        if (poll(&in, 1, int(qMax<qint64>(0, deadline.remainingTime()))) <= 0)
            break;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) {
            complete = true;
            break;
        }
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            break;
        if (n > 0)
            out.append(buffer, n);
    }
    close(fd);
    return complete;
}

void PortalClipboard::write(uint serial, const QByteArray& bytes)
{
    const QVariant session = QVariant::fromValue(QDBusObjectPath(m_session));
    auto* watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(clipboardCall(QStringLiteral("SelectionWrite"), {session, serial}), kTransferLimitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, session, serial, bytes](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const int fd = replyFd(w->reply());
        bool written = fd >= 0;
        if (fd >= 0) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            for (qsizetype done = 0; done < bytes.size();) {
                const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0) {
                    written = false;  // the reader went away
                    break;
                }
                done += n;
            }
            close(fd);
        } else {
            qCDebug(lcPortal) << "no transfer for the clipboard:" << w->error().message();
        }
        m_bus.send(clipboardCall(QStringLiteral("SelectionWriteDone"), {session, serial, written}));
    });
}

void PortalClipboard::onTransfer(const QDBusObjectPath& session, const QString& mimeType, uint serial)
{
    if (session.path() == m_session)
        emit transferRequested(mimeType, serial);
}

void PortalClipboard::onOwnerChanged(const QDBusObjectPath& session, const QVariantMap& options)
{
    if (session.path() != m_session)
        return;
    const bool ours = options.value(QStringLiteral("session_is_owner")).toBool();
    if (m_awaitingOwn && !ours)
        return;  // announced before our selection took over
    m_awaitingOwn = false;
    m_sessionOwns = ours;
    if (!ours)
        m_ownerTypes = stringList(options.value(QStringLiteral("mime_types")));
    qCDebug(lcPortal) << "clipboard owner changed, ours:" << ours << m_ownerTypes;
}
