#include "mpristestplayer.h"

#include "mprisplayerobject.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

namespace {
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
}

MprisTestPlayer::MprisTestPlayer(const QString& name, const QString& status)
    : m_busName(QStringLiteral("org.mpris.MediaPlayer2.") + name)
    , m_connectionName(QStringLiteral("test player ") + name)
    , m_object(new MprisPlayerObject(status))
{
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
    return m_object->calls();
}

qint64 MprisTestPlayer::waitForCall(int deadlineMs)
{
    return m_object->arrivals().tryAcquire(1, deadlineMs) ? m_object->lastCallNs() : -1;
}

void MprisTestPlayer::setPlaybackStatus(const QString& status)
{
    m_object->setPlaybackStatus(status);
    QDBusMessage signal = QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << QVariantMap{{QStringLiteral("PlaybackStatus"), status}} << QStringList();
    QDBusConnection(m_connectionName).send(signal);
}

void MprisTestPlayer::setAnswering(bool answering)
{
    m_object->setAnswering(answering);
}
