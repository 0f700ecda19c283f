#pragma once

#include <QHash>
#include <QStringList>

#include <memory>

struct _XDisplay;

// A second X client that grabs the six media keys on the root window, as a desktop does.
// Events read as "+XF86AudioPlay" (press) and "-XF86AudioPlay" (release).
class MediaKeyGrabber
{
public:
    // Null, with the reason in `error`, when the display cannot be opened or a grab is refused.
    static std::unique_ptr<MediaKeyGrabber> open(QString* error);
    ~MediaKeyGrabber();

    // Waits until `count` events have come (at most `deadlineMs`) and returns what came.
    QStringList take(int count, int deadlineMs = 5000);
    // The same, then what else the server has sent by a round trip later.
    QStringList takeAll(int count);
    QStringList keysDown() const;  // the grabbed keys that are down

private:
    explicit MediaKeyGrabber(_XDisplay* display) : m_display(display) {}
    void readPending(QStringList& into);

    _XDisplay* m_display;
    QHash<quint8, QString> m_keys;  // keycode -> keysym name
};
