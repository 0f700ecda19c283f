#include "portalrequest.h"

#include "waylandlog.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QUuid>

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

QString newToken()
{
    return QStringLiteral("systemdll_") + QUuid::createUuid().toString(QUuid::Id128);
}
}

PortalRequest::PortalRequest(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
{
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, [this] { finish(TimedOut, {}); });
}

PortalRequest* PortalRequest::call(const QDBusConnection& bus, const QString& interface, const QString& method,
                                   QVariantList arguments, int timeLimitMs, QObject* parent)
{
    auto* request = new PortalRequest(bus, parent);
    const QString token = newToken();
    QVariantMap options = arguments.isEmpty() ? QVariantMap() : arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments << options;
    // /org/freedesktop/portal/desktop/request/SENDER/TOKEN, SENDER the unique name
    // without its colon, dots as underscores.
    QString sender = bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    request->listen(kObject + QStringLiteral("/request/") + sender + QLatin1Char('/') + token);

    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, interface, method);
    message.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, timeLimitMs), request);
    connect(watcher, &QDBusPendingCallWatcher::finished, request, [request, method](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            qCWarning(lcPortal).noquote() << "portal call" << method << "failed:" << reply.error().message();
            request->finish(CallFailed, {});
        } else if (reply.value().path() != request->m_path) {
            request->listen(reply.value().path());  // an older portal chose its own path
        }
    });
    request->m_limit.start(timeLimitMs);
    return request;
}

void PortalRequest::listen(const QString& path)
{
    if (!m_path.isEmpty())
        m_bus.disconnect(kService, m_path, kRequest, QStringLiteral("Response"), this,
                         SLOT(onResponse(uint, QVariantMap)));
    m_path = path;
    m_bus.connect(kService, m_path, kRequest, QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
}

void PortalRequest::onResponse(uint response, const QVariantMap& results)
{
    finish(int(response), results);
}

void PortalRequest::finish(int response, const QVariantMap& results)
{
    if (m_done)
        return;
    m_done = true;
    m_limit.stop();
    m_bus.disconnect(kService, m_path, kRequest, QStringLiteral("Response"), this, SLOT(onResponse(uint, QVariantMap)));
    emit finished(response, results);
    deleteLater();
}
