#pragma once

#include <cstddef>

// The kit's button and mask images come from the package resources. A missing one
// only degrades the look, so it is reported once per process and path, never fatal.
class KyKitImages
{
public:
    // Logs a warning naming `owner` for each path that is not in the resources
    // and was not reported before. Returns the number of missing paths.
    template <std::size_t N>
    static int reportMissing(const char* owner, const char* const (&paths)[N])
    {
        return reportMissing(owner, paths, N);
    }
    static int reportMissing(const char* owner, const char* const* paths, std::size_t count);
};
