#include "auxkeyrecord.h"

#include <QtEndian>

AuxKeyRecord AuxKeyRecord::make(quint8 keyType, quint8 state)
{
    AuxKeyRecord record;
    const quint32 data1 = (quint32(keyType) << AuxKey::kKeyTypeShift) | (quint32(state) << AuxKey::kStateShift);
    qToUnaligned(AuxKey::kSubtypeAuxControlButtons, record.m_bytes.data() + AuxKey::kSubtypeOffset);
    qToUnaligned(data1, record.m_bytes.data() + AuxKey::kData1Offset);
    return record;
}

AuxKeyRecord AuxKeyRecord::keyDown(quint8 keyType)
{
    return make(keyType, AuxKey::kStateDown);
}

AuxKeyRecord AuxKeyRecord::keyUp(quint8 keyType)
{
    return make(keyType, AuxKey::kStateUp);
}

quint16 AuxKeyRecord::subtype() const
{
    return qFromUnaligned<quint16>(m_bytes.data() + AuxKey::kSubtypeOffset);
}

quint32 AuxKeyRecord::data1() const
{
    return qFromUnaligned<quint32>(m_bytes.data() + AuxKey::kData1Offset);
}

quint8 AuxKeyRecord::keyType() const
{
    return quint8(data1() >> AuxKey::kKeyTypeShift);
}

quint8 AuxKeyRecord::state() const
{
    return quint8(data1() >> AuxKey::kStateShift);
}

QByteArray AuxKeyRecord::toByteArray() const
{
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), int(m_bytes.size()));
}

AuxKeyRecordSequence auxKeyPress(quint8 keyType)
{
    return {AuxKeyRecord::keyDown(keyType), AuxKeyRecord::keyUp(keyType)};
}
