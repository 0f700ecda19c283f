#include "mackeyboardservice.h"

#include "platform/platformlog.h"

#include <ApplicationServices/ApplicationServices.h>

namespace {

// The Mac key in place of a PC key (Help, F13 to F15, Clear, the menu key); -1 for none.
int macCodeFor(quint16 code)
{
    switch (code) {
    case PcKeyCode::kInsert: return 0x72;
    case PcKeyCode::kPrint: return 0x69;
    case PcKeyCode::kScrollLock: return 0x6B;
    case PcKeyCode::kPause: return 0x71;
    case PcKeyCode::kNumLock: return 0x47;
    case PcKeyCode::kMenu: return 0x6E;
    default: return code < PcKeyCode::kFirst ? code : -1;
    }
}

} // namespace

QString MacKeyboardService::name() const
{
    return QStringLiteral("mac");
}

void MacKeyboardService::post(const KeyEventSequence& events)
{
    for (const KeyEvent& event : events) {
        const int code = macCodeFor(event.code);
        if (code < 0) {
            qCWarning(lcKeyboard) << "no Mac key for key code" << event.code << "- skipped";
            continue;
        }
        CGEventSourceRef source = CGEventSourceCreate(CGEventSourceStateID(event.source));
        CGEventRef cgEvent = CGEventCreateKeyboardEvent(source, CGKeyCode(code), event.down);
        if (cgEvent) {
            if (event.setsFlags)
                CGEventSetFlags(cgEvent, CGEventFlags(event.flags));
            CGEventPost(CGEventTapLocation(event.tap), cgEvent);
            CFRelease(cgEvent);
        }
        if (source)
            CFRelease(source);
    }
}
