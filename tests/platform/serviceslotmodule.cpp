// A library with a service slot of its own, loaded and unloaded by tst_serviceslot as a
// host loads and unloads the package.
#include "platform/serviceslot.h"
#include "serviceslotprobe.h"

namespace {
ServiceSlot<ServiceSlotProbe> s_current("TST_SERVICESLOT_BACKEND", nullptr);
}

extern "C" Q_DECL_EXPORT const char* serviceSlotModuleTake()
{
    return s_current.instance() ? "held" : "none";
}
