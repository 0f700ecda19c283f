#include "xtestinjector.h"

#include "platform/platformlog.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

std::unique_ptr<XTestInjector> XTestInjector::open()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        qCWarning(lcKeyboard) << "the X server has no XTEST extension";
        XCloseDisplay(display);
        return nullptr;
    }
    // Our own requests must not be held back by another client's grab.
    XTestGrabControl(display, True);
    return std::unique_ptr<XTestInjector>(new XTestInjector(display));
}

XTestInjector::XTestInjector(Display* display)
    : m_display(display)
{
}

XTestInjector::~XTestInjector()
{
    for (auto it = m_bound.cbegin(); it != m_bound.cend(); ++it) {
        KeySym none[2] = {NoSymbol, NoSymbol};
        XChangeKeyboardMapping(m_display, it.value(), 2, none, 1);
    }
    XSync(m_display, False);
    XCloseDisplay(m_display);
}

quint8 XTestInjector::keycodeFor(quint32 keysym)
{
    if (keysym == 0)
        return 0;
    if (const quint8 known = m_codes.value(keysym))
        return known;
    const quint8 code = lookUpKeycode(keysym);
    if (code)
        m_codes.insert(keysym, code);
    return code;
}

quint8 XTestInjector::lookUpKeycode(quint32 keysym)
{
    // Only a key that gives the keysym without further modifiers will do: keypad
    // digits, for one, sit on the NumLock level of their keys.
    if (const KeyCode code = XKeysymToKeycode(m_display, keysym)) {
        int perCode = 0;
        KeySym* syms = XGetKeyboardMapping(m_display, code, 1, &perCode);
        const bool baseLevel = syms && perCode > 0 && syms[0] == keysym;
        if (syms)
            XFree(syms);
        if (baseLevel)
            return code;
    }
    return bindSpareKeycode(keysym);
}

quint8 XTestInjector::bindSpareKeycode(quint32 keysym)
{
    int minCode = 0, maxCode = 0;
    XDisplayKeycodes(m_display, &minCode, &maxCode);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(m_display, KeyCode(minCode), maxCode - minCode + 1, &perCode);
    if (!map)
        return 0;
    quint8 spare = 0;
    // Search from the top: low keycodes belong to real keys more often.
    for (int code = maxCode; code >= minCode && !spare; --code) {
        const KeySym* syms = map + (code - minCode) * perCode;
        bool empty = true;
        for (int i = 0; i < perCode && empty; ++i)
            empty = syms[i] == NoSymbol;
        if (empty)
            spare = quint8(code);
    }
    XFree(map);
    if (!spare) {
        qCWarning(lcKeyboard) << "no spare keycode to bind keysym" << Qt::hex << keysym;
        return 0;
    }
    KeySym syms[2] = {keysym, keysym};
    XChangeKeyboardMapping(m_display, spare, 2, syms, 1);
    XSync(m_display, False);
    m_bound.insert(keysym, spare);
    return spare;
}

void XTestInjector::press(quint8 keycode)
{
    XTestFakeKeyEvent(m_display, keycode, True, CurrentTime);
}

void XTestInjector::release(quint8 keycode)
{
    XTestFakeKeyEvent(m_display, keycode, False, CurrentTime);
}

XTestInjector::KeyMap XTestInjector::keyMap() const
{
    KeyMap map{};
    XQueryKeymap(m_display, map.data());
    return map;
}

bool XTestInjector::isDown(const KeyMap& map, quint8 keycode)
{
    return (map[keycode / 8] >> (keycode % 8)) & 1;
}

void XTestInjector::sync()
{
    XSync(m_display, False);
}
