#pragma once

#include <QHash>
#include <QStringList>

#include <memory>

struct _XDisplay;

// A second X client that grabs the six media keysyms on the root window, as a
// desktop does, and reads the presses and releases that reach it. Events read as
// "+XF86AudioPlay" (press) and "-XF86AudioPlay" (release).
class MediaKeyGrabber
{
public:
    // Null, with the reason in `error`, when the display cannot be opened or a grab
    // is refused.
    static std::unique_ptr<MediaKeyGrabber> open(QString* error);
    ~MediaKeyGrabber();

    // Waits until `count` events have come (at most `deadlineMs`) and returns what came.
    QStringList take(int count, int deadlineMs = 5000);
    // What the server has delivered by now, after a round trip to it.
    QStringList takeDelivered();
    // The grabbed keysyms whose keys are down.
    QStringList keysDown() const;

private:
    explicit MediaKeyGrabber(_XDisplay* display);
    QString grabAll();  // the reason it failed, or empty
    void readPending(QStringList& into);

    _XDisplay* m_display = nullptr;
    QHash<quint8, QString> m_keys;  // keycode -> keysym name
    Q_DISABLE_COPY(MediaKeyGrabber)
};
