#pragma once

#include <QHash>
#include <QVector>
#include <QtGlobal>

#include <array>
#include <memory>

struct _XDisplay;

// An own connection to the X server that presses and releases keys through XTEST.
// Keysyms that the keyboard map lacks are bound to a spare keycode for the life of
// the injector and unbound when it goes. The keyboard map is read once and again
// whenever the server reports a change (another layout, a remapped key), so keysyms
// find their keys on any layout; bindings a new map wiped out are made afresh.
// Shared by the keyboard and media-key services.
class XTestInjector
{
public:
    using KeyMap = std::array<char, 32>;

    // Null when no display is reachable or the server lacks XTEST.
    static std::unique_ptr<XTestInjector> open();
    ~XTestInjector();

    // The keycode that produces this keysym, or 0 when none can be had.
    quint8 keycodeFor(quint32 keysym);
    void press(quint8 keycode);
    void release(quint8 keycode);
    KeyMap keyMap() const;
    static bool isDown(const KeyMap& map, quint8 keycode);
    // Hands queued requests to the server and waits until it has processed them.
    void sync();

private:
    explicit XTestInjector(_XDisplay* display, int xkbEventType);
    void takeMappingChanges();
    void readMapping();
    quint32 baseKeysym(int keycode) const;
    quint8 lookUpKeycode(quint32 keysym);
    quint8 bindSpareKeycode(quint32 keysym);

    _XDisplay* m_display = nullptr;
    int m_xkbEventType = -1;          // -1 without the XKB extension
    bool m_mappingRead = false;
    int m_minCode = 0;
    int m_maxCode = -1;
    int m_perCode = 0;
    QVector<quint32> m_symbols;       // the core keyboard map, m_perCode per keycode
    QHash<quint32, quint8> m_codes;   // keysym -> keycode, for the current map
    QHash<quint32, quint8> m_bound;   // keysyms we bound to spare keycodes
    Q_DISABLE_COPY(XTestInjector)
};
