#include "generatedkeymap.h"

#include "waylandlog.h"

#include <xkbcommon/xkbcommon.h>

#include <cstdlib>

namespace {

// The real modifier a modifier keysym sets, or nullptr for an ordinary key.
const char* modifierOf(quint32 keysym)
{
    switch (keysym) {
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R:
        return "Shift";
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R:
        return "Control";
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R:
    case XKB_KEY_Meta_L:
    case XKB_KEY_Meta_R:
        return "Mod1";
    case XKB_KEY_Super_L:
    case XKB_KEY_Super_R:
        return "Mod4";
    case XKB_KEY_ISO_Level3_Shift:
        return "Mod5";
    default:
        return nullptr;
    }
}

QByteArray keysymName(quint32 keysym)
{
    char name[64] = {};
    if (xkb_keysym_get_name(keysym, name, sizeof name) < 0)
        return QByteArray("NoSymbol");
    return QByteArray(name);
}

} // namespace

GeneratedKeymap::GeneratedKeymap(const QVector<quint32>& baseKeysyms)
    : m_context(xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES))
{
    for (quint32 keysym : baseKeysyms) {
        if (keysym && !m_base.contains(keysym))
            m_base << keysym;
    }
    m_keysyms = m_base.mid(0, int(kLastKeycode - kFirstKeycode + 1));
    rebuild();
}

GeneratedKeymap::~GeneratedKeymap()
{
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

bool GeneratedKeymap::add(const QVector<quint32>& keysyms)
{
    QVector<quint32> missing;
    for (quint32 keysym : keysyms) {
        if (keysym && !m_codes.contains(keysym) && !missing.contains(keysym))
            missing << keysym;
    }
    if (missing.isEmpty())
        return false;
    const int room = int(kLastKeycode - kFirstKeycode + 1);
    if (m_keysyms.size() + missing.size() > room) {
        qCDebug(lcWayland) << "virtual keymap full: starting again from the base keys";
        m_keysyms = m_base;
        for (quint32 keysym : missing) {
            if (!m_keysyms.contains(keysym))
                m_keysyms << keysym;
        }
        m_keysyms.resize(qMin(int(m_keysyms.size()), room));
    } else {
        m_keysyms += missing;
    }
    rebuild();
    return true;
}

// Keys with a letter get its capital on the shift level, so that Shift+A reads "A".
QByteArray GeneratedKeymap::source() const
{
    QByteArray keycodes, symbols;
    QHash<QByteArray, QByteArray> modifierKeys;
    for (int i = 0; i < m_keysyms.size(); ++i) {
        const QByteArray key = "<K" + QByteArray::number(kFirstKeycode + i) + ">";
        const quint32 keysym = m_keysyms[i];
        keycodes += "    " + key + " = " + QByteArray::number(kFirstKeycode + i) + ";\n";
        const quint32 upper = xkb_keysym_to_upper(keysym);
        QByteArray levels = keysymName(keysym);
        if (upper != keysym)
            levels += ", " + keysymName(upper);
        symbols += "    key " + key + " { [ " + levels + " ] };\n";
        if (const char* modifier = modifierOf(keysym))
            modifierKeys[modifier] += (modifierKeys[modifier].isEmpty() ? "" : ", ") + key;
    }
    for (auto it = modifierKeys.cbegin(); it != modifierKeys.cend(); ++it)
        symbols += "    modifier_map " + it.key() + " { " + it.value() + " };\n";
    const QByteArray name = QByteArray(kName) + '-' + QByteArray::number(m_generation);
    return "xkb_keymap {\n"
           "xkb_keycodes \"" + name + "\" {\n    minimum = 8;\n    maximum = 255;\n" + keycodes + "};\n"
           "xkb_types \"" + name + "\" { include \"complete\" };\n"
           "xkb_compatibility \"" + name + "\" { include \"complete\" };\n"
           "xkb_symbols \"" + name + "\" {\n" + symbols + "};\n"
           "};\n";
}

void GeneratedKeymap::rebuild()
{
    ++m_generation;
    m_codes.clear();
    for (int i = 0; i < m_keysyms.size(); ++i)
        m_codes.insert(m_keysyms[i], kFirstKeycode + quint32(i));
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    m_state = nullptr;
    m_keymap = nullptr;
    m_text.clear();
    m_modifiers = {};
    if (!m_context)
        return;
    const QByteArray text = source();
    m_keymap = xkb_keymap_new_from_string(m_context, text.constData(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                          XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!m_keymap) {
        qCWarning(lcWayland) << "libxkbcommon refused our virtual keymap: no keys can be sent";
        m_codes.clear();
        return;
    }
    m_state = xkb_state_new(m_keymap);
    char* normalised = xkb_keymap_get_as_string(m_keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    m_text = QByteArray(normalised ? normalised : "");
    m_text.append('\0');
    free(normalised);
}

bool GeneratedKeymap::isOurs(const QByteArray& keymapText)
{
    return keymapText.contains(QByteArray("xkb_keycodes \"") + kName + '-');
}

bool GeneratedKeymap::update(quint32 keycode, bool down)
{
    if (!m_state)
        return false;
    xkb_state_update_key(m_state, keycode, down ? XKB_KEY_DOWN : XKB_KEY_UP);
    const Modifiers now{xkb_state_serialize_mods(m_state, XKB_STATE_MODS_DEPRESSED),
                        xkb_state_serialize_mods(m_state, XKB_STATE_MODS_LATCHED),
                        xkb_state_serialize_mods(m_state, XKB_STATE_MODS_LOCKED),
                        xkb_state_serialize_layout(m_state, XKB_STATE_LAYOUT_EFFECTIVE)};
    if (now == m_modifiers)
        return false;
    m_modifiers = now;
    return true;
}
