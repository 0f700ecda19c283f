#include "recordingkeyboardservice.h"

#include "platform/platformlog.h"

#include <QJsonDocument>
#include <QJsonObject>

QString RecordingKeyboardService::name() const
{
    return QStringLiteral("record");
}

// Each event is also logged as one compact JSON object, so that a process that loads
// the library (a host, a test) can see what would have been sent.
void RecordingKeyboardService::post(const KeyEventSequence& events)
{
    for (const KeyEvent& event : events) {
        const QJsonObject json{
            {"code", event.code},
            {"down", event.down},
            {"flags", qint64(event.flags)},
            {"setsFlags", event.setsFlags},
            {"source", int(event.source)},
            {"tap", int(event.tap)},
        };
        qCInfo(lcKeyboardRecord).noquote() << QJsonDocument(json).toJson(QJsonDocument::Compact);
    }
    m_events += events;
}
