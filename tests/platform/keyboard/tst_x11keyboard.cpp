// The X11 backend against a real window of this test on the running X server.
#include "platform/keyboard/x11/x11keyboardservice.h"
#include "platform/keyboard/x11/xtestinjector.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {
KeyEventSequence tap(quint16 code, quint64 flags = 0)
{
    KeyEvent down = KeyEvent::press(code);
    if (flags)
        down = down.withFlags(flags);
    return {down, KeyEvent::release(code)};
}
}

class tst_X11Keyboard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void typing_data();
    void typing();
    void userModifierIsKept();
    void cleanupTestCase();

private:
    bool anyKeyDown() const;

    std::unique_ptr<X11KeyboardService> m_service;
    std::unique_ptr<XTestInjector> m_probe;
    QLineEdit* m_edit = nullptr;
};

void tst_X11Keyboard::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server");
    m_service = X11KeyboardService::open();
    m_probe = XTestInjector::open();
    QVERIFY(m_service && m_probe);
    m_edit = new QLineEdit;
    m_edit->setWindowTitle("keyboard target");
    m_edit->resize(400, 40);
    m_edit->show();
    m_edit->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_edit));
    m_edit->setFocus();
}

void tst_X11Keyboard::init()
{
    if (m_edit)
        m_edit->clear();
}

bool tst_X11Keyboard::anyKeyDown() const
{
    const auto map = m_probe->keyMap();
    return std::any_of(map.begin(), map.end(), [](char byte) { return byte != 0; });
}

void tst_X11Keyboard::typing_data()
{
    QTest::addColumn<KeyEventSequence>("events");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("text");

    QTest::newRow("letters") << (tap(0x04) + tap(0x22) + tap(0x31) + tap(0x11)) << "" << "hi t";
    QTest::newRow("digits and punctuation") << (tap(0x12) + tap(0x2F) + tap(0x1D) + tap(0x1B)) << "" << "1.0-";
    QTest::newRow("shift") << (tap(0x00, KeyEvent::ShiftFlag) + tap(0x00)) << "" << "Aa";
    QTest::newRow("command+v pastes") << tap(0x09, KeyEvent::CommandFlag) << "pasted text" << "pasted text";
    QTest::newRow("keypad digits") << (tap(0x53) + tap(0x5C)) << "" << "19";
    QTest::newRow("lone key-down is completed") << KeyEventSequence{KeyEvent::press(0x0E)} << "" << "e";
    QTest::newRow("lone chord key-down")
        << KeyEventSequence{KeyEvent::press(0x09).withFlags(KeyEvent::CommandFlag)} << "again" << "again";
    QTest::newRow("unknown code skipped") << (tap(0x0A) + tap(0x05)) << "" << "g";
    QTest::newRow("chord failing half way")
        << KeyEventSequence{KeyEvent::press(0x00).withFlags(KeyEvent::ShiftFlag),
                            KeyEvent::press(0x0A).withFlags(KeyEvent::CommandFlag), KeyEvent::release(0x00)}
        << "" << "A";
    QTest::newRow("lone key-down with all modifiers")
        << KeyEventSequence{KeyEvent::press(0x0E).withFlags(KeyEvent::AllModifierFlags)} << "" << "";
}

void tst_X11Keyboard::typing()
{
    QFETCH(KeyEventSequence, events);
    QFETCH(QString, clipboard);
    QFETCH(QString, text);
    if (!clipboard.isEmpty())
        QGuiApplication::clipboard()->setText(clipboard);
    if (std::any_of(events.cbegin(), events.cend(), [](const KeyEvent& e) { return e.code == 0x0A; }))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no X key for virtual key code 10"));
    m_service->post(events);
    QTRY_COMPARE(m_edit->text(), text);
    QVERIFY(!anyKeyDown());
}

// A modifier the user holds stays held: the sequence neither presses nor releases it.
void tst_X11Keyboard::userModifierIsKept()
{
    const quint8 shift = m_probe->keycodeFor(XK_Shift_L);
    m_probe->press(shift);
    m_probe->sync();
    m_service->post(tap(0x03, KeyEvent::ShiftFlag | KeyEvent::CommandFlag) + tap(0x03));
    QVERIFY(XTestInjector::isDown(m_probe->keyMap(), shift));
    m_probe->release(shift);
    m_probe->sync();
    QVERIFY(!anyKeyDown());
    m_service->post(tap(0x02));
    QTRY_COMPARE(m_edit->text().right(1), QStringLiteral("d"));
}

void tst_X11Keyboard::cleanupTestCase()
{
    delete m_edit;
}

QTEST_MAIN(tst_X11Keyboard)
#include "tst_x11keyboard.moc"
