#pragma once

#include "platform/keyboard/keyboardeventservice.h"
#include "platform/x11/xtestinjector.h"

// Sends sequences to the focused X11 window through XTEST. Modifier flags become held
// modifier keys around the key; whatever the sequence pressed is released by its end,
// and keys the user already holds are neither pressed again nor released.
class X11KeyboardService final : public KeyboardEventService
{
public:
    static std::unique_ptr<X11KeyboardService> open();

    QString name() const override;
    void post(const KeyEventSequence& events) override;

private:
    explicit X11KeyboardService(std::unique_ptr<XTestInjector> injector);

    std::unique_ptr<XTestInjector> m_injector;
};
