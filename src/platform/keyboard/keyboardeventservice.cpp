#include "keyboardeventservice.h"

#include "platform/platformlog.h"
#include "platform/serviceslot.h"
#include "record/recordingkeyboardservice.h"

#if defined(SYSTEMDLL_HAVE_X11)
#include "x11/x11keyboardservice.h"
#endif
#if defined(Q_OS_MACOS)
#include "mac/mackeyboardservice.h"
#endif

namespace {
const char* const kBackendVariable = "SYSTEMDLL_KEYBOARD_BACKEND";

std::unique_ptr<KeyboardEventService> platformDefault()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<MacKeyboardService>();
#elif defined(SYSTEMDLL_HAVE_X11)
    if (auto x11 = X11KeyboardService::open())
        return x11;
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
