#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

class QDBusError;
class QDBusMessage;

// Follows the media players on one bus: which are there, which one plays, and which
// showed the latest sign of life. It lists them once at the start and then lives on
// what they announce (names coming and going, property changes), asking a player for
// its state only when it appears, without waiting for the answer.
class MprisPlayerTracker : public QObject
{
    Q_OBJECT

public:
    explicit MprisPlayerTracker(const QDBusConnection& bus, QObject* parent = nullptr);
    ~MprisPlayerTracker() override;

    bool isConnected() const { return m_bus.isConnected(); }
    QStringList players() const { return m_players.keys(); }
    // The player for the player keys: the one playing, else the most recently seen;
    // empty when there is none. Takes in the state answers still due first, waiting
    // at most one call timeout for all of them together.
    QString activePlayer();

    // One log line for a call that failed or got no answer in time.
    static void logFailedCall(const QString& what, const QDBusError& error);

private slots:
    void onNameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList& invalidated, const QDBusMessage& message);

private:
    struct Player
    {
        QString owner;   // unique connection name: the sender of its signals
        QString status;  // last known playback status, empty while unknown
        quint64 seen = 0;
    };

    void scan();
    QStringList listPlayerNames();
    QString ownerOf(const QString& name);
    void addPlayer(const QString& name, const QString& owner);
    void queryStatus(const QString& name);
    void collectStatusAnswers();

    QDBusConnection m_bus;
    QHash<QString, Player> m_players;  // by well-known name
    QHash<QString, QDBusPendingCall> m_statusQueries;
    quint64 m_clock = 0;  // orders the signs of life
};
