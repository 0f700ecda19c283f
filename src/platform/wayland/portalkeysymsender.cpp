#include "portalkeysymsender.h"

#include "portalsession.h"

#include <QCoreApplication>

std::unique_ptr<PortalKeysymSender> PortalKeysymSender::open()
{
    // The portal's answers come through the event loop.
    if (!QCoreApplication::instance() || !PortalSession::isOffered(QDBusConnection::sessionBus()))
        return nullptr;
    return std::make_unique<PortalKeysymSender>(std::make_unique<PortalSession>(QDBusConnection::sessionBus()));
}

PortalKeysymSender::PortalKeysymSender(std::unique_ptr<PortalSession> session)
    : m_session(std::move(session))
{
}

PortalKeysymSender::~PortalKeysymSender() = default;

QString PortalKeysymSender::name() const
{
    return QString::fromLatin1(kPortal);
}

bool PortalKeysymSender::isAvailable() const
{
    return m_session->state() != PortalSession::State::Refused;
}

void PortalKeysymSender::send(const KeysymSequence& events)
{
    m_session->send(events);
}
