#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

// The process-wide "current service" of one platform service T: created at first use
// by T::create(backend name) from an environment variable, replaceable (tests, hosts
// with their own choice), and freed with the application, since a service may hold bus
// connections and Qt objects that must not outlive it. Without an application the
// service goes with the slot's static destructor.
//
// The slot lives at namespace scope in its service's source file (constant-initialised,
// so there is no start-up order to worry about), one slot per T. Its destructor runs
// when the library is unloaded, before or after the application has gone: it takes its
// post routine back, so that the application never calls into unloaded code.
// GUI thread only, like the services themselves.
template <typename T>
class ServiceSlot
{
public:
    // Called once per created service, to log which backend was chosen.
    using Announce = void (*)(const T& service);

    constexpr ServiceSlot(const char* backendVariable, Announce announce)
        : m_backendVariable(backendVariable)
        , m_announce(announce)
    {
    }

    ~ServiceSlot()
    {
        if (s_registered == this) {
            qRemovePostRoutine(&ServiceSlot::releaseWithApplication);
            s_registered = nullptr;
        }
        m_service.reset();
    }

    T* instance()
    {
        if (!m_service) {
            m_service = T::create(qEnvironmentVariable(m_backendVariable));
            if (m_service && m_announce)
                m_announce(*m_service);
        }
        followApplication();
        return m_service.get();
    }

    void setInstance(std::unique_ptr<T> service)
    {
        m_service = std::move(service);
        followApplication();
    }

    ServiceSlot(const ServiceSlot&) = delete;
    ServiceSlot& operator=(const ServiceSlot&) = delete;

private:
    // Once per application that the slot holds a service under.
    void followApplication()
    {
        if (!m_service || s_registered == this || !QCoreApplication::instance())
            return;
        qAddPostRoutine(&ServiceSlot::releaseWithApplication);
        s_registered = this;
    }

    static void releaseWithApplication()
    {
        ServiceSlot* slot = s_registered;
        s_registered = nullptr;
        if (slot)
            slot->m_service.reset();
    }

    // The slot whose post routine is registered: at most one per T.
    inline static ServiceSlot* s_registered = nullptr;

    const char* m_backendVariable;
    Announce m_announce;
    std::unique_ptr<T> m_service;
};
