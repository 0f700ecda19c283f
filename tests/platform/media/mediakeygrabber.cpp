#include "mediakeygrabber.h"

#include <QDeadlineTimer>

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>

#include <poll.h>

namespace {

constexpr KeySym kMediaKeysyms[] = {XF86XK_AudioPlay, XF86XK_AudioNext, XF86XK_AudioPrev,
                                     XF86XK_AudioMute, XF86XK_AudioRaiseVolume, XF86XK_AudioLowerVolume};

bool g_grabRefused = false;

int noteRefusal(Display*, XErrorEvent* error)
{
    if (error->error_code == BadAccess)
        g_grabRefused = true;
    return 0;
}

} // namespace

std::unique_ptr<MediaKeyGrabber> MediaKeyGrabber::open(QString* error)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        *error = QStringLiteral("no X display");
        return nullptr;
    }
    std::unique_ptr<MediaKeyGrabber> grabber(new MediaKeyGrabber(display));
    *error = grabber->grabAll();
    return error->isEmpty() ? std::move(grabber) : nullptr;
}

MediaKeyGrabber::MediaKeyGrabber(Display* display)
    : m_display(display)
{
}

MediaKeyGrabber::~MediaKeyGrabber()
{
    XUngrabKey(m_display, AnyKey, AnyModifier, DefaultRootWindow(m_display));
    XCloseDisplay(m_display);
}

QString MediaKeyGrabber::grabAll()
{
    const Window root = DefaultRootWindow(m_display);
    for (KeySym keysym : kMediaKeysyms) {
        const KeyCode code = XKeysymToKeycode(m_display, keysym);
        if (!code)
            return QString::fromLatin1(XKeysymToString(keysym)) + QStringLiteral(" is not in the server's key map");
        m_keys.insert(code, QString::fromLatin1(XKeysymToString(keysym)));
    }
    auto previous = XSetErrorHandler(noteRefusal);
    g_grabRefused = false;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it)
        XGrabKey(m_display, it.key(), AnyModifier, root, False, GrabModeAsync, GrabModeAsync);
    XSync(m_display, False);
    XSetErrorHandler(previous);
    return g_grabRefused ? QStringLiteral("another client holds a media key") : QString();
}

void MediaKeyGrabber::readPending(QStringList& into)
{
    while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type != KeyPress && event.type != KeyRelease)
            continue;
        const QString name = m_keys.value(quint8(event.xkey.keycode));
        if (!name.isEmpty())
            into << (event.type == KeyPress ? QLatin1Char('+') : QLatin1Char('-')) + name;
    }
}

QStringList MediaKeyGrabber::take(int count, int deadlineMs)
{
    QStringList events;
    const QDeadlineTimer deadline(deadlineMs);
    readPending(events);
    while (events.size() < count && !deadline.hasExpired()) {
        pollfd fd = {ConnectionNumber(m_display), POLLIN, 0};
        poll(&fd, 1, int(deadline.remainingTime()));
        readPending(events);
    }
    return events;
}

QStringList MediaKeyGrabber::takeDelivered()
{
    XSync(m_display, False);
    QStringList events;
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
