#include "hotkeyinterpreter.h"

#include <QKeySequence>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace HotkeyInterpreter {
namespace {

struct KeyCode
{
    int key;
    quint16 code;
};

// Qt key values to macOS virtual key codes (ANSI layout).
constexpr KeyCode kKeyTable[] = {
    {Qt::Key_Space, 0x31}, {Qt::Key_Comma, 0x2B}, {Qt::Key_Minus, 0x1B}, {Qt::Key_Period, 0x2F},
    {Qt::Key_Slash, 0x2C}, {Qt::Key_Semicolon, 0x29}, {Qt::Key_Less, 0x2F}, {Qt::Key_Equal, 0x18},
    {Qt::Key_BracketLeft, 0x21}, {Qt::Key_Backslash, 0x2A}, {Qt::Key_BracketRight, 0x1E},
    {Qt::Key_QuoteLeft, 0x27}, {Qt::Key_Agrave, 0x32},
    {Qt::Key_0, 0x1D}, {Qt::Key_1, 0x12}, {Qt::Key_2, 0x13}, {Qt::Key_3, 0x14}, {Qt::Key_4, 0x15},
    {Qt::Key_5, 0x17}, {Qt::Key_6, 0x16}, {Qt::Key_7, 0x1A}, {Qt::Key_8, 0x1C}, {Qt::Key_9, 0x19},
    {Qt::Key_A, 0x00}, {Qt::Key_B, 0x0B}, {Qt::Key_C, 0x08}, {Qt::Key_D, 0x02}, {Qt::Key_E, 0x0E},
    {Qt::Key_F, 0x03}, {Qt::Key_G, 0x05}, {Qt::Key_H, 0x04}, {Qt::Key_I, 0x22}, {Qt::Key_J, 0x26},
    {Qt::Key_K, 0x28}, {Qt::Key_L, 0x25}, {Qt::Key_M, 0x2E}, {Qt::Key_N, 0x2D}, {Qt::Key_O, 0x1F},
    {Qt::Key_P, 0x23}, {Qt::Key_Q, 0x0C}, {Qt::Key_R, 0x0F}, {Qt::Key_S, 0x01}, {Qt::Key_T, 0x11},
    {Qt::Key_U, 0x20}, {Qt::Key_V, 0x09}, {Qt::Key_W, 0x0D}, {Qt::Key_X, 0x07}, {Qt::Key_Y, 0x10},
    {Qt::Key_Z, 0x06},
    {Qt::Key_Escape, 0x35}, {Qt::Key_Tab, 0x30}, {Qt::Key_Backspace, 0x33}, {Qt::Key_Return, 0x24},
    {Qt::Key_Enter, 0x24}, {Qt::Key_Delete, 0x75}, {Qt::Key_Clear, 0x47}, {Qt::Key_Home, 0x73},
    {Qt::Key_End, 0x77}, {Qt::Key_Left, 0x7B}, {Qt::Key_Up, 0x7E}, {Qt::Key_Right, 0x7C},
    {Qt::Key_Down, 0x7D}, {Qt::Key_PageUp, 0x74}, {Qt::Key_PageDown, 0x79}, {Qt::Key_Shift, 0x38},
    {Qt::Key_Control, 0x37}, {Qt::Key_Meta, 0x3B}, {Qt::Key_Alt, 0x3A}, {Qt::Key_CapsLock, 0x39},
    {Qt::Key_F1, 0x7A}, {Qt::Key_F2, 0x78}, {Qt::Key_F3, 0x63}, {Qt::Key_F4, 0x76}, {Qt::Key_F5, 0x60},
    {Qt::Key_F6, 0x61}, {Qt::Key_F7, 0x62}, {Qt::Key_F8, 0x64}, {Qt::Key_F9, 0x65}, {Qt::Key_F10, 0x6D},
    {Qt::Key_F11, 0x67}, {Qt::Key_F12, 0x6F}, {Qt::Key_F13, 0x69}, {Qt::Key_F14, 0x6B},
    {Qt::Key_F15, 0x71}, {Qt::Key_F16, 0x6A}, {Qt::Key_F17, 0x40}, {Qt::Key_F18, 0x4F},
    {Qt::Key_F19, 0x50}, {Qt::Key_F20, 0x5A}, {Qt::Key_Help, 0x72},
    // The keys of a PC keyboard beyond the Mac's.
    {Qt::Key_Insert, PcKeyCode::kInsert}, {Qt::Key_Print, PcKeyCode::kPrint}, {Qt::Key_SysReq, PcKeyCode::kPrint},
    {Qt::Key_Pause, PcKeyCode::kPause}, {Qt::Key_ScrollLock, PcKeyCode::kScrollLock},
    {Qt::Key_NumLock, PcKeyCode::kNumLock}, {Qt::Key_Menu, PcKeyCode::kMenu},
    {Qt::Key_VolumeUp, MacKeyCode::kVolumeUp}, {Qt::Key_VolumeDown, MacKeyCode::kVolumeDown},
    {Qt::Key_VolumeMute, MacKeyCode::kMute}, {Qt::Key_MediaPlay, PcKeyCode::kMediaPlay},
    {Qt::Key_MediaTogglePlayPause, PcKeyCode::kMediaPlay}, {Qt::Key_MediaPause, PcKeyCode::kMediaPause},
    {Qt::Key_MediaStop, PcKeyCode::kMediaStop}, {Qt::Key_MediaPrevious, PcKeyCode::kMediaPrevious},
    {Qt::Key_MediaNext, PcKeyCode::kMediaNext}, {Qt::Key_MediaRecord, PcKeyCode::kMediaRecord},
    {Qt::Key_LaunchMedia, PcKeyCode::kLaunchMedia}, {Qt::Key_Back, PcKeyCode::kBack},
    {Qt::Key_Forward, PcKeyCode::kForward}, {Qt::Key_Stop, PcKeyCode::kStop}, {Qt::Key_Refresh, PcKeyCode::kRefresh},
    {Qt::Key_HomePage, PcKeyCode::kHomePage}, {Qt::Key_Favorites, PcKeyCode::kFavorites},
    {Qt::Key_Search, PcKeyCode::kSearch}, {Qt::Key_LaunchMail, PcKeyCode::kMail},
    {Qt::Key_Calculator, PcKeyCode::kCalculator},
};

// Qt's special keys start here; the ones the table does not hold have no key to send.
constexpr int kFirstSpecialKey = 0x01000000;

struct NamedCode
{
    const char16_t* text;
    quint16 code;
};

// A hotkey that is exactly one of these strings: mostly the key-pad keys.
constexpr NamedCode kSingleKeys[] = {
    {u"0", 0x52}, {u"1", 0x53}, {u"2", 0x54}, {u"3", 0x55}, {u"4", 0x56}, {u"5", 0x57},
    {u"6", 0x58}, {u"7", 0x59}, {u"8", 0x5B}, {u"9", 0x5C}, {u"-", 0x4E}, {u"*", 0x43},
    {u"/", 0x4B}, {u".", 0x41}, {u"=", 0x51}, {u"Enter", 0x4C}, {u"\uF739", 0x47},
    {u"`", 0x32}, {u"Up", 0x7E}, {u"Down", 0x7D}, {u"Left", 0x7B}, {u"Right", 0x7C},
};

const QString kLonePlus = QStringLiteral("+");
const QString kKeypadPlusForm = QStringLiteral("+NUMPAD");
const QString kKeypadSuffix = QStringLiteral("NUMPAD");
const QString kLoneEqual = QStringLiteral("=");
constexpr quint16 kKeypadPlus = 0x45;
constexpr quint16 kKeypadEquals = 0x51;
// The key-pad keys that have a form with NUMPAD appended besides the digits.
constexpr NamedCode kKeypadOperators[] = {{u"+", kKeypadPlus}, {u"-", 0x4E}, {u"*", 0x43}, {u"/", 0x4B}, {u".", 0x41}};
constexpr int kMaxTokens = 5;

int singleKeyCode(const QString& hotkey)
{
    const auto* it = std::find_if(std::begin(kSingleKeys), std::end(kSingleKeys),
                                  [&](const NamedCode& entry) { return hotkey == QStringView(entry.text); });
    return it == std::end(kSingleKeys) ? -1 : it->code;
}

bool isInKeyTable(int qtKey)
{
    return std::any_of(std::begin(kKeyTable), std::end(kKeyTable), [&](const KeyCode& entry) { return entry.key == qtKey; });
}

// The key of a token as the key-sequence parser reads it; 0 when it names no key.
int keyOf(const QString& text)
{
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::NativeText);
    if (sequence.isEmpty())
        return 0;
    const int key = sequence[0].key();
    return key == Qt::Key_unknown ? 0 : key;
}

