#include "mediakeyservice.h"

#include "medialog.h"
#include "platform/serviceslot.h"
#include "record/recordingmediakeyservice.h"

#include <QCoreApplication>

#if defined(SYSTEMDLL_HAVE_X11)
#include "mpris/mprismediakeyservice.h"
#include "mpris/sessionbusprobe.h"
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

// Qt's name for the session bus connection it makes for sessionBus().
const QString kQtSessionBus = QStringLiteral("qt_default_session_bus");

// The session bus, unless connecting to it would hang: a bus that takes connections
// but does not answer (a stopped daemon) is found out within the probe's time, once;
// the player keys then go to the fallback for the rest of the run.
QDBusConnection sessionBus()
{
    static const bool silent = [] {
        if (QDBusConnection(kQtSessionBus).isConnected())
            return false;
        const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        if (address.isEmpty() || SessionBusProbe::answers(address, Mpris::kCallTimeoutMs))
            return false;
        qCWarning(lcMedia) << "the session bus does not answer within" << Mpris::kCallTimeoutMs << "ms: not used";
        return true;
    }();
    return silent ? QDBusConnection(QString()) : QDBusConnection::sessionBus();
}

std::unique_ptr<MediaKeyService> mprisOver(std::unique_ptr<MediaKeyService> fallback)
{
    return std::make_unique<MprisMediaKeyService>(sessionBus(), std::move(fallback));
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
    else if (!sessionBus().isConnected())
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

void MediaKeyService::postStop()
{
    post(auxKeyPress(MediaKeyType::kPlay));
}
