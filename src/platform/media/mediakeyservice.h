#pragma once

#include "auxkeyrecord.h"

#include <QString>
#include <memory>

// Delivers auxiliary-key records (media keys) to the system. One process-wide service,
// chosen at first use: SYSTEMDLL_MEDIA_BACKEND=record|x11|mpris forces a backend;
// otherwise macOS posts to the HID system, and elsewhere the player keys go to the
// media player on the session bus while volume and mute (and everything when there
// is no player) go to X11; without a display the records are kept, not sent.
// A sequence is delivered whole and in order; no key is left down after it.
class MediaKeyService
{
public:
    virtual ~MediaKeyService() = default;

    virtual QString name() const = 0;
    virtual void post(const AuxKeyRecordSequence& records) = 0;
    // Stops playback. There being no stop key, a service without a player to call
    // posts the play/pause key.
    virtual void postStop();

    static MediaKeyService* instance();
    // Replaces the process-wide service (tests, hosts with their own choice).
    static void setInstance(std::unique_ptr<MediaKeyService> service);
    // A backend by its name ("record", "x11", "mpris"); empty or unknown: the default.
    static std::unique_ptr<MediaKeyService> create(const QString& backend);

protected:
    MediaKeyService() = default;
    Q_DISABLE_COPY(MediaKeyService)
};
