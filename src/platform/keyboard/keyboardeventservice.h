#pragma once

#include "keyevent.h"

#include <QString>
#include <memory>

// Posts keyboard event sequences to the application that has the keyboard focus.
// One process-wide service, chosen at first use: SYSTEMDLL_KEYBOARD_BACKEND=record|x11|
// wayland|portal forces a backend; otherwise, on a Wayland session, the compositor's
// virtual keyboard or the RemoteDesktop portal, else X11 where a display is reachable,
// else recording.
// A sequence is posted whole and in order; no key is left down after it.
class KeyboardEventService
{
public:
    virtual ~KeyboardEventService() = default;

    virtual QString name() const = 0;
    virtual void post(const KeyEventSequence& events) = 0;

    static KeyboardEventService* instance();
    // Replaces the process-wide service (tests, hosts with their own choice).
    static void setInstance(std::unique_ptr<KeyboardEventService> service);
    static std::unique_ptr<KeyboardEventService> create(const QString& backend);

protected:
    KeyboardEventService() = default;
    Q_DISABLE_COPY(KeyboardEventService)
};
