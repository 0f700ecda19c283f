#pragma once

#include "platform/media/mediakeyservice.h"

// Posts each record unchanged to the HID system service as a system-defined event,
// as a keyboard's media key would. A failed connection only makes the posts go
// nowhere; the next post tries to connect again.
class MacMediaKeyService final : public MediaKeyService
{
public:
    QString name() const override;
    void post(const AuxKeyRecordSequence& records) override;
};
