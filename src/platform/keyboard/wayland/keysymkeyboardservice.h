#pragma once

#include "platform/keyboard/keyboardeventservice.h"
#include "platform/wayland/keysymsender.h"

// Sends sequences on a Wayland session through the process-wide KeysymSender (virtual
// keyboard or RemoteDesktop portal). Key codes and modifier flags become keysyms as on
// X11; the sequence handed on is balanced: a key-up releases the modifiers of its
// key-down, and whatever is still down at the end is released, keys first, then
// modifiers, each in reverse pressing order.
class KeysymKeyboardService final : public KeyboardEventService
{
public:
    QString name() const override;
    void post(const KeyEventSequence& events) override;

    static KeysymSequence translate(const KeyEventSequence& events);
};
