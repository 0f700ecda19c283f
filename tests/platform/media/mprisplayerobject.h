#pragma once

#include <QDBusContext>
#include <QMutex>
#include <QObject>
#include <QSemaphore>
#include <QStringList>

// The object a test player exports at /org/mpris/MediaPlayer2: the player interface
// of a media player that records each method called on it, with the steady-clock
// time of its arrival. It lives in its player's thread; the accessors are for others.
class MprisPlayerObject : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(bool CanControl READ yes)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanGoNext READ yes)
    Q_PROPERTY(bool CanGoPrevious READ yes)

public:
    explicit MprisPlayerObject(const QString& status);

    QString playbackStatus() const;
    void setPlaybackStatus(const QString& status);
    // When false, calls are taken in but never answered.
    void setAnswering(bool answering);
    QStringList calls() const;
    qint64 lastCallNs() const;
    // Released once per call that arrives.
    QSemaphore& arrivals() { return m_arrivals; }

    bool yes() const { return true; }

public slots:
    void PlayPause() { record(QStringLiteral("PlayPause")); }
    void Play() { record(QStringLiteral("Play")); }
    void Pause() { record(QStringLiteral("Pause")); }
    void Stop() { record(QStringLiteral("Stop")); }
    void Next() { record(QStringLiteral("Next")); }
    void Previous() { record(QStringLiteral("Previous")); }

private:
    void record(const QString& method);

    mutable QMutex m_mutex;
    QString m_status;
    bool m_answering = true;
    QStringList m_calls;
    qint64 m_lastCallNs = 0;
    QSemaphore m_arrivals;
};
