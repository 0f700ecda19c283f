#include "keyboardeventservice.h"

#include "platform/platformlog.h"
#include "platform/serviceslot.h"
#include "record/recordingkeyboardservice.h"

#if defined(SYSTEMDLL_HAVE_X11)
#include "platform/wayland/waylandsession.h"
#include "wayland/keysymkeyboardservice.h"
#include "x11/x11keyboardservice.h"
#endif
#if defined(Q_OS_MACOS)
#include "mac/mackeyboardservice.h"
#endif

namespace {
const char* const kBackendVariable = "SYSTEMDLL_KEYBOARD_BACKEND";

#if defined(SYSTEMDLL_HAVE_X11)
// On Wayland, XTEST reaches only programs under XWayland: keys go through the
// compositor's virtual keyboard or the RemoteDesktop portal (KeysymSender picks).
std::unique_ptr<KeyboardEventService> waylandService(const QString& backend, const QString& why)
{
    KeysymSender* sender = KeysymSender::instance();
    if (!backend.isEmpty() && sender->name() != backend) {
        KeysymSender::setInstance(KeysymSender::create(backend));
        sender = KeysymSender::instance();
    }
    qCInfo(lcKeyboard).noquote() << "keyboard backend" << sender->name() << "chosen:" << why;
    return std::make_unique<KeysymKeyboardService>();
}
#endif

std::unique_ptr<KeyboardEventService> platformDefault()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<MacKeyboardService>();
#elif defined(SYSTEMDLL_HAVE_X11)
    if (WaylandSession::isActive() && KeysymSender::instance()->isAvailable())
        return waylandService(QString(), WaylandSession::reason());
    if (auto x11 = X11KeyboardService::open()) {
        qCInfo(lcKeyboard) << "keyboard backend x11 chosen:"
                           << (WaylandSession::isActive() ? "no Wayland way, XTest reaches XWayland programs only"
                                                          : "an X11 session");
        return x11;
    }
    qCWarning(lcKeyboard) << "no X display reachable: keyboard events are recorded, not sent";
    return std::make_unique<RecordingKeyboardService>();
#else
    qCWarning(lcKeyboard) << "no keyboard injection on this platform: events are recorded, not sent";
    return std::make_unique<RecordingKeyboardService>();
#endif
}

ServiceSlot<KeyboardEventService> s_current(kBackendVariable, [](const KeyboardEventService& service) {
    qCDebug(lcKeyboard) << "keyboard backend:" << service.name();
});
}

std::unique_ptr<KeyboardEventService> KeyboardEventService::create(const QString& backend)
{
    if (backend == QLatin1String("record"))
        return std::make_unique<RecordingKeyboardService>();
#if defined(SYSTEMDLL_HAVE_X11)
    if (backend == QLatin1String("x11")) {
        if (auto x11 = X11KeyboardService::open())
            return x11;
        qCWarning(lcKeyboard) << "X11 keyboard backend requested but no display is reachable";
        return std::make_unique<RecordingKeyboardService>();
    }
    if (backend == QLatin1String(KeysymSender::kWayland) || backend == QLatin1String(KeysymSender::kPortal))
        return waylandService(backend, QStringLiteral("forced by ") + QLatin1String(kBackendVariable));
#endif
    if (!backend.isEmpty())
        qCWarning(lcKeyboard) << "unknown keyboard backend" << backend << "- using the default";
    return platformDefault();
}

KeyboardEventService* KeyboardEventService::instance()
{
    return s_current.instance();
}

void KeyboardEventService::setInstance(std::unique_ptr<KeyboardEventService> service)
{
    s_current.setInstance(std::move(service));
}
