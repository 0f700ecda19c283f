#include "recordingkeyboardservice.h"

#include "platform/platformlog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString RecordingKeyboardService::name() const
{
    return QStringLiteral("record");
}

// Each posted sequence is also logged as one compact JSON array of its events, so that
// a process that loads the library (a host, a test) can see what would have been sent.
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
    qCInfo(lcKeyboardRecord).noquote() << QJsonDocument(sequence).toJson(QJsonDocument::Compact);
    m_events += events;
}
