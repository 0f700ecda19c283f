#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

// One call to a desktop portal method that answers through a Request object: the
// Response signal on the request's path, or our own time limit. The request path is
// known before the call (the handle token is ours), so the answer cannot come before we
// listen. Emits finished once and deletes itself after.
class PortalRequest final : public QObject
{
    Q_OBJECT
public:
    // Response codes of the portal, and ours for no answer in time or a failed call.
    enum Response : int { Success = 0, Cancelled = 1, Ended = 2, TimedOut = 100, CallFailed = 101 };

    // Calls `method` of `interface` with `arguments`, whose last one is the options map
    // (the handle token is added to it).
    static PortalRequest* call(const QDBusConnection& bus, const QString& interface, const QString& method,
                               QVariantList arguments, int timeLimitMs, QObject* parent);

signals:
    void finished(int response, const QVariantMap& results);

private slots:
    void onResponse(uint response, const QVariantMap& results);

private:
    PortalRequest(const QDBusConnection& bus, QObject* parent);
    void listen(const QString& path);
    void finish(int response, const QVariantMap& results);

    QDBusConnection m_bus;
    QString m_path;
    QTimer m_limit;
    bool m_done = false;
};
