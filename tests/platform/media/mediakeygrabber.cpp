#include "mediakeygrabber.h"

#include <QDeadlineTimer>

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>

#include <poll.h>

static bool g_grabRefused = false;  // set by the error handler while grabbing

std::unique_ptr<MediaKeyGrabber> MediaKeyGrabber::open(QString* error)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        *error = QStringLiteral("no X display");
        return nullptr;
    }
    std::unique_ptr<MediaKeyGrabber> grabber(new MediaKeyGrabber(display));
    for (KeySym keysym : {XF86XK_AudioPlay, XF86XK_AudioNext, XF86XK_AudioPrev, XF86XK_AudioMute,
                          XF86XK_AudioRaiseVolume, XF86XK_AudioLowerVolume}) {
        if (const KeyCode code = XKeysymToKeycode(display, keysym))
            grabber->m_keys.insert(code, QString::fromLatin1(XKeysymToString(keysym)));
        else
            *error = QString::fromLatin1(XKeysymToString(keysym)) + QStringLiteral(" is not in the server's key map");
    }
    g_grabRefused = false;
    auto previous = XSetErrorHandler([](Display*, XErrorEvent* e) {
        g_grabRefused = g_grabRefused || e->error_code == BadAccess;
        return 0;
    });
    for (auto it = grabber->m_keys.cbegin(); it != grabber->m_keys.cend(); ++it)
        XGrabKey(display, it.key(), AnyModifier, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (g_grabRefused)
        *error = QStringLiteral("another client holds a media key");
    return error->isEmpty() ? std::move(grabber) : nullptr;
}

MediaKeyGrabber::~MediaKeyGrabber()
{
    XUngrabKey(m_display, AnyKey, AnyModifier, DefaultRootWindow(m_display));
    XCloseDisplay(m_display);
}

void MediaKeyGrabber::readPending(QStringList& into)
{
    while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
        const bool press = event.type == KeyPress;
        if (press || event.type == KeyRelease) {
            if (const QString name = m_keys.value(quint8(event.xkey.keycode)); !name.isEmpty())
                into << (press ? QLatin1Char('+') : QLatin1Char('-')) + name;
        }
    }
}

QStringList MediaKeyGrabber::take(int count, int deadlineMs)
{
    QStringList events;
    const QDeadlineTimer deadline(deadlineMs);
    for (readPending(events); events.size() < count && !deadline.hasExpired(); readPending(events)) {
        pollfd fd = {ConnectionNumber(m_display), POLLIN, 0};
        poll(&fd, 1, int(deadline.remainingTime()));
    }
    return events;
}

QStringList MediaKeyGrabber::takeAll(int count)
{
    QStringList events = take(count);
    XSync(m_display, False);
    readPending(events);
    return events;
}

QStringList MediaKeyGrabber::keysDown() const
{
    char map[32] = {};
    XQueryKeymap(m_display, map);
    QStringList down;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it) {
        if ((map[it.key() / 8] >> (it.key() % 8)) & 1)
            down << it.value();
    }
    return down;
}
