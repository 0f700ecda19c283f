#include "mprismediakeyservice.h"

#include "platform/media/mediaconstants.h"
#include "platform/media/medialog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

namespace {

// The player method for a media key type, or empty when the key is not a player key.
QString methodFor(quint8 keyType)
{
    switch (keyType) {
    case MediaKeyType::kPlay:
        return QString::fromLatin1(Mpris::kPlayPause);
    case MediaKeyType::kNext:
        return QString::fromLatin1(Mpris::kNext);
    case MediaKeyType::kPrevious:
        return QString::fromLatin1(Mpris::kPrevious);
    default:
        return QString();
    }
}

} // namespace

MprisMediaKeyService::MprisMediaKeyService(const QDBusConnection& bus, std::unique_ptr<MediaKeyService> fallback)
    : m_bus(bus)
    , m_tracker(std::make_unique<MprisPlayerTracker>(bus))
    , m_fallback(std::move(fallback))
{
}

MprisMediaKeyService::~MprisMediaKeyService() = default;

QString MprisMediaKeyService::name() const
{
    return QString::fromLatin1(MediaBackend::kMpris) + QLatin1Char('+') + m_fallback->name();
}

QString MprisMediaKeyService::activePlayer()
{
    return m_tracker->isConnected() ? m_tracker->activePlayer() : QString();
}

void MprisMediaKeyService::post(const AuxKeyRecordSequence& records)
{
    AuxKeyRecordSequence passOn;
    bool routed = false;
    QString player;
    for (const AuxKeyRecord& record : records) {
        const QString method = record.isMediaKey() ? methodFor(record.keyType()) : QString();
        if (!method.isEmpty() && !routed) {
            player = playerForPlayerKeys();
            routed = true;
        }
        if (method.isEmpty() || player.isEmpty())
            passOn << record;
        else if (record.isKeyDown())
            callPlayer(player, method);
        // The key-up of a key the player took has nothing left to do.
    }
    if (!passOn.isEmpty())
        m_fallback->post(passOn);
}

void MprisMediaKeyService::postStop()
{
    const QString player = playerForPlayerKeys();
    if (player.isEmpty())
        m_fallback->postStop();
    else
        callPlayer(player, QString::fromLatin1(Mpris::kStop));
}

QString MprisMediaKeyService::playerForPlayerKeys()
{
    const QString player = activePlayer();
    const Route route = !m_tracker->isConnected() ? Route::NoBus
                        : player.isEmpty()        ? Route::NoPlayer
                                                  : Route::Player;
    // Said once each time the way changes, not at every key.
    if (route != m_lastRoute && route == Route::NoBus)
        qCInfo(lcMedia).noquote() << "no session bus: player keys go to" << m_fallback->name();
    else if (route != m_lastRoute && route == Route::NoPlayer)
        qCInfo(lcMedia).noquote() << "no media player on the session bus: player keys go to" << m_fallback->name();
    m_lastRoute = route;
    return player;
}

void MprisMediaKeyService::callPlayer(const QString& player, const QString& method)
{
    const QDBusMessage call = QDBusMessage::createMethodCall(player, QString::fromLatin1(Mpris::kObjectPath),
                                                             QString::fromLatin1(Mpris::kPlayerInterface), method);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, Mpris::kCallTimeoutMs), m_tracker.get());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [what = player + QLatin1Char(' ') + method](QDBusPendingCallWatcher* self) {
                         if (self->isError())
                             MprisPlayerTracker::logFailedCall(what, self->error());
                         self->deleteLater();
                     });
    qCDebug(lcMedia).noquote() << "[mpris]" << method << "to" << player;
}
