#include "platform/keyboard/keyboardeventservice.h"
#include "platform/keyboard/record/recordingkeyboardservice.h"
#include "platform/keyboard/x11/x11keytable.h"

#include <QtTest>
#include <X11/Xlib.h>

class tst_KeyboardEvents : public QObject
{
    Q_OBJECT
private slots:
    void keysymForMacCode_data();
    void keysymForMacCode();
    void modifierKeysyms_data();
    void modifierKeysyms();
    void recordingKeepsSequences();
    void backendSelection_data();
    void backendSelection();
};

// Every code the actions post: the key tables of the hotkey action plus H, V and
// keypad Enter. Expected keysyms by name, as X spells them.
void tst_KeyboardEvents::keysymForMacCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("keysym");

    const char* letters = "a\0s\0d\0f\0h\0g\0z\0x\0c\0v";
    for (int code = 0; code <= 9; ++code, letters += 2)
        QTest::addRow("0x%02x %s", code, letters) << code << QString::fromLatin1(letters);
    const QList<QPair<int, const char*>> rows = {
        {0x0B, "b"}, {0x0C, "q"}, {0x0D, "w"}, {0x0E, "e"}, {0x0F, "r"}, {0x10, "y"}, {0x11, "t"},
        {0x1F, "o"}, {0x20, "u"}, {0x22, "i"}, {0x23, "p"}, {0x25, "l"}, {0x26, "j"}, {0x28, "k"},
        {0x2D, "n"}, {0x2E, "m"},
        {0x1D, "0"}, {0x12, "1"}, {0x13, "2"}, {0x14, "3"}, {0x15, "4"}, {0x17, "5"}, {0x16, "6"},
        {0x1A, "7"}, {0x1C, "8"}, {0x19, "9"},
        {0x31, "space"}, {0x2B, "comma"}, {0x1B, "minus"}, {0x2F, "period"}, {0x2C, "slash"},
        {0x29, "semicolon"}, {0x18, "equal"}, {0x21, "bracketleft"}, {0x2A, "backslash"},
        {0x1E, "bracketright"}, {0x27, "apostrophe"}, {0x32, "grave"},
        {0x35, "Escape"}, {0x30, "Tab"}, {0x33, "BackSpace"}, {0x24, "Return"}, {0x75, "Delete"},
        {0x47, "Clear"}, {0x73, "Home"}, {0x77, "End"}, {0x7B, "Left"}, {0x7E, "Up"},
        {0x7C, "Right"}, {0x7D, "Down"}, {0x74, "Prior"}, {0x79, "Next"}, {0x72, "Help"},
        {0x38, "Shift_L"}, {0x37, "Control_L"}, {0x3B, "Super_L"}, {0x3A, "Alt_L"}, {0x39, "Caps_Lock"},
        {0x7A, "F1"}, {0x78, "F2"}, {0x63, "F3"}, {0x76, "F4"}, {0x60, "F5"}, {0x61, "F6"},
        {0x62, "F7"}, {0x64, "F8"}, {0x65, "F9"}, {0x6D, "F10"}, {0x67, "F11"}, {0x6F, "F12"},
        {0x69, "F13"}, {0x6B, "F14"}, {0x71, "F15"}, {0x6A, "F16"}, {0x40, "F17"}, {0x4F, "F18"},
        {0x50, "F19"}, {0x5A, "F20"},
        {0x52, "KP_0"}, {0x53, "KP_1"}, {0x54, "KP_2"}, {0x55, "KP_3"}, {0x56, "KP_4"}, {0x57, "KP_5"},
        {0x58, "KP_6"}, {0x59, "KP_7"}, {0x5B, "KP_8"}, {0x5C, "KP_9"}, {0x4E, "KP_Subtract"},
        {0x43, "KP_Multiply"}, {0x4B, "KP_Divide"}, {0x41, "KP_Decimal"}, {0x51, "KP_Equal"},
        {0x4C, "KP_Enter"}, {0x45, "KP_Add"},
    };
    for (const auto& [code, name] : rows)
        QTest::addRow("0x%02x %s", code, name) << code << QString::fromLatin1(name);
    QTest::newRow("0x0a has no key") << 0x0A << QString();
    QTest::newRow("beyond the table") << 0x1234 << QString();
}

