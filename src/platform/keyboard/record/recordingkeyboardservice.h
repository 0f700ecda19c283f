#pragma once

#include "platform/keyboard/keyboardeventservice.h"

// Keeps every posted event, in order, and sends nothing. Used by tests and on
// machines without a keyboard injection facility.
class RecordingKeyboardService final : public KeyboardEventService
{
public:
    QString name() const override;
    void post(const KeyEventSequence& events) override;

    const KeyEventSequence& events() const { return m_events; }
    void clear() { m_events.clear(); }

private:
    KeyEventSequence m_events;
};
