#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

#include <memory>

class PortalSession;

// One key change of a sequence, by keysym: what a Wayland session lets us send.
struct KeysymEvent
{
    quint32 keysym = 0;
    bool down = true;
    bool operator==(const KeysymEvent& other) const { return keysym == other.keysym && down == other.down; }
};
using KeysymSequence = QVector<KeysymEvent>;

// Sends keysym sequences to the focused client of a Wayland session. One process-wide
// sender, shared by the keyboard and media-key services (and its portal session by the
// clipboard), chosen at first use: SYSTEMDLL_KEYBOARD_BACKEND=wayland|portal forces one,
// otherwise the virtual keyboard where the compositor offers it, else the RemoteDesktop
// portal, else none. A sequence comes balanced (every key-down has its key-up); the
// sender sends it whole and in order. GUI thread only.
class KeysymSender
{
public:
    static constexpr char kWayland[] = "wayland";
    static constexpr char kPortal[] = "portal";

    virtual ~KeysymSender() = default;

    // "wayland", "portal", or "none" for the sender that sends nothing.
    virtual QString name() const = 0;
    virtual bool isAvailable() const { return true; }
    virtual void send(const KeysymSequence& events) = 0;
    // The portal session this sender runs on, which the clipboard shares; null for others.
    virtual PortalSession* portalSession() const { return nullptr; }

    static KeysymSender* instance();
    static void setInstance(std::unique_ptr<KeysymSender> sender);
    static std::unique_ptr<KeysymSender> create(const QString& backend);

protected:
    KeysymSender() = default;
    Q_DISABLE_COPY(KeysymSender)
};
