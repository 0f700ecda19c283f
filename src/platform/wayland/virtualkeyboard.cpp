#include "virtualkeyboard.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "waylandlog.h"

#include <QThread>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr quint32 kKeymapFormatXkbV1 = 1;  // wl_keyboard.keymap_format.xkb_v1
constexpr int kFlushWaitMs = 100;           // for room in a full socket buffer

// What a keyboard has: printable ASCII (lower case letters: capitals are their shift
// level), modifiers, editing and navigation keys, the keypad, function and media keys.
// Other keysyms join the keymap when a sequence needs them.
QVector<quint32> baseKeysyms()
{
    QVector<quint32> keysyms;
    for (quint32 c = XKB_KEY_space; c <= XKB_KEY_asciitilde; ++c) {
        if (c < XKB_KEY_A || c > XKB_KEY_Z)
            keysyms << c;
    }
    for (quint32 f = XKB_KEY_F1; f <= XKB_KEY_F20; ++f)
        keysyms << f;
    for (quint32 k = XKB_KEY_KP_0; k <= XKB_KEY_KP_9; ++k)
        keysyms << k;
    keysyms << XKB_KEY_Shift_L << XKB_KEY_Shift_R << XKB_KEY_Control_L << XKB_KEY_Control_R << XKB_KEY_Alt_L
            << XKB_KEY_Alt_R << XKB_KEY_Super_L << XKB_KEY_Super_R << XKB_KEY_Caps_Lock << XKB_KEY_Return
            << XKB_KEY_Tab << XKB_KEY_BackSpace << XKB_KEY_Escape << XKB_KEY_Delete << XKB_KEY_Insert
            << XKB_KEY_Home << XKB_KEY_End << XKB_KEY_Prior << XKB_KEY_Next << XKB_KEY_Left << XKB_KEY_Up
            << XKB_KEY_Right << XKB_KEY_Down << XKB_KEY_Help << XKB_KEY_Clear << XKB_KEY_KP_Enter
            << XKB_KEY_KP_Decimal << XKB_KEY_KP_Multiply << XKB_KEY_KP_Add << XKB_KEY_KP_Subtract
            << XKB_KEY_KP_Divide << XKB_KEY_KP_Equal << XKB_KEY_XF86AudioPlay << XKB_KEY_XF86AudioNext
            << XKB_KEY_XF86AudioPrev << XKB_KEY_XF86AudioStop << XKB_KEY_XF86AudioMute
            << XKB_KEY_XF86AudioRaiseVolume << XKB_KEY_XF86AudioLowerVolume;
    return keysyms;
}

} // namespace

std::unique_ptr<VirtualKeyboard> VirtualKeyboard::open()
{
    std::unique_ptr<VirtualKeyboard> keyboard(new VirtualKeyboard());
    if (!keyboard->connect())
        return nullptr;
    return keyboard;
}

VirtualKeyboard::VirtualKeyboard()
    : m_keymap(baseKeysyms())
{
    m_clock.start();
}

VirtualKeyboard::~VirtualKeyboard()
{
    // The compositor must have handled our last keys before the keyboard goes: sway drops
    // keys of a keyboard that is removed right after them.
    if (m_display && m_keyboard && !m_broken)
        wl_display_roundtrip(m_display);
    if (m_seatKeyboard)
        wl_keyboard_destroy(m_seatKeyboard);
    if (m_keyboard)
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
    if (m_manager)
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(m_manager));
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_display) {
        wl_display_flush(m_display);
        wl_display_disconnect(m_display);
    }
}

void VirtualKeyboard::onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto* self = static_cast<VirtualKeyboard*>(data);
    if (!self->m_seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        self->m_seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (!self->m_manager && std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        self->m_manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    }
}

void VirtualKeyboard::onGlobalRemove(void*, wl_registry*, uint32_t)
{
}

void VirtualKeyboard::onKeymap(void* data, wl_keyboard*, uint32_t, int32_t fd, uint32_t size)
{
    auto* self = static_cast<VirtualKeyboard*>(data);
    void* map = size ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
    if (map != MAP_FAILED) {
        const bool ours = GeneratedKeymap::isOurs(QByteArray::fromRawData(static_cast<const char*>(map), int(size)));
        if (!ours && self->m_keymapIsOurs)
            qCDebug(lcWayland) << "the compositor put another keymap on the seat: ours goes again with the next keys";
        self->m_keymapIsOurs = ours;
        munmap(map, size);
    }
    close(fd);
}

