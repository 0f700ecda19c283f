#include "pressgate.h"

#include "focuskeeper.h"
#include "hostsession.h"

#include <QPointer>

PressGate::PressGate(HostSession& session, FocusKeeper& focus, QObject* parent)
    : QObject(parent)
    , m_session(session)
    , m_focus(focus)
{
    m_session.setStepGate([this](std::function<void()> then) { m_focus.handBack(std::move(then)); });
}

PressGate::~PressGate()
{
    m_session.setStepGate({});
}

void PressGate::down(int slot)
{
    if (m_waiting.contains(slot))
        return;
    m_waiting.insert(slot);
    QPointer<PressGate> alive(this);
    m_focus.handBack([this, alive, slot] {
        if (!alive)
            return;
        m_waiting.remove(slot);
        QString error;
        if (!m_session.deck().pressDown(slot, &error)) {
            m_upAfter.remove(slot);
            emit failed(slot, error);
            return;
        }
        if (m_upAfter.remove(slot))
            up(slot);
    });
}

void PressGate::up(int slot)
{
    if (m_waiting.contains(slot)) {
        m_upAfter.insert(slot);
        return;
    }
    QString error;
    if (m_session.deck().isLoaded(slot))
        m_session.deck().release(slot, &error);
}

void PressGate::press(int slot)
{
    down(slot);
    up(slot);
}
