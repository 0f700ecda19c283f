#pragma once

#include <QDBusContext>
#include <QMutex>
#include <QObject>
#include <QSemaphore>
#include <QStringList>

// What a test player exports at /org/mpris/MediaPlayer2: a player interface that records
// each method called on it. It lives in its player's thread; the fields below the mutex
// are shared with the test's thread and read or written under it.
class MprisPlayerObject : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    // What a controller (playerctl) asks before it calls: everything is allowed.
    Q_PROPERTY(bool CanControl READ can CONSTANT)
    Q_PROPERTY(bool CanPlay READ can CONSTANT)
    Q_PROPERTY(bool CanPause READ can CONSTANT)
    Q_PROPERTY(bool CanGoNext READ can CONSTANT)
    Q_PROPERTY(bool CanGoPrevious READ can CONSTANT)
    Q_PROPERTY(bool CanSeek READ can CONSTANT)

public:
    QString playbackStatus() const;
    bool can() const { return true; }

    mutable QMutex mutex;
    QString status;
    bool answering = true;
    QStringList calls;
    qint64 lastCallNs = 0;  // steady-clock time of the latest call
    QSemaphore arrivals;    // released once per call, after it is recorded

public slots:
    void PlayPause() { record(QStringLiteral("PlayPause")); }
    void Next() { record(QStringLiteral("Next")); }
    void Previous() { record(QStringLiteral("Previous")); }
    void Stop() { record(QStringLiteral("Stop")); }

private:
    void record(const QString& method);
};