void tst_KeyboardEvents::keysymForMacCode()
{
    QFETCH(int, code);
    QFETCH(QString, keysym);
    const quint32 expected = keysym.isEmpty() ? 0 : quint32(XStringToKeysym(qPrintable(keysym)));
    QVERIFY(keysym.isEmpty() || expected != 0);
    QCOMPARE(X11KeyTable::keysymForMacCode(quint16(code)), expected);
}

void tst_KeyboardEvents::modifierKeysyms_data()
{
    QTest::addColumn<quint64>("flags");
    QTest::addColumn<QStringList>("keysyms");

    QTest::newRow("none") << quint64(0) << QStringList();
    QTest::newRow("command is control") << quint64(KeyEvent::CommandFlag) << QStringList{"Control_L"};
    QTest::newRow("control is super") << quint64(KeyEvent::ControlFlag) << QStringList{"Super_L"};
    QTest::newRow("option is alt") << quint64(KeyEvent::OptionFlag) << QStringList{"Alt_L"};
    QTest::newRow("command+shift") << quint64(KeyEvent::CommandFlag | KeyEvent::ShiftFlag)
                                   << QStringList{"Control_L", "Shift_L"};
    QTest::newRow("all four") << quint64(0x1E0000) << QStringList{"Control_L", "Super_L", "Alt_L", "Shift_L"};
    QTest::newRow("other bits ignored") << quint64(0x800100) << QStringList();
}

void tst_KeyboardEvents::modifierKeysyms()
{
    QFETCH(quint64, flags);
    QFETCH(QStringList, keysyms);
    QVector<quint32> expected;
    for (const QString& name : keysyms)
        expected << quint32(XStringToKeysym(qPrintable(name)));
    QCOMPARE(X11KeyTable::modifierKeysyms(flags), expected);
}

void tst_KeyboardEvents::recordingKeepsSequences()
{
    RecordingKeyboardService recorder;
    const KeyEventSequence chord = {
        KeyEvent::press(MacKeyCode::kH).withFlags(KeyEvent::CommandFlag | KeyEvent::ShiftFlag),
        KeyEvent::release(MacKeyCode::kH),
    };
    const KeyEventSequence lone = {
        KeyEvent::press(0x51, KeyEvent::PrivateState, KeyEvent::SessionEventTap),
    };
    recorder.post(chord);
    recorder.post(lone);
    QCOMPARE(recorder.events(), chord + lone);
    QVERIFY(recorder.events()[0].setsFlags);
    QCOMPARE(recorder.events()[0].flags, quint64(0x120000));
    QVERIFY(!recorder.events()[1].setsFlags);  // the up event keeps its source's flags
    QCOMPARE(recorder.events()[2].tap, KeyEvent::SessionEventTap);
    recorder.clear();
    QVERIFY(recorder.events().isEmpty());
}

void tst_KeyboardEvents::backendSelection_data()
{
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("warnings");

    QTest::newRow("record") << "record" << "" << "record" << 0;
    QTest::newRow("x11 without display") << "x11" << ":4077" << "record" << 1;
    QTest::newRow("default without display") << "" << ":4077" << "record" << 1;
    QTest::newRow("unknown name") << "braille" << ":4077" << "record" << 2;
}

void tst_KeyboardEvents::backendSelection()
{
    QFETCH(QString, requested);
    QFETCH(QString, display);
    QFETCH(QString, expected);
    QFETCH(int, warnings);
    const QByteArray saved = qgetenv("DISPLAY");
    qputenv("DISPLAY", display.toLatin1());
    for (int i = 0; i < warnings; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(".+"));
    auto service = KeyboardEventService::create(requested);
    qputenv("DISPLAY", saved);
    QVERIFY(service);
    QCOMPARE(service->name(), expected);
}

QTEST_GUILESS_MAIN(tst_KeyboardEvents)
#include "tst_keyboardevents.moc"
