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
constexpr quint16 kTab = 0x30;
constexpr quint16 kKeypadEnter = 0x4C;
constexpr quint16 kVolumeUp = 0x48;
constexpr quint16 kVolumeDown = 0x49;
constexpr quint16 kMute = 0x4A;
}

// Keys of a PC keyboard that have no macOS virtual key code: codes of our own, above
// the macOS range (0 to 0x7F) and above the Latin-1 characters that pass through as
// codes. The X11 backend types the key each one names; on macOS the keys a Mac
// keyboard has in their place stand in (Insert is Help, Print, Scroll Lock and Pause
// are F13 to F15), and the others are not sent.
namespace PcKeyCode {
constexpr quint16 kFirst = 0x100;
constexpr quint16 kInsert = 0x100;
constexpr quint16 kPrint = 0x101;
constexpr quint16 kPause = 0x102;
constexpr quint16 kScrollLock = 0x103;
constexpr quint16 kNumLock = 0x104;
constexpr quint16 kMenu = 0x105;
constexpr quint16 kMediaPlay = 0x110;
constexpr quint16 kMediaPause = 0x111;
constexpr quint16 kMediaStop = 0x112;
constexpr quint16 kMediaPrevious = 0x113;
constexpr quint16 kMediaNext = 0x114;
constexpr quint16 kMediaRecord = 0x115;
constexpr quint16 kLaunchMedia = 0x116;
constexpr quint16 kBack = 0x120;
constexpr quint16 kForward = 0x121;
constexpr quint16 kStop = 0x122;
constexpr quint16 kRefresh = 0x123;
constexpr quint16 kHomePage = 0x124;
constexpr quint16 kFavorites = 0x125;
constexpr quint16 kSearch = 0x126;
constexpr quint16 kMail = 0x127;
constexpr quint16 kCalculator = 0x128;
}
