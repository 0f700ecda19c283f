#include "x11keyboardservice.h"

#include "platform/platformlog.h"
#include "x11keytable.h"

#include <algorithm>

namespace {

// Keys this sequence pressed, in pressing order; modifiers are tracked apart so a
// key-up releases the modifiers that came with its key-down.
struct PressedKeys
{
    QVector<quint8> keys;
    QVector<quint8> modifiers;
};

void releaseAll(XTestInjector& injector, QVector<quint8>& keys)
{
    std::for_each(keys.crbegin(), keys.crend(), [&](quint8 code) { injector.release(code); });
    keys.clear();
}

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

void X11KeyboardService::post(const KeyEventSequence& events)
{
    XTestInjector& x = *m_injector;
    const XTestInjector::KeyMap heldByUser = x.keyMap();
    PressedKeys pressed;

    for (const KeyEvent& event : events) {
        const quint8 code = x.keycodeFor(X11KeyTable::keysymForMacCode(event.code));
        if (!code) {
            qCWarning(lcKeyboard) << "no X key for virtual key code" << event.code << "- skipped";
            continue;
        }
        if (event.down) {
            if (event.setsFlags) {
                for (quint32 keysym : X11KeyTable::modifierKeysyms(event.flags)) {
                    const quint8 mod = x.keycodeFor(keysym);
                    if (mod && !XTestInjector::isDown(heldByUser, mod) && !pressed.modifiers.contains(mod)) {
                        x.press(mod);
                        pressed.modifiers << mod;
                    }
                }
            }
            if (!XTestInjector::isDown(heldByUser, code) && !pressed.keys.contains(code)) {
                x.press(code);
                pressed.keys << code;
            }
        } else if (pressed.keys.removeOne(code)) {
            x.release(code);
            releaseAll(x, pressed.modifiers);
        }
    }
    // A lone key-down is completed by its release: nothing stays down.
    releaseAll(x, pressed.keys);
    releaseAll(x, pressed.modifiers);
    x.sync();
}
