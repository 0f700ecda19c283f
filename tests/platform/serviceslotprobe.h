#pragma once

#include <QString>

#include <memory>

// A service for the slot tests: remembers the backend it was made for and counts the
// ones alive.
class ServiceSlotProbe
{
public:
    explicit ServiceSlotProbe(const QString& backend)
        : backend(backend)
    {
        ++alive;
    }
    ~ServiceSlotProbe() { --alive; }

    static std::unique_ptr<ServiceSlotProbe> create(const QString& backend)
    {
        return std::make_unique<ServiceSlotProbe>(backend);
    }

    const QString backend;
    static inline int alive = 0;
};
