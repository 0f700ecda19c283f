#include "recordingmediakeyservice.h"

#include "platform/media/medialog.h"

QString RecordingMediaKeyService::name() const
{
    return QString::fromLatin1(MediaBackend::kRecord);
}

void RecordingMediaKeyService::post(const AuxKeyRecordSequence& records)
{
    for (const AuxKeyRecord& record : records) {
        qCDebug(lcMedia).nospace() << "[record] subtype=" << record.subtype() << " data1=0x" << Qt::hex
                                   << record.data1();
    }
    m_records += records;
}
