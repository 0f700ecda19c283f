#include "profilewriter.h"

#include "profilestore.h"

#include <QMutexLocker>

ProfileWriter::ProfileWriter(QObject* parent)
    : QObject(parent)
    , m_worker(new QObject)
{
    m_thread.setObjectName(QStringLiteral("profile writer"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

ProfileWriter::~ProfileWriter()
{
    // Writes already handed over run first: a quit alone would drop them.
    QMetaObject::invokeMethod(m_worker, [] {}, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool ProfileWriter::claim(quint64 number)
{
    if (number <= m_done)
        return false;
    m_done = number;
    return true;
}

void ProfileWriter::writeLater(const std::shared_ptr<ProfileStore>& store, const QJsonObject& profile)
{
    const quint64 number = ++m_issued;
    QMetaObject::invokeMethod(m_worker, [this, store, profile, number] {
        QMutexLocker locked(&m_mutex);
        if (!claim(number))
            return;
        QString problem;
        if (store->save(profile, &problem))
            emit written();
        else
            emit failed(problem);
    }, Qt::QueuedConnection);
}

bool ProfileWriter::writeNow(ProfileStore& store, const QJsonObject& profile, QString* problem)
{
    const quint64 number = ++m_issued;
    QMutexLocker locked(&m_mutex);
    claim(number);
    return store.save(profile, problem);
}
