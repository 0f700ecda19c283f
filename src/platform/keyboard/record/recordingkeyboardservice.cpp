#include "recordingkeyboardservice.h"

#include "platform/platformlog.h"
#include "platform/recordchannel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString RecordingKeyboardService::name() const
{
    return QStringLiteral("record");
}

// Each posted sequence also goes to the record channel as one "keys" record with the
// array of its events, so that the process that loaded the library can see what would
// have been sent.
void RecordingKeyboardService::post(const KeyEventSequence& events)
{
    QJsonArray sequence;
    for (const KeyEvent& event : events) {
        const QJsonObject json{
            {"code", event.code},
            {"down", event.down},
            {"flags", qint64(event.flags)},
            {"setsFlags", event.setsFlags},
            {"source", int(event.source)},
            {"tap", int(event.tap)},
        };
        sequence.append(json);
    }
    qCDebug(lcKeyboardRecord).noquote() << QJsonDocument(sequence).toJson(QJsonDocument::Compact);
    RecordChannel::instance().write({{"kind", "keys"}, {"events", sequence}});
    m_events += events;
}
