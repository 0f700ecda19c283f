#pragma once

#include <QtGlobal>

// The media keys as the actions send them: each posts the key-down record and at once
// the key-up record of one key type through the process-wide MediaKeyService.
void HIDPostAuxKey(quint8 keyType);

void playMedia();      // play/pause
void stopMedia();      // a player's Stop; else the play/pause key, there being no stop key
void nextMedia();
void previousMedia();
void volumeUp();
void volumeDown();
void volumeMute();
