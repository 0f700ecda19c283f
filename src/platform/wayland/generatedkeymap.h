#pragma once

#include <QByteArray>
#include <QHash>
#include <QVector>
#include <QtGlobal>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

// An xkb keymap of our own for a virtual keyboard: one key per keysym we send, so
// that a keysym always finds its key whatever layout the user has (Ctrl+Z stays Ctrl+Z).
// It starts with every keysym the keyboard and media-key actions use and grows when a
// sequence needs another. It also follows the modifier state of the keys sent, since
// the compositor takes that state from the client.
class GeneratedKeymap
{
public:
    struct Modifiers
    {
        quint32 depressed = 0;
        quint32 latched = 0;
        quint32 locked = 0;
        quint32 group = 0;
        bool operator==(const Modifiers& o) const
        {
            return depressed == o.depressed && latched == o.latched && locked == o.locked && group == o.group;
        }
    };

    // xkb keycodes 9..255: evdev codes 1..247.
    static constexpr quint32 kFirstKeycode = 9;
    static constexpr quint32 kLastKeycode = 255;
    static constexpr char kName[] = "systemdll";

    explicit GeneratedKeymap(const QVector<quint32>& baseKeysyms);
    ~GeneratedKeymap();

    // Adds the keysyms the keymap lacks; true when it changed and must be sent again.
    // When the keymap is full, it starts again from the base set plus these.
    bool add(const QVector<quint32>& keysyms);
    // The xkb keycode that gives this keysym, 0 when it has none.
    quint32 keycodeFor(quint32 keysym) const { return m_codes.value(keysym); }
    // The keymap in xkb text form, NUL-terminated as the protocol wants it; empty when
    // libxkbcommon could not compile it.
    const QByteArray& text() const { return m_text; }
    // Whether a keymap (as a compositor hands it on) is one of ours: the name of its
    // keycodes section says so.
    static bool isOurs(const QByteArray& keymapText);
    // Feeds a key change to the modifier state; true when the modifiers changed.
    bool update(quint32 keycode, bool down);
    Modifiers modifiers() const { return m_modifiers; }

    GeneratedKeymap(const GeneratedKeymap&) = delete;
    GeneratedKeymap& operator=(const GeneratedKeymap&) = delete;

private:
    void rebuild();
    QByteArray source() const;

    QVector<quint32> m_base;
    QVector<quint32> m_keysyms;     // keycode kFirstKeycode + i gives m_keysyms[i]
    QHash<quint32, quint32> m_codes;
    QByteArray m_text;
    xkb_context* m_context = nullptr;
    xkb_keymap* m_keymap = nullptr;
    xkb_state* m_state = nullptr;
    Modifiers m_modifiers;
    int m_generation = 0;
};
