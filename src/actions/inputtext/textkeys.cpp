#include "textkeys.h"

namespace TextKeys {
namespace {

struct Key
{
    quint16 code = 0;
    bool shift = false;
    bool found = false;
};

// The printable ASCII characters, from the space, by the key that types them.
constexpr char kPlain[] = " abcdefghijklmnopqrstuvwxyz0123456789`-=[]\\;',./";
constexpr char kShifted[] = " ABCDEFGHIJKLMNOPQRSTUVWXYZ)!@#$%^&*(~_+{}|:\"<>?";
constexpr quint16 kCodes[] = {
    0x31,                                                                                // space
    0x00, 0x0B, 0x08, 0x02, 0x0E, 0x03, 0x05, 0x04, 0x22, 0x26, 0x28, 0x25, 0x2E,        // a-m
    0x2D, 0x1F, 0x23, 0x0C, 0x0F, 0x01, 0x11, 0x20, 0x09, 0x0D, 0x07, 0x10, 0x06,        // n-z
    0x1D, 0x12, 0x13, 0x14, 0x15, 0x17, 0x16, 0x1A, 0x1C, 0x19,                          // 0-9
    0x32, 0x1B, 0x18, 0x21, 0x1E, 0x2A, 0x29, 0x27, 0x2B, 0x2F, 0x2C,                    // `-=[]\;',./
};
static_assert(sizeof kPlain == sizeof kShifted && sizeof kPlain - 1 == sizeof kCodes / sizeof kCodes[0],
              "one key per character pair");

Key keyFor(QChar c)
{
    if (c == QLatin1Char('\n'))
        return {0x24, false, true};  // Return
    if (c == QLatin1Char('\t'))
        return {0x30, false, true};
    if (c.unicode() > 0x7e)
        return {};
    const char ascii = char(c.unicode());
    for (int i = 0; kPlain[i]; ++i) {
        if (kPlain[i] == ascii)
            return {kCodes[i], false, true};
        if (kShifted[i] == ascii)
            return {kCodes[i], i > 0, true};
    }
    return {};
}

} // namespace

KeyEventSequence sequenceFor(const QString& text, int* leftOut)
{
    KeyEventSequence keys;
    int missing = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r'))
            continue;  // a line ends once
        const Key key = keyFor(c);
        if (!key.found) {
            // A character outside the basic plane comes as two halves: one missing character.
            if (!c.isLowSurrogate())
                ++missing;
            continue;
        }
        keys << KeyEvent::press(key.code).withFlags(key.shift ? quint64(KeyEvent::ShiftFlag) : quint64(0)) << KeyEvent::release(key.code);
    }
    if (leftOut)
        *leftOut = missing;
    return keys;
}

} // namespace TextKeys
