#pragma once

#include "platform/media/mediakeyservice.h"

// The media keys as XF86 keysyms through the Wayland session's KeysymSender (virtual
// keyboard or RemoteDesktop portal): the fallback for keys no media player takes, where
// XTEST would reach only XWayland programs. Nothing stays down after a sequence.
class KeysymMediaKeyService final : public MediaKeyService
{
public:
    QString name() const override;
    void post(const AuxKeyRecordSequence& records) override;
};
