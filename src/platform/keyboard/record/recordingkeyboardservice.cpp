#include "recordingkeyboardservice.h"

#include "platform/platformlog.h"

QString RecordingKeyboardService::name() const
{
    return QStringLiteral("record");
}

void RecordingKeyboardService::post(const KeyEventSequence& events)
{
    for (const KeyEvent& event : events) {
        qCDebug(lcKeyboard).nospace() << "[record] code=" << event.code << " down=" << event.down
                                      << " flags=" << Qt::hex << event.flags << Qt::dec
                                      << " setsFlags=" << event.setsFlags << " source=" << event.source
                                      << " tap=" << event.tap;
    }
    m_events += events;
}
