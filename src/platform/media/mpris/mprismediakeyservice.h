#pragma once

#include "mprisplayertracker.h"
#include "platform/media/mediakeyservice.h"

// Sends play/pause, stop, next and previous to the media player on the session bus as
// method calls of its player interface, without waiting for the answer; a call left
// unanswered past the timeout is abandoned with a log line. Volume and mute, which
// the player interface does not cover for the whole system, and every key while
// there is no bus or no player, go to the fallback service, which this one owns.
class MprisMediaKeyService final : public MediaKeyService
{
public:
    MprisMediaKeyService(const QDBusConnection& bus, std::unique_ptr<MediaKeyService> fallback);
    ~MprisMediaKeyService() override;

    QString name() const override;  // "mpris+" and the fallback's name
    void post(const AuxKeyRecordSequence& records) override;
    void postStop() override;

    // What the player keys would go to now; empty for the fallback.
    QString activePlayer();
    QStringList players() const { return m_tracker->players(); }

private:
    enum class Route { Player, NoBus, NoPlayer };

    QString playerForPlayerKeys();
    void callPlayer(const QString& player, const QString& method);

    QDBusConnection m_bus;
    std::unique_ptr<MprisPlayerTracker> m_tracker;  // also parent of the calls under way
    std::unique_ptr<MediaKeyService> m_fallback;
    Route m_lastRoute = Route::Player;
};
