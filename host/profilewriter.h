#pragma once

#include <QJsonObject>
#include <QMutex>
#include <QObject>
#include <QThread>

#include <memory>

class ProfileStore;

// Writes profiles off the GUI thread. A write handed over later is never overtaken by
// an older one: each gets a number, and a write older than the last one made is dropped.
class ProfileWriter : public QObject
{
    Q_OBJECT
public:
    explicit ProfileWriter(QObject* parent = nullptr);
    ~ProfileWriter() override;

    // Returns at once; the outcome comes as written() or failed().
    void writeLater(const std::shared_ptr<ProfileStore>& store, const QJsonObject& profile);
    // Writes now, on the calling thread, after any write in progress.
    bool writeNow(ProfileStore& store, const QJsonObject& profile, QString* problem);

signals:
    void written();
    void failed(const QString& problem);

private:
    bool claim(quint64 number);

    QThread m_thread;
    QObject* m_worker;  // lives in m_thread
    QMutex m_mutex;     // one write at a time
    quint64 m_issued = 0;
    quint64 m_done = 0;  // under m_mutex
};
