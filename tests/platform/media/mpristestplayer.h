#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

class MprisPlayerObject;

// A media player registered as org.mpris.MediaPlayer2.<name> on a session-bus connection
// and in a thread of its own: it answers even while the test's thread blocks.
class MprisTestPlayer
{
public:
    // One that is not `answering` takes calls in but never answers them.
    MprisTestPlayer(const QString& name, const QString& status, bool answering = true);
    ~MprisTestPlayer();

    bool isRegistered() const { return m_registered; }
    QString busName() const { return m_busName; }
    QStringList calls() const;
    // Waits for the next call to arrive (at most `deadlineMs`); its steady-clock time in ns, or -1.
    qint64 waitForCall(int deadlineMs);

private:
    QString m_busName;
    QString m_connectionName;
    QThread m_thread;
    MprisPlayerObject* m_object = nullptr;  // lives in m_thread; deleted after it ends
    bool m_registered = false;
};
