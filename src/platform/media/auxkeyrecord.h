#pragma once

#include "mediaconstants.h"

#include <QByteArray>
#include <QVector>

#include <array>

// The 48-byte auxiliary-key event record that the HID system takes for a media key:
// all zero except the subtype at offset 2 and data1 at offset 4, both in the host's
// byte order, data1 = (key type << 16) | (state << 8) with the repeat bit clear.
// A value type; backends read the fields or hand the bytes on unchanged.
class AuxKeyRecord
{
public:
    using Bytes = std::array<quint8, AuxKey::kRecordSize>;

    static AuxKeyRecord keyDown(quint8 keyType);
    static AuxKeyRecord keyUp(quint8 keyType);

    quint16 subtype() const;
    quint32 data1() const;
    quint8 keyType() const;
    quint8 state() const;
    bool isMediaKey() const { return subtype() == AuxKey::kSubtypeAuxControlButtons; }
    bool isKeyDown() const { return isMediaKey() && state() == AuxKey::kStateDown; }
    bool isKeyUp() const { return isMediaKey() && state() == AuxKey::kStateUp; }

    const Bytes& bytes() const { return m_bytes; }
    QByteArray toByteArray() const;

    bool operator==(const AuxKeyRecord& other) const { return m_bytes == other.m_bytes; }
    bool operator!=(const AuxKeyRecord& other) const { return !(*this == other); }

private:
    AuxKeyRecord() = default;
    static AuxKeyRecord make(quint8 keyType, quint8 state);

    Bytes m_bytes{};
};

using AuxKeyRecordSequence = QVector<AuxKeyRecord>;

// One press of a media key: its key-down record, then at once its key-up record.
AuxKeyRecordSequence auxKeyPress(quint8 keyType);
