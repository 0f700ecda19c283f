#include "mediakeys.h"

#include "mediakeyservice.h"

void HIDPostAuxKey(quint8 keyType)
{
    MediaKeyService::instance()->post(auxKeyPress(keyType));
}

void playMedia()
{
    HIDPostAuxKey(MediaKeyType::kPlay);
}

void stopMedia()
{
    MediaKeyService::instance()->postStop();
}

void nextMedia()
{
    HIDPostAuxKey(MediaKeyType::kNext);
}

void previousMedia()
{
    HIDPostAuxKey(MediaKeyType::kPrevious);
}

void volumeUp()
{
    HIDPostAuxKey(MediaKeyType::kSoundUp);
}

void volumeDown()
{
    HIDPostAuxKey(MediaKeyType::kSoundDown);
}

void volumeMute()
{
    HIDPostAuxKey(MediaKeyType::kMute);
}
