#pragma once

#include "generatedkeymap.h"
#include "keysymsender.h"

#include <QElapsedTimer>

#include <memory>

struct wl_display;
struct wl_keyboard;
struct wl_registry;
struct wl_seat;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

// Sends keysyms through a virtual keyboard of the compositor (zwp_virtual_keyboard_v1,
// wlroots compositors), on a Wayland connection of its own and with a keymap of its own
// (GeneratedKeymap), so the user's layout does not matter. One keyboard for the life of
// the sender: a headless seat gains its keyboard only when ours appears, and the first
// key after that is lost while clients bind to it, so a new keyboard is primed with a
// modifier tap and, on a seat that had no keyboard before, keys wait until kSettleMs
// after it (once: a desktop with a real keyboard never waits). A compositor may also put its own
// keymap on our keyboard (sway does, when its layout setting changes): we watch the
// seat's keymap and hand ours over again before the next keys when it is not ours.
class VirtualKeyboard final : public KeysymSender
{
public:
    static constexpr int kSettleMs = 300;

    // Null when no Wayland display is reachable or it offers no virtual keyboards.
    static std::unique_ptr<VirtualKeyboard> open();
    ~VirtualKeyboard() override;

    QString name() const override;
    bool isAvailable() const override;
    void send(const KeysymSequence& events) override;

private:
    VirtualKeyboard();
    bool connect();
    bool uploadKeymap();
    void key(quint32 keycode, bool down);
    void exchange();
    bool failed();

    static void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version);
    static void onGlobalRemove(void* data, wl_registry* registry, uint32_t name);
    static void onKeymap(void* data, wl_keyboard* keyboard, uint32_t format, int32_t fd, uint32_t size);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwp_virtual_keyboard_manager_v1* m_manager = nullptr;
    zwp_virtual_keyboard_v1* m_keyboard = nullptr;
    wl_keyboard* m_seatKeyboard = nullptr;  // tells which keymap the seat has
    bool m_keymapIsOurs = true;
    bool m_seatHadKeyboard = false;
    GeneratedKeymap m_keymap;
    QElapsedTimer m_clock;
    bool m_broken = false;
};