// The key-pad code of the inspector's key-pad form of a key ("5NUMPAD", "+NUMPAD"), else -1.
int keypadFormCode(const QString& token)
{
    if (token.size() != kKeypadSuffix.size() + 1 || !token.endsWith(kKeypadSuffix))
        return -1;
    const QString key = token.left(1);
    if (key.at(0).isDigit())
        return singleKeyCode(key);
    const auto* it = std::find_if(std::begin(kKeypadOperators), std::end(kKeypadOperators),
                                  [&](const NamedCode& entry) { return key == QStringView(entry.text); });
    return it == std::end(kKeypadOperators) ? -1 : it->code;
}

// The virtual key code a hotkey's last token stands for, -1 when it names no key.
// A plus sign with modifiers ("Ctrl++", stored before the key-pad form) is the key-pad
// plus, as it is alone.
int keyCodeOf(const QString& token)
{
    const int keypad = keypadFormCode(token);
    if (keypad >= 0)
        return keypad;
    if (token == kLonePlus)
        return kKeypadPlus;
    const int key = keyOf(token);
    if (!key || (key >= kFirstSpecialKey && !isInKeyTable(key)))
        return -1;
    return macKeyCode(key);
}

// The tokens of a hotkey, modifiers first; a key that is the plus sign itself stays one
// token ("Ctrl++" is Ctrl and "+", "Ctrl++NUMPAD" Ctrl and "+NUMPAD").
QStringList tokensOf(const QString& hotkey)
{
    QStringList tokens = hotkey.split(QLatin1Char('+'), Qt::KeepEmptyParts);
    const qsizetype n = tokens.size();
    if (n >= 3 && tokens.at(n - 2).isEmpty() && (tokens.last().isEmpty() || tokens.last() == kKeypadSuffix)) {
        const QString key = kLonePlus + tokens.takeLast();
        tokens.last() = key;
    }
    return tokens;
}

