#include "mprisplayertracker.h"

#include "platform/media/mediaconstants.h"
#include "platform/media/medialog.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <algorithm>

namespace {

const QString kPlayerInterface = QString::fromLatin1(Mpris::kPlayerInterface);
const QString kPlaybackStatus = QString::fromLatin1(Mpris::kPlaybackStatus);

bool isPlayerName(const QString& name)
{
    return name.startsWith(QLatin1String(Mpris::kServicePrefix));
}

// Unique names (":1.42") are handed out in connection order.
quint64 connectionSerial(const QString& owner)
{
    return owner.section(QLatin1Char('.'), -1).toULongLong();
}

QString statusFrom(const QVariant& value)
{
    return value.canConvert<QDBusVariant>() ? value.value<QDBusVariant>().variant().toString() : value.toString();
}

QDBusMessage busCall(const QString& method)
{
    return QDBusMessage::createMethodCall(QString::fromLatin1(Mpris::kBusService), QString::fromLatin1(Mpris::kBusPath),
                                          QString::fromLatin1(Mpris::kBusInterface), method);
}

} // namespace

MprisPlayerTracker::MprisPlayerTracker(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(QString::fromLatin1(Mpris::kBusService), QString::fromLatin1(Mpris::kBusPath),
                  QString::fromLatin1(Mpris::kBusInterface), QStringLiteral("NameOwnerChanged"), this,
                  SLOT(onNameOwnerChanged(QString, QString, QString)));
    m_bus.connect(QString(), QString::fromLatin1(Mpris::kObjectPath),
                  QString::fromLatin1(Mpris::kPropertiesInterface), QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
    scan();
}

MprisPlayerTracker::~MprisPlayerTracker()
{
    if (!m_bus.isConnected())
        return;
    m_bus.disconnect(QString::fromLatin1(Mpris::kBusService), QString::fromLatin1(Mpris::kBusPath),
                     QString::fromLatin1(Mpris::kBusInterface), QStringLiteral("NameOwnerChanged"), this,
                     SLOT(onNameOwnerChanged(QString, QString, QString)));
    m_bus.disconnect(QString(), QString::fromLatin1(Mpris::kObjectPath),
                     QString::fromLatin1(Mpris::kPropertiesInterface), QStringLiteral("PropertiesChanged"), this,
                     SLOT(onPropertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
}

void MprisPlayerTracker::logFailedCall(const QString& what, const QDBusError& error)
{
    if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout)
        qCWarning(lcMedia).noquote() << what << "did not answer within" << Mpris::kCallTimeoutMs << "ms: abandoned";
    else
        qCWarning(lcMedia).noquote() << what << "failed:" << error.name() << error.message();
}

void MprisPlayerTracker::scan()
{
    QVector<QPair<QString, QString>> found;  // name, owner
    for (const QString& name : listPlayerNames()) {
        const QString owner = ownerOf(name);
        if (!owner.isEmpty())
            found.append({name, owner});
    }
    // Players that connected later count as seen later.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return connectionSerial(a.second) < connectionSerial(b.second);
    });
    for (const auto& player : found)
        addPlayer(player.first, player.second);
    qCDebug(lcMedia) << "[mpris] players on the bus:" << players();
}

QStringList MprisPlayerTracker::listPlayerNames()
{
    const QDBusMessage reply = m_bus.call(busCall(QStringLiteral("ListNames")), QDBus::Block, Mpris::kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        logFailedCall(QStringLiteral("the session bus (ListNames)"), QDBusError(reply));
        return {};
    }
    QStringList names = reply.arguments().value(0).toStringList();
    names.erase(std::remove_if(names.begin(), names.end(), [](const QString& n) { return !isPlayerName(n); }),
                names.end());
    return names;
}

QString MprisPlayerTracker::ownerOf(const QString& name)
{
    QDBusMessage call = busCall(QStringLiteral("GetNameOwner"));
    call << name;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, Mpris::kCallTimeoutMs);
    // A player that left between the listing and this call is simply not there.
    return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0).toString() : QString();
}

void MprisPlayerTracker::addPlayer(const QString& name, const QString& owner)
{
    m_players.insert(name, Player{owner, QString(), ++m_clock});
    queryStatus(name);
}

void MprisPlayerTracker::queryStatus(const QString& name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(name, QString::fromLatin1(Mpris::kObjectPath),
                                                       QString::fromLatin1(Mpris::kPropertiesInterface),
                                                       QStringLiteral("Get"));
    call << kPlayerInterface << kPlaybackStatus;
    m_statusQueries.insert(name, m_bus.asyncCall(call, Mpris::kCallTimeoutMs));
}

void MprisPlayerTracker::collectStatusAnswers()
{
    // All queries are under way at once, so together they wait at most one timeout.
    for (auto it = m_statusQueries.begin(); it != m_statusQueries.end(); it = m_statusQueries.erase(it)) {
        QDBusPendingReply<QDBusVariant> reply = it.value();
        reply.waitForFinished();
        auto player = m_players.find(it.key());
        if (player == m_players.end())
            continue;
        if (reply.isError())
            logFailedCall(it.key() + QStringLiteral(" (PlaybackStatus)"), reply.error());
        else
            player->status = reply.value().variant().toString();
    }
}

QString MprisPlayerTracker::activePlayer()
{
    collectStatusAnswers();
    QString best;
    auto rank = [](const Player& p) { return qMakePair(p.status == QLatin1String(Mpris::kPlaying), p.seen); };
    for (auto it = m_players.cbegin(); it != m_players.cend(); ++it) {
        if (best.isEmpty() || rank(it.value()) > rank(m_players.value(best)))
            best = it.key();
    }
    return best;
}

void MprisPlayerTracker::onNameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner)
{
    Q_UNUSED(oldOwner)
    if (!isPlayerName(name))
        return;
    m_statusQueries.remove(name);
    if (newOwner.isEmpty()) {
        m_players.remove(name);
        qCDebug(lcMedia) << "[mpris] player left:" << name;
    } else {
        addPlayer(name, newOwner);
        qCDebug(lcMedia) << "[mpris] player appeared:" << name;
    }
}

void MprisPlayerTracker::onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                             const QStringList& invalidated, const QDBusMessage& message)
{
    if (interface != kPlayerInterface)
        return;
    for (auto it = m_players.begin(); it != m_players.end(); ++it) {
        if (it->owner != message.service())
            continue;
        it->seen = ++m_clock;
        if (changed.contains(kPlaybackStatus)) {
            it->status = statusFrom(changed.value(kPlaybackStatus));
            m_statusQueries.remove(it.key());  // the announcement is newer than any answer due
        } else if (invalidated.contains(kPlaybackStatus)) {
            queryStatus(it.key());
        }
    }
}
