#pragma once

#include "keysymsender.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QVariantMap>

class QDBusServiceWatcher;

// One RemoteDesktop session of the desktop portal, with the keyboard and, where the
// portal has it, the clipboard: created when first needed and kept for the life of the
// package (the session ends with its bus connection, and every new one asks the user
// again). Where the portal can persist the user's answer, its restore token is kept in
// the package settings, so the next start asks nothing. Every call is asynchronous and
// has a time limit; keys sent while the session starts wait for it (those older than
// kFreshMs by then are dropped, the user having been busy with the question). A refusal
// gives one warning and every later key is skipped; a portal that leaves the bus ends the
// session, and the next key starts a new one once it is back.
class PortalSession final : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Starting, Started, Refused, Failed };
    Q_ENUM(State)

    static constexpr int kCallLimitMs = 5000;
    static constexpr int kConsentLimitMs = 120000;  // the user answers the portal's question
    static constexpr int kFreshMs = 2000;
    static constexpr int kSettleMs = 100;  // after the session's keyboard appeared
    static constexpr char kRestoreTokenKey[] = "portal/remoteDesktopRestoreToken";

    explicit PortalSession(const QDBusConnection& bus, QObject* parent = nullptr);
    ~PortalSession() override;

    // Whether a portal is on the bus or can be started there (asks the bus daemon only).
    static bool isOffered(const QDBusConnection& bus);

    State state() const { return m_state; }
    void start();
    void send(const KeysymSequence& events);

    // The clipboard of the session (org.freedesktop.portal.Clipboard), when the portal
    // granted it with the session.
    bool hasClipboard() const { return m_state == State::Started && m_clipboard; }
    QDBusConnection bus() const { return m_bus; }
    QString handle() const { return m_handle; }

signals:
    void stateChanged(PortalSession::State state);

private slots:
    void onClosed();

private:
    void onCreated(int response, const QVariantMap& results);
    void selectDevices();
    void requestClipboard();
    void startSession();
    void onStarted(int response, const QVariantMap& results);
    void fail(const QString& why);
    void setState(State state);
    void notify(const KeysymSequence& events);
    void dropStale();

    QDBusConnection m_bus;
    QDBusServiceWatcher* m_watcher = nullptr;
    State m_state = State::Idle;
    QString m_handle;
    bool m_clipboard = false;
    struct Waiting
    {
        QElapsedTimer age;
        KeysymSequence events;
    };
    QVector<Waiting> m_waiting;
};
