#include "mprisplayerobject.h"

#include <chrono>

MprisPlayerObject::MprisPlayerObject(const QString& status)
    : m_status(status)
{
}

QString MprisPlayerObject::playbackStatus() const
{
    QMutexLocker lock(&m_mutex);
    return m_status;
}

void MprisPlayerObject::setPlaybackStatus(const QString& status)
{
    QMutexLocker lock(&m_mutex);
    m_status = status;
}

void MprisPlayerObject::setAnswering(bool answering)
{
    QMutexLocker lock(&m_mutex);
    m_answering = answering;
}

QStringList MprisPlayerObject::calls() const
{
    QMutexLocker lock(&m_mutex);
    return m_calls;
}

qint64 MprisPlayerObject::lastCallNs() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastCallNs;
}

void MprisPlayerObject::record(const QString& method)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    {
        QMutexLocker lock(&m_mutex);
        m_lastCallNs = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
        m_calls << method;
        if (!m_answering)
            setDelayedReply(true);  // and never reply
    }
    m_arrivals.release();
}
