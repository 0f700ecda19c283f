#include "windowbackend.h"

#include "none/emptywindowbackend.h"
#include "windowcontrolconstants.h"
#include "windowcontrollog.h"

#if defined(SYSTEMDLL_HAVE_XCB_WINDOWCONTROL)
#include "x11/x11windowbackend.h"
#endif
#if defined(Q_OS_MACOS)
#include "mac/macwindowbackend.h"
#endif

namespace {

std::unique_ptr<WindowBackend> platformDefault()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<MacWindowBackend>();
#elif defined(SYSTEMDLL_HAVE_XCB_WINDOWCONTROL)
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
#endif
    if (!backend.isEmpty())
        qCWarning(lcWindowControl) << "unknown window control backend" << backend << "- using the default";
    return platformDefault();
}
