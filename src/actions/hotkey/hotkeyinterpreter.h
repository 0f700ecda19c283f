#pragma once

#include "platform/keyboard/keyevent.h"

#include <QString>

// Turns a stored hotkey string ("Ctrl+Shift+A", "Shift+1", "F5", "=") into the
// keyboard events one trigger posts: a single key-down carrying the hotkey's
// modifier flags, or nothing when the string names no key we can send. The
// inspector's key-pad form ("Ctrl+5NUMPAD", "Ctrl++NUMPAD") sends the key-pad key.
namespace HotkeyInterpreter {

KeyEventSequence events(const QString& hotkey);

// The virtual key code of a Qt key value (a PC key code of keyevent.h for the PC keys
// macOS lacks); characters the key table does not hold pass through as their low
// 16 bits. For special keys it does not hold (0x01000000 and above) events() sends
// nothing.
quint16 macKeyCode(int qtKey);

// The event flag of a modifier name ("Shift", "Meta", "Alt", "Ctrl"), 0 for others.
quint64 modifierFlag(const QString& name);

} // namespace HotkeyInterpreter
