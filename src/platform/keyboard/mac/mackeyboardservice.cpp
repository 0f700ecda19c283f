#include "mackeyboardservice.h"

#include <ApplicationServices/ApplicationServices.h>

QString MacKeyboardService::name() const
{
    return QStringLiteral("mac");
}

void MacKeyboardService::post(const KeyEventSequence& events)
{
    for (const KeyEvent& event : events) {
        CGEventSourceRef source = CGEventSourceCreate(CGEventSourceStateID(event.source));
        CGEventRef cgEvent = CGEventCreateKeyboardEvent(source, CGKeyCode(event.code), event.down);
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
