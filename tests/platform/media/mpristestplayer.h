#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

class MprisPlayerObject;

// A media player of the test's own on the session bus, registered as
// org.mpris.MediaPlayer2.<name> on a connection and in a thread of its own, so that
// it answers even while the test's thread waits in a blocking call.
class MprisTestPlayer
{
public:
    MprisTestPlayer(const QString& name, const QString& status);
    ~MprisTestPlayer();

    bool isRegistered() const { return m_registered; }
    QString busName() const { return m_busName; }
    QStringList calls() const;
    // Waits for the next call to arrive (at most `deadlineMs`); its steady-clock time in ns, or -1.
    qint64 waitForCall(int deadlineMs);
    // Sets the status and announces it as a property change, as players do.
    void setPlaybackStatus(const QString& status);
    void setAnswering(bool answering);

private:
    QString m_busName;
    QString m_connectionName;
    QThread m_thread;
    MprisPlayerObject* m_object = nullptr;  // lives in m_thread; deleted after it ends
    bool m_registered = false;
    Q_DISABLE_COPY(MprisTestPlayer)
};
