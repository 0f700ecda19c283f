#include "x11mediakeyservice.h"

#include "platform/media/medialog.h"

#include <X11/XF86keysym.h>

#include <algorithm>

std::unique_ptr<X11MediaKeyService> X11MediaKeyService::open()
{
    auto injector = XTestInjector::open();
    if (!injector)
        return nullptr;
    return std::unique_ptr<X11MediaKeyService>(new X11MediaKeyService(std::move(injector)));
}

X11MediaKeyService::X11MediaKeyService(std::unique_ptr<XTestInjector> injector)
    : m_injector(std::move(injector))
{
}

QString X11MediaKeyService::name() const
{
    return QString::fromLatin1(MediaBackend::kX11);
}

quint32 X11MediaKeyService::keysymForKeyType(quint8 keyType)
{
    switch (keyType) {
    case MediaKeyType::kPlay:
        return XF86XK_AudioPlay;
    case MediaKeyType::kNext:
        return XF86XK_AudioNext;
    case MediaKeyType::kPrevious:
        return XF86XK_AudioPrev;
    case MediaKeyType::kMute:
        return XF86XK_AudioMute;
    case MediaKeyType::kSoundUp:
        return XF86XK_AudioRaiseVolume;
    case MediaKeyType::kSoundDown:
        return XF86XK_AudioLowerVolume;
    default:
        return 0;
    }
}

quint8 X11MediaKeyService::keycodeFor(const AuxKeyRecord& record)
{
    if (!record.isKeyDown() && !record.isKeyUp()) {
        qCWarning(lcMedia).nospace() << "not a media-key record (subtype " << record.subtype() << ", data1 0x"
                                     << Qt::hex << record.data1() << ") - skipped";
        return 0;
    }
    const quint8 code = m_injector->keycodeFor(keysymForKeyType(record.keyType()));
    if (!code && record.isKeyDown())  // its key-up needs no second word
        qCWarning(lcMedia) << "no X key for media key type" << record.keyType() << "- skipped";
    return code;
}

void X11MediaKeyService::post(const AuxKeyRecordSequence& records)
{
    XTestInjector& x = *m_injector;
    const XTestInjector::KeyMap heldByUser = x.keyMap();
    QVector<quint8> pressed;

    for (const AuxKeyRecord& record : records) {
        const quint8 code = keycodeFor(record);
        if (!code)
            continue;
        if (record.isKeyDown()) {
            if (!XTestInjector::isDown(heldByUser, code) && !pressed.contains(code)) {
                x.press(code);
                pressed << code;
            }
        } else if (pressed.removeOne(code)) {
            x.release(code);
        }
    }
    // A lone key-down is completed by its release: nothing stays down.
    std::for_each(pressed.crbegin(), pressed.crend(), [&](quint8 code) { x.release(code); });
    x.sync();
}
