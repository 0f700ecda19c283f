#pragma once

#include "platform/media/mediakeyservice.h"
#include "platform/x11/xtestinjector.h"

// Presses and releases each media key as its XF86 keysym through XTEST, so that
// whatever grabs the media keys (a desktop, a player) reacts as to a real keyboard.
// Whatever a sequence pressed is released by its end; a key the user already holds
// is neither pressed again nor released.
class X11MediaKeyService final : public MediaKeyService
{
public:
    // Null when no display is reachable or the server lacks XTEST.
    static std::unique_ptr<X11MediaKeyService> open();

    QString name() const override;
    void post(const AuxKeyRecordSequence& records) override;

    // The keysym a key type is sent as, or 0 when it has none.
    static quint32 keysymForKeyType(quint8 keyType);

private:
    explicit X11MediaKeyService(std::unique_ptr<XTestInjector> injector);
    quint8 keycodeFor(const AuxKeyRecord& record);

    std::unique_ptr<XTestInjector> m_injector;
};
