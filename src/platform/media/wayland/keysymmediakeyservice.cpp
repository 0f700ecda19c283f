#include "keysymmediakeyservice.h"

#include "platform/media/medialog.h"
#include "platform/media/x11/x11mediakeyservice.h"
#include "platform/wayland/keysymsender.h"

#include <algorithm>

QString KeysymMediaKeyService::name() const
{
    return KeysymSender::instance()->name();
}

void KeysymMediaKeyService::post(const AuxKeyRecordSequence& records)
{
    KeysymSequence events;
    QVector<quint32> pressed;
    for (const AuxKeyRecord& record : records) {
        const quint32 keysym = X11MediaKeyService::keysymForKeyType(record.keyType());
        if (!keysym || (!record.isKeyDown() && !record.isKeyUp())) {
            qCWarning(lcMedia) << "no media key for key type" << record.keyType() << "- skipped";
            continue;
        }
        if (record.isKeyDown() && !pressed.contains(keysym)) {
            events.append({keysym, true});
            pressed << keysym;
        } else if (record.isKeyUp() && pressed.removeOne(keysym)) {
            events.append({keysym, false});
        }
    }
    std::for_each(pressed.crbegin(), pressed.crend(), [&](quint32 keysym) { events.append({keysym, false}); });
    KeysymSender::instance()->send(events);
}
