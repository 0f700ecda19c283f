#pragma once

#include "platform/media/mediakeyservice.h"

// Keeps every posted record, byte for byte and in order, and sends nothing. Used by
// tests and on machines without a media-key facility. Each record also goes to the
// record channel as one "media" record, so that the process that loaded the library can
// see what was sent.
class RecordingMediaKeyService final : public MediaKeyService
{
public:
    QString name() const override;
    void post(const AuxKeyRecordSequence& records) override;

    const AuxKeyRecordSequence& records() const { return m_records; }
    void clear() { m_records.clear(); }

private:
    AuxKeyRecordSequence m_records;
};
