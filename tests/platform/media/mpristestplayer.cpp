#include "mpristestplayer.h"

#include "mprisplayerobject.h"

#include <QDBusConnection>

static const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");

MprisTestPlayer::MprisTestPlayer(const QString& name, const QString& status, bool answering)
    : m_busName(QStringLiteral("org.mpris.MediaPlayer2.") + name)
    , m_connectionName(QStringLiteral("test player ") + name)
    , m_object(new MprisPlayerObject)
{
    m_object->status = status;
    m_object->answering = answering;
    m_object->moveToThread(&m_thread);
    m_thread.start();
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    QMetaObject::invokeMethod(
        m_object,
        [&] {
            m_registered = bus.isConnected()
                && bus.registerObject(kPath, m_object, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties)
                && bus.registerService(m_busName);
        },
        Qt::BlockingQueuedConnection);
}

MprisTestPlayer::~MprisTestPlayer()
{
    QDBusConnection bus(m_connectionName);
    QMetaObject::invokeMethod(
        m_object,
        [&] {
            bus.unregisterService(m_busName);
            bus.unregisterObject(kPath);
        },
        Qt::BlockingQueuedConnection);
    QDBusConnection::disconnectFromBus(m_connectionName);
    m_thread.quit();
    m_thread.wait();
    delete m_object;
}

QStringList MprisTestPlayer::calls() const
{
    QMutexLocker lock(&m_object->mutex);
    return m_object->calls;
}

qint64 MprisTestPlayer::waitForCall(int deadlineMs)
{
    if (!m_object->arrivals.tryAcquire(1, deadlineMs))
        return -1;
    QMutexLocker lock(&m_object->mutex);
    return m_object->lastCallNs;
}
