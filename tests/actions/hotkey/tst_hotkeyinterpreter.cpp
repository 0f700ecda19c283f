// The stored hotkey string to the events one trigger posts.
#include "actions/hotkey/hotkeyinterpreter.h"

#include <QtTest>

namespace {
KeyEventSequence hid(quint16 code) { return {KeyEvent::press(code, KeyEvent::HidSystemState)}; }
KeyEventSequence chord(quint16 code, quint64 flags) { return {KeyEvent::press(code, KeyEvent::HidSystemState).withFlags(flags)}; }
}

class tst_HotkeyInterpreter : public QObject
{
    Q_OBJECT
private slots:
    void events_data();
    void events();
};

void tst_HotkeyInterpreter::events_data()
{
    QTest::addColumn<QString>("hotkey");
    QTest::addColumn<KeyEventSequence>("expected");

    QTest::newRow("Ctrl+Shift+A") << "Ctrl+Shift+A" << chord(0x00, 0x120000);
    QTest::newRow("Ctrl+Alt+Delete") << "Ctrl+Alt+Delete" << chord(0x75, 0x180000);
    QTest::newRow("shifted digit is the main 1") << "Shift+1" << chord(0x12, 0x20000);
    QTest::newRow("lone digit is the key-pad 1") << "1" << hid(0x53);
    QTest::newRow("Ctrl+F5") << "Ctrl+F5" << chord(0x60, 0x100000);
    QTest::newRow("Meta is Control") << "Meta+Z" << chord(0x06, 0x40000);
    QTest::newRow("all four") << "Meta+Alt+Shift+Ctrl+X" << chord(0x07, 0x1E0000);
    QTest::newRow("five tokens are all four whatever they say") << "a+b+c+d+X" << chord(0x07, 0x1E0000);
    QTest::newRow("unknown first of two is Control") << "Hyper+A" << chord(0x00, 0x40000);
    QTest::newRow("unknown among three adds nothing") << "Hyper+Shift+A" << chord(0x00, 0x20000);
    QTest::newRow("lone plus is key-pad plus") << "+" << hid(0x45);
    QTest::newRow("lone equals goes private to the session tap")
        << "=" << KeyEventSequence{KeyEvent::press(0x51, KeyEvent::PrivateState, KeyEvent::SessionEventTap)};
    QTest::newRow("equals with Shift is the main key") << "Shift+=" << chord(0x18, 0x20000);
    QTest::newRow("lone Enter is key-pad Enter") << "Enter" << hid(0x4C);
    QTest::newRow("grave with Ctrl is the quote key") << "Ctrl+`" << chord(0x27, 0x100000);
    QTest::newRow("apostrophe passes through") << "Ctrl+'" << chord(0x27, 0x100000);
    QTest::newRow("key-pad clear") << QString(QChar(0xF739)) << hid(0x47);
    QTest::newRow("key-pad form is the key-pad digit") << "Ctrl+5NUMPAD" << chord(0x57, 0x100000);
    QTest::newRow("key-pad form of a non-digit") << "Ctrl+ANUMPAD" << KeyEventSequence();
    QTest::newRow("plus with a modifier sends nothing") << "Ctrl++" << KeyEventSequence();
    QTest::newRow("six tokens") << "Ctrl+Alt+Shift+Meta+Ctrl+A" << KeyEventSequence();
    QTest::newRow("empty") << "" << KeyEventSequence();
}

void tst_HotkeyInterpreter::events()
{
    QFETCH(QString, hotkey);
    QFETCH(KeyEventSequence, expected);
    QCOMPARE(HotkeyInterpreter::events(hotkey), expected);
}

QTEST_GUILESS_MAIN(tst_HotkeyInterpreter)
#include "tst_hotkeyinterpreter.moc"
