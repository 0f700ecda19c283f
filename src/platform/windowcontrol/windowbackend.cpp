#include "windowbackend.h"

#include "none/emptywindowbackend.h"
#include "windowcontrolconstants.h"
#include "windowcontrollog.h"

#if defined(SYSTEMDLL_HAVE_XCB_WINDOWCONTROL)
#include "gnome/gnomewindowbackend.h"
#include "kwin/kwinwindowbackend.h"
#include "sway/swaywindowbackend.h"
#include "x11/x11windowbackend.h"
#endif
#if defined(Q_OS_MACOS)
#include "mac/macwindowbackend.h"
#endif

namespace {

#if defined(SYSTEMDLL_HAVE_XCB_WINDOWCONTROL)
bool isWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

std::unique_ptr<WindowBackend> swayBackend()
{
    const QString socket = SwayWindowBackend::sessionSocket();
    return socket.isEmpty() ? nullptr : SwayWindowBackend::open(socket);
}

bool isGnomeSession()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':')).contains(QLatin1String("GNOME"));
}

// The compositor's own way, whichever answers.
std::unique_ptr<WindowBackend> waylandDefault()
{
    if (auto sway = swayBackend())
        return sway;
    if (auto kwin = KWinWindowBackend::open())
        return kwin;
    QString problem;
    if (auto gnome = GnomeWindowBackend::open(&problem))
        return gnome;
    if (isGnomeSession()) {
        qCWarning(lcWindowControl).noquote() << QStringLiteral("no window control on GNOME: %1").arg(problem);
        return std::make_unique<EmptyWindowBackend>(WindowBackend::Missing::GnomeExtension);
    }
    return nullptr;
}
#endif

std::unique_ptr<WindowBackend> platformDefault()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<MacWindowBackend>();
#elif defined(SYSTEMDLL_HAVE_XCB_WINDOWCONTROL)
    if (isWaylandSession()) {
        if (auto wayland = waylandDefault())
            return wayland;
        qCWarning(lcWindowControl) << "this Wayland compositor offers no window control (no sway IPC socket,"
                                   << "no KWin scripting, no GNOME Shell extension):"
                                   << "only windows of X11 programs can be listed and controlled";
    }
    if (auto x11 = X11WindowBackend::open())
        return x11;
    qCWarning(lcWindowControl) << "no X display reachable: no windows can be listed or controlled";
    return std::make_unique<EmptyWindowBackend>();
#else
    qCWarning(lcWindowControl) << "no window control on this platform: no windows can be listed or controlled";
    return std::make_unique<EmptyWindowBackend>();
#endif
}

} // namespace

bool WindowBackend::appliesLater() const
{
    return false;
}

bool WindowBackend::settle(int, QRectF*)
{
    return false;
}

WindowBackend::Missing WindowBackend::missing() const
{
    return Missing::Nothing;
}

bool WindowBackend::watchFocus(FocusListener)
{
    return false;
}

FocusedWindow WindowBackend::focusedWindow()
{
    return {};
}

std::unique_ptr<WindowBackend> WindowBackend::create()
{
    return create(qEnvironmentVariable(WindowControlConstants::kBackendVariable));
}

std::unique_ptr<WindowBackend> WindowBackend::create(const QString& backend)
{
    if (backend == QLatin1String(WindowControlConstants::kNoBackend))
        return std::make_unique<EmptyWindowBackend>();
#if defined(SYSTEMDLL_HAVE_XCB_WINDOWCONTROL)
    if (backend == QLatin1String(WindowControlConstants::kX11Backend)) {
        if (auto x11 = X11WindowBackend::open())
            return x11;
        qCWarning(lcWindowControl) << "X11 window control requested but no X display is reachable:"
                                   << "no windows can be listed or controlled";
        return std::make_unique<EmptyWindowBackend>();
    }
    if (backend == QLatin1String(WindowControlConstants::kGnomeBackend)) {
        QString problem;
        if (auto gnome = GnomeWindowBackend::open(&problem))
            return gnome;
        qCWarning(lcWindowControl).noquote() << QStringLiteral("no window control on GNOME: %1").arg(problem);
        return std::make_unique<EmptyWindowBackend>(WindowBackend::Missing::GnomeExtension);
    }
    if (backend == QLatin1String(WindowControlConstants::kKWinBackend)) {
        QString problem;
        if (auto kwin = KWinWindowBackend::open(&problem))
            return kwin;
        qCWarning(lcWindowControl).noquote()
            << QStringLiteral("KWin window control requested but %1: no windows can be listed or controlled").arg(problem);
        return std::make_unique<EmptyWindowBackend>();
    }
    if (backend == QLatin1String(WindowControlConstants::kSwayBackend)) {
        if (auto sway = swayBackend())
            return sway;
        qCWarning(lcWindowControl) << "sway window control requested but no compositor answers on"
                                   << SwayWindowBackend::sessionSocket() << "- no windows can be listed or controlled";
        return std::make_unique<EmptyWindowBackend>();
    }
#endif
    if (!backend.isEmpty())
        qCWarning(lcWindowControl) << "unknown window control backend" << backend << "- using the default";
    return platformDefault();
}

bool WindowBackend::isListed(int index, qsizetype count, const char* operation)
{
    if (index >= 0 && index < count)
        return true;
    qCWarning(lcWindowControl) << operation << "ignored: no window" << index << "in the last listing";
    return false;
}