// Our own connection: the application may run on X11 (XWayland) or on another display.
bool VirtualKeyboard::connect()
{
    m_display = wl_display_connect(nullptr);
    if (!m_display)
        return false;
    static const wl_registry_listener listener = {&VirtualKeyboard::onGlobal, &VirtualKeyboard::onGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &listener, this);
    if (wl_display_roundtrip(m_display) < 0 || !m_seat || !m_manager) {
        qCDebug(lcWayland) << "the compositor offers no virtual keyboard";
        return false;
    }
    static const wl_seat_listener seatListener = {
        [](void* data, wl_seat*, uint32_t capabilities) {
            auto* self = static_cast<VirtualKeyboard*>(data);
            if (!self->m_keyboard)  // what the seat had before ours
                self->m_seatHadKeyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
        },
        [](void*, wl_seat*, const char*) {},
    };
    wl_seat_add_listener(m_seat, &seatListener, this);
    wl_display_roundtrip(m_display);
    m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_manager, m_seat);
    if (!uploadKeymap() || wl_display_roundtrip(m_display) < 0) {
        qCWarning(lcWayland) << "the compositor refused our virtual keyboard:" << std::strerror(wl_display_get_error(m_display));
        return false;
    }
    static const wl_keyboard_listener keyboardListener = {
        &VirtualKeyboard::onKeymap,
        [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
        [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
        [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t) {},
        [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {},
        [](void*, wl_keyboard*, int32_t, int32_t) {},
    };
    m_seatKeyboard = wl_seat_get_keyboard(m_seat);
    wl_keyboard_add_listener(m_seatKeyboard, &keyboardListener, this);
    // The priming tap: lost or not, it makes clients bind the seat's new keyboard.
    const quint32 shift = m_keymap.keycodeFor(XKB_KEY_Shift_L);
    key(shift, true);
    key(shift, false);
    wl_display_flush(m_display);
    m_clock.restart();
    return true;
}

bool VirtualKeyboard::uploadKeymap()
{
    const QByteArray& text = m_keymap.text();
    if (text.isEmpty())
        return false;
    const int fd = memfd_create("systemdll-keymap", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = ftruncate(fd, text.size()) == 0;
    for (qsizetype done = 0; written && done < text.size();) {
        const ssize_t n = write(fd, text.constData() + done, size_t(text.size() - done));
        written = n > 0;
        done += qMax<ssize_t>(n, 0);
    }
    if (written) {
        zwp_virtual_keyboard_v1_keymap(m_keyboard, kKeymapFormatXkbV1, fd, quint32(text.size()));
        m_keymapIsOurs = true;
    }
    close(fd);  // the request carries its own copy
    return written;
}

QString VirtualKeyboard::name() const
{
    return QString::fromLatin1(kWayland);
}

bool VirtualKeyboard::isAvailable() const
{
    return !m_broken;
}

void VirtualKeyboard::key(quint32 keycode, bool down)
{
    zwp_virtual_keyboard_v1_key(m_keyboard, quint32(m_clock.elapsed()), keycode - 8, down ? 1 : 0);
    if (m_keymap.update(keycode, down)) {
        const GeneratedKeymap::Modifiers mods = m_keymap.modifiers();
        zwp_virtual_keyboard_v1_modifiers(m_keyboard, mods.depressed, mods.latched, mods.locked, mods.group);
    }
}

// Hands our requests over and takes whatever the compositor sent, without waiting for
// anything but room in the socket.
void VirtualKeyboard::exchange()
{
    while (wl_display_flush(m_display) < 0 && errno == EAGAIN) {
        pollfd out{wl_display_get_fd(m_display), POLLOUT, 0};
        if (poll(&out, 1, kFlushWaitMs) <= 0)
            break;
    }
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    pollfd in{wl_display_get_fd(m_display), POLLIN, 0};
    if (poll(&in, 1, 0) > 0)
        wl_display_read_events(m_display);
    else
        wl_display_cancel_read(m_display);
    wl_display_dispatch_pending(m_display);
}

bool VirtualKeyboard::failed()
{
    if (m_broken)
        return true;
    if (const int error = wl_display_get_error(m_display)) {
        qCWarning(lcWayland) << "the Wayland connection of the virtual keyboard failed:" << std::strerror(error)
                             << "- keys are skipped";
        m_broken = true;
    }
    return m_broken;
}

void VirtualKeyboard::send(const KeysymSequence& events)
{
    if (failed())
        return;
    const qint64 early = m_seatHadKeyboard ? 0 : kSettleMs - m_clock.elapsed();
    if (early > 0)
        QThread::msleep(quint64(early));  // once, right after the keyboard appeared
    QVector<quint32> keysyms;
    for (const KeysymEvent& event : events)
        keysyms << event.keysym;
    // One round trip: any keymap the compositor has put on our keyboard is known now.
    if (wl_display_roundtrip(m_display) < 0 && failed())
        return;
    const bool replaced = !m_keymapIsOurs;
    if ((m_keymap.add(keysyms) || replaced) && !uploadKeymap()) {
        qCWarning(lcWayland) << "could not hand the compositor our keymap - keys skipped";
        return;
    }
    for (const KeysymEvent& event : events) {
        const quint32 code = m_keymap.keycodeFor(event.keysym);
        if (!code) {
            qCWarning(lcWayland) << "no virtual key for keysym" << Qt::hex << event.keysym << "- skipped";
            continue;
        }
        key(code, event.down);
    }
    exchange();
    failed();
}