quint64 flagsOf(const QStringList& tokens)
{
    const int modifiers = int(tokens.size()) - 1;
    if (modifiers == kMaxTokens - 1)
        return KeyEvent::AllModifierFlags;
    if (modifiers == 1) {
        const quint64 flag = modifierFlag(tokens.first());
        return flag ? flag : quint64(KeyEvent::ControlFlag);
    }
    quint64 flags = 0;
    for (int i = 0; i < modifiers; ++i)
        flags |= modifierFlag(tokens.at(i));
    return flags;
}

} // namespace

quint16 macKeyCode(int qtKey)
{
    const auto* it = std::find_if(std::begin(kKeyTable), std::end(kKeyTable),
                                  [&](const KeyCode& entry) { return entry.key == qtKey; });
    return it == std::end(kKeyTable) ? quint16(qtKey & 0xFFFF) : it->code;
}

quint64 modifierFlag(const QString& name)
{
    if (name == QLatin1String("Shift"))
        return KeyEvent::ShiftFlag;
    if (name == QLatin1String("Meta"))
        return KeyEvent::ControlFlag;
    if (name == QLatin1String("Alt"))
        return KeyEvent::OptionFlag;
    if (name == QLatin1String("Ctrl"))
        return KeyEvent::CommandFlag;
    return 0;
}

KeyEventSequence events(const QString& hotkey)
{
    if (hotkey == kLonePlus)
        return {KeyEvent::press(kKeypadPlus, KeyEvent::HidSystemState)};
    const QStringList tokens = tokensOf(hotkey);
    if (tokens.size() > kMaxTokens)
        return {};
    if (tokens.size() == 1) {
        if (hotkey == kLoneEqual)
            return {KeyEvent::press(kKeypadEquals, KeyEvent::PrivateState, KeyEvent::SessionEventTap)};
        const int single = singleKeyCode(hotkey);
        if (single >= 0)
            return {KeyEvent::press(quint16(single), KeyEvent::HidSystemState)};
    }
    // Shift+Tab is recorded as the key it makes, Backtab (with or without its Shift).
    const bool backtab = keyOf(tokens.last()) == Qt::Key_Backtab;
    const int code = backtab ? MacKeyCode::kTab : keyCodeOf(tokens.last());
    if (code < 0)
        return {};
    KeyEvent down = KeyEvent::press(quint16(code), KeyEvent::HidSystemState);
    if (tokens.size() > 1 || backtab)
        down = down.withFlags((tokens.size() > 1 ? flagsOf(tokens) : 0) | (backtab ? quint64(KeyEvent::ShiftFlag) : 0));
    return {down};
}

} // namespace HotkeyInterpreter
