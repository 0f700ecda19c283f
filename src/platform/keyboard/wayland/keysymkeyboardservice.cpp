#include "keysymkeyboardservice.h"

#include "platform/keyboard/x11/x11keytable.h"
#include "platform/platformlog.h"

#include <algorithm>

namespace {

// The keys a sequence holds down, as X11KeyboardService's HeldKeys does with keycodes.
class HeldKeysyms
{
public:
    explicit HeldKeysyms(KeysymSequence& out)
        : m_out(out)
    {
    }

    void pressModifier(quint32 keysym) { pressInto(m_modifiers, keysym); }
    void pressKey(quint32 keysym) { pressInto(m_keys, keysym); }
    void releaseKey(quint32 keysym)
    {
        if (!m_keys.removeOne(keysym))
            return;
        m_out.append({keysym, false});
        releaseAll(m_modifiers);
    }
    void releaseEverything()
    {
        releaseAll(m_keys);
        releaseAll(m_modifiers);
    }

private:
    void pressInto(QVector<quint32>& held, quint32 keysym)
    {
        if (m_keys.contains(keysym) || m_modifiers.contains(keysym))
            return;
        m_out.append({keysym, true});
        held << keysym;
    }
    void releaseAll(QVector<quint32>& held)
    {
        std::for_each(held.crbegin(), held.crend(), [this](quint32 keysym) { m_out.append({keysym, false}); });
        held.clear();
    }

    KeysymSequence& m_out;
    QVector<quint32> m_keys;
    QVector<quint32> m_modifiers;
};

} // namespace

QString KeysymKeyboardService::name() const
{
    return KeysymSender::instance()->name();
}

void KeysymKeyboardService::post(const KeyEventSequence& events)
{
    KeysymSender::instance()->send(translate(events));
}

KeysymSequence KeysymKeyboardService::translate(const KeyEventSequence& events)
{
    KeysymSequence out;
    HeldKeysyms held(out);
    for (const KeyEvent& event : events) {
        const quint32 keysym = X11KeyTable::keysymForMacCode(event.code);
        if (!keysym) {
            qCWarning(lcKeyboard) << "no keysym for virtual key code" << event.code << "- skipped";
            continue;
        }
        if (!event.down) {
            held.releaseKey(keysym);
            continue;
        }
        if (event.setsFlags) {
            for (quint32 modifier : X11KeyTable::modifierKeysyms(event.flags))
                held.pressModifier(modifier);
        }
        held.pressKey(keysym);
    }
    held.releaseEverything();
    return out;
}
