#include "xtestinjector.h"

#include "platform/platformlog.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>

namespace {

// Asks the server to report keyboard map changes to this connection; the event type
// of those reports, or -1 when the server has no XKB (core MappingNotify then).
int watchKeyboardMaps(Display* display)
{
    int opcode = 0, eventBase = 0, errorBase = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor))
        return -1;
    const unsigned int events = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(display, XkbUseCoreKbd, events, events);
    return eventBase;
}

} // namespace

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
    const int xkbEventType = watchKeyboardMaps(display);
    XSync(display, False);
    return std::unique_ptr<XTestInjector>(new XTestInjector(display, xkbEventType));
}

XTestInjector::XTestInjector(Display* display, int xkbEventType)
    : m_display(display)
    , m_xkbEventType(xkbEventType)
{
}

XTestInjector::~XTestInjector()
{
    // Unbind only what still carries our keysym: a new layout may own the keycode now.
    takeMappingChanges();
    readMapping();
    for (auto it = m_bound.cbegin(); it != m_bound.cend(); ++it) {
        if (baseKeysym(it.value()) != it.key())
            continue;
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
    takeMappingChanges();
    if (const quint8 known = m_codes.value(keysym))
        return known;
    const quint8 code = lookUpKeycode(keysym);
    if (code)
        m_codes.insert(keysym, code);
    return code;
}

// Reads what the server has sent without waiting; a map change drops every answer
// that was worked out on the old map.
void XTestInjector::takeMappingChanges()
{
    bool changed = false;
    while (XEventsQueued(m_display, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            changed = true;
        } else if (m_xkbEventType >= 0 && event.type == m_xkbEventType) {
            changed = true;
        }
    }
    if (!changed)
        return;
    qCDebug(lcKeyboard) << "keyboard map changed: looking keys up again";
    m_mappingRead = false;
    m_codes.clear();
}

void XTestInjector::readMapping()
{
    if (m_mappingRead)
        return;
    m_mappingRead = true;
    m_symbols.clear();
    XDisplayKeycodes(m_display, &m_minCode, &m_maxCode);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(m_display, KeyCode(m_minCode), m_maxCode - m_minCode + 1, &perCode);
    m_perCode = map ? perCode : 0;
    if (map) {
        const int count = (m_maxCode - m_minCode + 1) * perCode;
        m_symbols.reserve(count);
        for (int i = 0; i < count; ++i)
            m_symbols << quint32(map[i]);
        XFree(map);
    }
    // Bindings the new map wiped out are forgotten; the next use binds afresh.
    for (auto it = m_bound.begin(); it != m_bound.end();)
        it = baseKeysym(it.value()) == it.key() ? std::next(it) : m_bound.erase(it);
}

// The keysym a keycode gives without modifiers, 0 for none.
quint32 XTestInjector::baseKeysym(int keycode) const
{
    if (keycode < m_minCode || keycode > m_maxCode || m_perCode == 0)
        return 0;
    return m_symbols.value((keycode - m_minCode) * m_perCode);
}

quint8 XTestInjector::lookUpKeycode(quint32 keysym)
{
    // Only a key that gives the keysym without further modifiers will do: keypad
    // digits, for one, sit on the NumLock level of their keys.
    readMapping();
    for (int code = m_minCode; code <= m_maxCode; ++code) {
        if (baseKeysym(code) == keysym)
            return quint8(code);
    }
    return bindSpareKeycode(keysym);
}

quint8 XTestInjector::bindSpareKeycode(quint32 keysym)
{
    if (m_perCode == 0)
        return 0;
    quint8 spare = 0;
    // Search from the top: low keycodes belong to real keys more often.
    for (int code = m_maxCode; code >= m_minCode && !spare; --code) {
        const auto first = m_symbols.cbegin() + (code - m_minCode) * m_perCode;
        if (std::all_of(first, first + m_perCode, [](quint32 sym) { return sym == NoSymbol; }))
            spare = quint8(code);
    }
    if (!spare) {
        qCWarning(lcKeyboard) << "no spare keycode to bind keysym" << Qt::hex << keysym;
        return 0;
    }
    KeySym syms[2] = {keysym, keysym};
    XChangeKeyboardMapping(m_display, spare, 2, syms, 1);
    XSync(m_display, False);
    // Until the server's report of this change comes back, the copy stays current.
    const int at = (spare - m_minCode) * m_perCode;
    for (int i = 0; i < qMin(2, m_perCode); ++i)
        m_symbols[at + i] = keysym;
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
