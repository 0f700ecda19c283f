#pragma once

#include "platform/keyboard/keyboardeventservice.h"

// Posts each event through the CoreGraphics event services, unchanged.
class MacKeyboardService final : public KeyboardEventService
{
public:
    QString name() const override;
    void post(const KeyEventSequence& events) override;
};
