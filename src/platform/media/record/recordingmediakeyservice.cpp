#include "recordingmediakeyservice.h"

#include "platform/media/medialog.h"
#include "platform/recordchannel.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString keyName(quint8 keyType)
{
    switch (keyType) {
    case MediaKeyType::kPlay:
        return QStringLiteral("playPause");
    case MediaKeyType::kNext:
        return QStringLiteral("next");
    case MediaKeyType::kPrevious:
        return QStringLiteral("previous");
    case MediaKeyType::kMute:
        return QStringLiteral("mute");
    case MediaKeyType::kSoundUp:
        return QStringLiteral("volumeUp");
    case MediaKeyType::kSoundDown:
        return QStringLiteral("volumeDown");
    default:
        return QStringLiteral("unknown");
    }
}

} // namespace

QString RecordingMediaKeyService::name() const
{
    return QString::fromLatin1(MediaBackend::kRecord);
}

void RecordingMediaKeyService::post(const AuxKeyRecordSequence& records)
{
    for (const AuxKeyRecord& record : records) {
        QJsonObject json{
            {"key", keyName(record.keyType())},
            {"keyType", record.keyType()},
            {"down", record.isKeyDown()},
            {"subtype", record.subtype()},
            {"data1", qint64(record.data1())},
        };
        qCDebug(lcMediaRecord).noquote() << QJsonDocument(json).toJson(QJsonDocument::Compact);
        json.insert("kind", "media");
        RecordChannel::instance().write(json);
    }
    m_records += records;
}
