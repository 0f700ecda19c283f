#include "keysymsender.h"

#include "platform/serviceslot.h"
#include "portalkeysymsender.h"
#include "virtualkeyboard.h"
#include "waylandlog.h"

namespace {

// Where neither way exists: every sequence is dropped, with one warning.
class NoKeysymSender final : public KeysymSender
{
public:
    QString name() const override { return QStringLiteral("none"); }
    bool isAvailable() const override { return false; }
    void send(const KeysymSequence&) override
    {
        if (!m_warned)
            qCWarning(lcWayland) << "no way to send keys on this Wayland session: keys are skipped";
        m_warned = true;
    }

private:
    bool m_warned = false;
};

ServiceSlot<KeysymSender> s_current("SYSTEMDLL_KEYBOARD_BACKEND", nullptr);

} // namespace

std::unique_ptr<KeysymSender> KeysymSender::create(const QString& backend)
{
    if (backend != QLatin1String(kPortal)) {
        if (auto keyboard = VirtualKeyboard::open()) {
            qCInfo(lcWayland) << "keys go through the compositor's virtual keyboard";
            return keyboard;
        }
        if (backend == QLatin1String(kWayland)) {
            qCWarning(lcWayland) << "virtual keyboard requested but the compositor offers none";
            return std::make_unique<NoKeysymSender>();
        }
    }
    if (auto portal = PortalKeysymSender::open()) {
        qCInfo(lcWayland) << "keys go through the RemoteDesktop portal"
                          << (backend == QLatin1String(kPortal) ? "(forced)" : "(no virtual keyboard)");
        return portal;
    }
    qCWarning(lcWayland) << "neither a virtual keyboard nor a RemoteDesktop portal: keys are skipped";
    return std::make_unique<NoKeysymSender>();
}

KeysymSender* KeysymSender::instance()
{
    return s_current.instance();
}

void KeysymSender::setInstance(std::unique_ptr<KeysymSender> sender)
{
    s_current.setInstance(std::move(sender));
}
