#pragma once

#include "keysymsender.h"

#include <memory>

class PortalSession;

// Sends keysyms through the RemoteDesktop portal's session (GNOME, KDE). The session is
// started at the first keys, asynchronously; see PortalSession.
class PortalKeysymSender final : public KeysymSender
{
public:
    // Null when no portal is on the session bus nor can be started there.
    static std::unique_ptr<PortalKeysymSender> open();
    explicit PortalKeysymSender(std::unique_ptr<PortalSession> session);
    ~PortalKeysymSender() override;

    QString name() const override;
    bool isAvailable() const override;
    void send(const KeysymSequence& events) override;
    PortalSession* portalSession() const override { return m_session.get(); }

private:
    std::unique_ptr<PortalSession> m_session;
};
