#include "keyevent.h"

KeyEvent KeyEvent::press(quint16 code, SourceState source, Tap tap)
{
    KeyEvent event;
    event.code = code;
    event.down = true;
    event.source = source;
    event.tap = tap;
    return event;
}

KeyEvent KeyEvent::release(quint16 code, SourceState source, Tap tap)
{
    KeyEvent event = press(code, source, tap);
    event.down = false;
    return event;
}

KeyEvent KeyEvent::withFlags(quint64 mask) const
{
    KeyEvent event = *this;
    event.setsFlags = true;
    event.flags = mask;
    return event;
}

bool KeyEvent::operator==(const KeyEvent& other) const
{
    return code == other.code && down == other.down && setsFlags == other.setsFlags
        && flags == other.flags && source == other.source && tap == other.tap;
}
