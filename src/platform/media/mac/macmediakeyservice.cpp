#include "macmediakeyservice.h"

#include <IOKit/IOKitLib.h>
#include <IOKit/hidsystem/IOHIDLib.h>
#include <IOKit/hidsystem/IOHIDShared.h>
#include <IOKit/hidsystem/IOLLEvent.h>
#include <mach/mach.h>
#include <servers/bootstrap.h>

#include <algorithm>
#include <cstring>

// IOMasterPort and IOHIDPostEvent are deprecated in newer SDKs but still the way to
// post an auxiliary key to the HID system.
#pragma clang diagnostic ignored "-Wdeprecated-declarations"

namespace {

// The connection to the HID system, opened at the first post that can open it and
// kept for the life of the process.
io_connect_t get_event_driver()
{
    static io_connect_t cache = 0;
    if (cache)
        return cache;
    mach_port_t masterPort = 0;
    io_iterator_t iterator = 0;
    IOMasterPort(bootstrap_port, &masterPort);
    IOServiceGetMatchingServices(masterPort, IOServiceMatching(AuxKey::kHidSystemService), &iterator);
    const io_service_t service = IOIteratorNext(iterator);
    if (service) {
        IOServiceOpen(service, mach_task_self(), kIOHIDParamConnectType, &cache);
        IOObjectRelease(service);
    }
    if (iterator)
        IOObjectRelease(iterator);
    return cache;
}

} // namespace

QString MacMediaKeyService::name() const
{
    return QString::fromLatin1(MediaBackend::kMac);
}

void MacMediaKeyService::post(const AuxKeyRecordSequence& records)
{
    for (const AuxKeyRecord& record : records) {
        NXEventData event;
        std::memset(&event, 0, sizeof(event));
        std::memcpy(&event, record.bytes().data(), std::min(sizeof(event), record.bytes().size()));
        const IOGPoint location = {0, 0};
        IOHIDPostEvent(get_event_driver(), AuxKey::kEventTypeSysDefined, location, &event,
                       AuxKey::kEventDataVersion, 0, 0);
    }
}
