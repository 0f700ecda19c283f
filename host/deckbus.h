#pragma once

#include <QObject>

class HostSession;
class PressGate;

// The running host on the session bus, so that desktop shortcuts and scripts can steer
// the deck: press a key, switch the page or the profile, list the keys. Each call
// answers an empty string when it worked, else why not (ListKeys: a JSON object).
class DeckBus : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.corvane.VantaHost.Deck")
public:
    static constexpr const char* kService = "com.corvane.VantaHost";
    static constexpr const char* kPath = "/Deck";
    static constexpr const char* kInterface = "com.corvane.VantaHost.Deck";

    DeckBus(HostSession& session, PressGate& gate, QObject* parent = nullptr);
    ~DeckBus() override;

    // Takes the service name on the session bus; false (with a log line) when there is
    // no bus or another host has it.
    bool publish();

public slots:
    // `page` -1: the page shown.
    QString Press(int slot, int page);
    QString ShowPage(int page);
    QString SwitchProfile(const QString& name);
    QString ListKeys();

private:
    HostSession& m_session;
    PressGate& m_gate;
    bool m_published = false;
};
