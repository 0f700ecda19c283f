#include "mprisplayerobject.h"

#include <chrono>

QString MprisPlayerObject::playbackStatus() const
{
    QMutexLocker lock(&mutex);
    return status;
}

void MprisPlayerObject::record(const QString& method)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    {
        QMutexLocker lock(&mutex);
        lastCallNs = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
        calls << method;
        if (!answering)
            setDelayedReply(true);  // and never reply
    }
    arrivals.release();
}
