#include "x11keyboardservice.h"

#include "platform/platformlog.h"
#include "x11keytable.h"

#include <algorithm>

namespace {

// The keys one post holds down. Whatever it pressed is released when the post ends,
// however it ends - keys first, then modifiers, each in reverse pressing order - so
// no key, and above all no modifier, stays down after a sequence. Keys the user
// already holds are neither pressed again nor released.
class HeldKeys
{
public:
    HeldKeys(XTestInjector& injector, const XTestInjector::KeyMap& heldByUser)
        : m_x(injector)
        , m_user(heldByUser)
    {
    }
    ~HeldKeys()
    {
        releaseAll(m_keys);
        releaseAll(m_modifiers);
        m_x.sync();
    }

    void pressModifier(quint8 code) { pressInto(m_modifiers, code); }
    void pressKey(quint8 code) { pressInto(m_keys, code); }
    // A key-up releases the modifiers that came with its key-down.
    void releaseKey(quint8 code)
    {
        if (!m_keys.removeOne(code))
            return;
        m_x.release(code);
        releaseAll(m_modifiers);
    }

private:
    void pressInto(QVector<quint8>& held, quint8 code)
    {
        if (XTestInjector::isDown(m_user, code) || m_keys.contains(code) || m_modifiers.contains(code))
            return;
        m_x.press(code);
        held << code;
    }
    void releaseAll(QVector<quint8>& held)
    {
        std::for_each(held.crbegin(), held.crend(), [this](quint8 code) { m_x.release(code); });
        held.clear();
    }

    XTestInjector& m_x;
    const XTestInjector::KeyMap m_user;
    QVector<quint8> m_keys;
    QVector<quint8> m_modifiers;
    Q_DISABLE_COPY(HeldKeys)
};

} // namespace

std::unique_ptr<X11KeyboardService> X11KeyboardService::open()
{
    auto injector = XTestInjector::open();
    if (!injector)
        return nullptr;
    return std::unique_ptr<X11KeyboardService>(new X11KeyboardService(std::move(injector)));
}

X11KeyboardService::X11KeyboardService(std::unique_ptr<XTestInjector> injector)
    : m_injector(std::move(injector))
{
}

QString X11KeyboardService::name() const
{
    return QStringLiteral("x11");
}

// A key-down goes out whole or not at all: when its key or one of its modifiers has
// no X key, nothing of it is pressed, rather than a different chord.
void X11KeyboardService::post(const KeyEventSequence& events)
{
    XTestInjector& x = *m_injector;
    HeldKeys held(x, x.keyMap());
    for (const KeyEvent& event : events) {
        const quint8 code = x.keycodeFor(X11KeyTable::keysymForMacCode(event.code));
        if (!code) {
            qCWarning(lcKeyboard) << "no X key for virtual key code" << event.code << "- skipped";
            continue;
        }
        if (!event.down) {
            held.releaseKey(code);
            continue;
        }
        QVector<quint8> modifiers;
        const QVector<quint32> modifierKeysyms =
            event.setsFlags ? X11KeyTable::modifierKeysyms(event.flags) : QVector<quint32>();
        for (quint32 keysym : modifierKeysyms)
            modifiers << x.keycodeFor(keysym);
        if (modifiers.contains(0)) {
            qCWarning(lcKeyboard) << "no X key for a modifier of virtual key code" << event.code << "- skipped";
            continue;
        }
        for (quint8 modifier : modifiers)
            held.pressModifier(modifier);
        held.pressKey(code);
    }
}
