#pragma once

#include <QtGlobal>
#include <QVector>

// One synthetic keyboard event as the actions produce it: a macOS virtual key code,
// a direction, optionally the exact modifier mask to carry, the event source state
// and the event tap. Backends translate it to their platform.
struct KeyEvent
{
    enum Modifier : quint64 {
        ShiftFlag = 0x20000,
        ControlFlag = 0x40000,
        OptionFlag = 0x80000,
        CommandFlag = 0x100000,
        AllModifierFlags = ShiftFlag | ControlFlag | OptionFlag | CommandFlag,
    };
    enum SourceState : int { HidSystemState = 1, PrivateState = -1 };
    enum Tap : int { HidEventTap = 0, SessionEventTap = 1 };

    quint16 code = 0;
    bool down = true;
    bool setsFlags = false;  // false: the event keeps whatever its source gives it
    quint64 flags = 0;
    SourceState source = PrivateState;
    Tap tap = HidEventTap;

    static KeyEvent press(quint16 code, SourceState source = PrivateState, Tap tap = HidEventTap);
    static KeyEvent release(quint16 code, SourceState source = PrivateState, Tap tap = HidEventTap);
    KeyEvent withFlags(quint64 mask) const;

    bool operator==(const KeyEvent& other) const;
    bool operator!=(const KeyEvent& other) const { return !(*this == other); }
};

using KeyEventSequence = QVector<KeyEvent>;

// Well-known macOS virtual key codes used by the actions.
namespace MacKeyCode {
constexpr quint16 kH = 0x04;
constexpr quint16 kV = 0x09;
constexpr quint16 kKeypadEnter = 0x4C;
}
