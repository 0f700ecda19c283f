// The library's only exported symbols: the host finds the package through these two.
#include "package/systemdll.h"
#include "systemdll_export.h"

namespace {
constexpr int kSdkLevel = 4;
}

extern "C" SYSTEMDLL_EXPORT int sdk()
{
    return kSdkLevel;
}

extern "C" SYSTEMDLL_EXPORT IBuiltInPackageLibrary* instance()
{
    return new SystemDll();
}
