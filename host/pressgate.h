#pragma once

#include <QObject>
#include <QSet>

class FocusKeeper;
class HostSession;

// Every key press the user starts in the host goes through here: the focus first goes
// back to the application the user works in (FocusKeeper), then the key goes down and
// its action is triggered; a key up waits for its key down. Each action step of a
// multi-action key does the same before it runs, however long after the press.
class PressGate : public QObject
{
    Q_OBJECT
public:
    PressGate(HostSession& session, FocusKeeper& focus, QObject* parent = nullptr);
    ~PressGate() override;

    void down(int slot);
    void up(int slot);
    // Key down, then key up.
    void press(int slot);

signals:
    // The key could not be pressed; `why` is the deck's reason.
    void failed(int slot, const QString& why);

private:
    HostSession& m_session;
    FocusKeeper& m_focus;
    QSet<int> m_waiting;   // key down asked for, focus not yet handed back
    QSet<int> m_upAfter;   // key up asked for meanwhile
};
