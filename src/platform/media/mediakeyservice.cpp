#include "mediakeyservice.h"

#include "medialog.h"
#include "platform/serviceslot.h"
#include "record/recordingmediakeyservice.h"

#include <QCoreApplication>

#if defined(SYSTEMDLL_HAVE_X11)
#include "mpris/mprismediakeyservice.h"
#include "platform/wayland/keysymsender.h"
#include "platform/wayland/waylandsession.h"
#include "wayland/keysymmediakeyservice.h"
#include "x11/x11mediakeyservice.h"

#include <QDBusConnection>
#endif
#if defined(Q_OS_MACOS)
#include "mac/macmediakeyservice.h"
#endif

namespace {

#if defined(SYSTEMDLL_HAVE_X11)
std::unique_ptr<MediaKeyService> x11OrRecording()
{
    if (WaylandSession::isActive() && KeysymSender::instance()->isAvailable())
        return std::make_unique<KeysymMediaKeyService>();  // XTEST reaches XWayland programs only
    if (auto x11 = X11MediaKeyService::open())
        return x11;
    qCWarning(lcMedia) << "no X display reachable: media keys are recorded, not sent";
    return std::make_unique<RecordingMediaKeyService>();
}

std::unique_ptr<MediaKeyService> mprisOver(std::unique_ptr<MediaKeyService> fallback)
{
    return std::make_unique<MprisMediaKeyService>(QDBusConnection::sessionBus(), std::move(fallback));
}
#endif

std::unique_ptr<MediaKeyService> platformDefault()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<MacMediaKeyService>();
#elif defined(SYSTEMDLL_HAVE_X11)
    // The bus needs an application's event loop; without one only X11 is of use.
    if (!QCoreApplication::instance())
        qCInfo(lcMedia) << "no application to serve the session bus: media keys go to X11";
    else if (!QDBusConnection::sessionBus().isConnected())
        qCInfo(lcMedia) << "no session bus: media keys go to X11";
    else
        return mprisOver(x11OrRecording());
    return x11OrRecording();
#else
    qCWarning(lcMedia) << "no media-key facility on this platform: media keys are recorded, not sent";
    return std::make_unique<RecordingMediaKeyService>();
#endif
}

ServiceSlot<MediaKeyService> s_current(MediaBackend::kVariable, [](const MediaKeyService& service) {
    qCDebug(lcMedia) << "media backend:" << service.name();
});

} // namespace

std::unique_ptr<MediaKeyService> MediaKeyService::create(const QString& backend)
{
    if (backend == QLatin1String(MediaBackend::kRecord))
        return std::make_unique<RecordingMediaKeyService>();
#if defined(SYSTEMDLL_HAVE_X11)
    if (backend == QLatin1String(MediaBackend::kX11))
        return x11OrRecording();
    if (backend == QLatin1String(MediaBackend::kMpris))
        return mprisOver(x11OrRecording());
#endif
    if (!backend.isEmpty())
        qCWarning(lcMedia) << "unknown media backend" << backend << "- using the default";
    return platformDefault();
}

MediaKeyService* MediaKeyService::instance()
{
    return s_current.instance();
}

void MediaKeyService::setInstance(std::unique_ptr<MediaKeyService> service)
{
    s_current.setInstance(std::move(service));
}
